// Calls per second of the library next to the floor of the same exchange:
//   raw/<server>   the library's GetUserCount request bytes over a new loopback
//                  connection per call with plain sockets
//   curl/fixed     the same with a new libcurl easy handle per call (and,
//                  for comparison, one handle per thread reset between calls)
//   gsoap/fixed    the same GetUserCount through the same generated proxy on
//                  the runtime's own socket transport, a new context per call
//                  and the same time-outs: the stack without this library
//   lib/<server>/… the exports, against an in-process fixed-answer server
//                  ("fixed"), the simulator ("sim") and the simulator over
//                  https with verification ("sim-https")
// Counters: heap_B and allocs per call (the calling thread's).  After the
// benchmarks: RSS over 100,000 calls, a table of the targets from the medians
// of the run (each row over the raw floor and over plain gSOAP of the same
// thread count, measured in the same run, repetitions interleaved) and a
// summary JSON (--summary=<file>).
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "harness.h"
#include "soapAccountSoap12Proxy.h"

extern struct Namespace namespaces[];

// ---- a counting allocator: every malloc of the process goes through here ----
namespace {
thread_local uint64_t tAllocBytes = 0, tAllocCount = 0;
}
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *malloc(size_t n) {
  tAllocBytes += n, ++tAllocCount;
  return __libc_malloc(n);
}
void *calloc(size_t n, size_t size) {
  tAllocBytes += n * size, ++tAllocCount;
  return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n) {
  tAllocBytes += n, ++tAllocCount;
  return __libc_realloc(p, n);
}
}

namespace {

using namespace wstest;
const char kHost[] = "127.0.0.1";
const int kListSizes[] = {10, 1000, 100000};
const int kSeededUsers = 7;  // the simulator's own users besides the generated ones
const int kUnexpected = -1000;  // a call that succeeded with an answer other than the expected one

std::string UserList(int n) {
  std::string items;
  char item[160];
  for (int i = 1; i <= n; ++i)
    items.append(item, std::snprintf(item, sizeof item,
                                     "<User_T><userID>user%05d</userID><password>user%05d</password>"
                                     "<userLevel>USER_NORMAL</userLevel></User_T>", i, i));
  return Response("GetUserList", "<GetUserListResult>" + items + "</GetUserListResult><resultCode>0</resultCode>");
}

// An in-process device with one fixed answer per operation.
struct FixedServer {
  std::map<std::string, std::string> answers;
  std::unique_ptr<LoopbackServer> server;
  explicit FixedServer(std::map<std::string, std::string> a) : answers(std::move(a)) {
    server = std::make_unique<LoopbackServer>([this](int fd, const std::string &request) {
      auto found = answers.find(OperationOf(request));
      WriteAll(fd, found != answers.end() ? found->second : HttpAnswer("", 500));
    }, 2);
  }
  int port() const { return server->port(); }
};

// The library's own request bytes, captured once; the raw and curl clients send them.
std::string gRequest, gRequestBody;

int RawExchange(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && WriteAll(fd, gRequest) &&
            ReadMessage(fd, answer) && answer.compare(0, 12, "HTTP/1.1 200") == 0;
  ::close(fd);
  return ok ? 0 : -1;
}

size_t Keep(char *, size_t size, size_t count, void *data) {
  static_cast<std::string *>(data)->append(size * count, 0);
  return size * count;
}

// A new easy handle per call, or (reuse) one per thread reset between calls;
// either way a new connection per call.
int CurlExchange(int port, bool reuse) {
  static curl_slist *headers = [] {
    curl_slist *h = nullptr;
    for (const char *line : {"Content-Type: text/xml; charset=utf-8", "Connection: close", "Expect:", "Accept:",
                             "User-Agent: gSOAP/2.7"})
      h = curl_slist_append(h, line);
    return curl_slist_append(h, ("SOAPAction: \"" WS_BASE_NAMESPACE "GetUserCount\""));
  }();
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/soap", answer;
  thread_local CURL *kept = curl_easy_init();
  CURL *c = reuse ? kept : curl_easy_init();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, gRequestBody.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(gRequestBody.size()));
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Keep);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
  long status = 0;
  bool ok = curl_easy_perform(c) == CURLE_OK && curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK;
  if (reuse) curl_easy_reset(c);
  else curl_easy_cleanup(c);
  return ok && status == 200 && !answer.empty() ? 0 : -1;
}

// GetUserCount through the generated proxy alone, as an application on plain
// gSOAP would make it.
int PlainGsoapGetUserCount(int port) {
  AccountSoap12Proxy proxy;
  soap_set_namespaces(proxy.soap, namespaces);
  proxy.soap->send_timeout = proxy.soap->recv_timeout = proxy.soap->connect_timeout = 10;
  soap_set_mode(proxy.soap, SOAP_C_UTFSTRING);
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/soap";
  _ns1__GetUserCount request;
  _ns1__GetUserCountResponse answer;
  int status = proxy.GetUserCount(url.c_str(), nullptr, &request, answer);
  return status ? status : (answer.GetUserCountResult == 9 ? 0 : kUnexpected);
}

int GetUserCount(int port, bool https) {
  ConnectionInfo conn = Loopback(port, https);
  IntValueRecord r{};
  return DLL_WebServiceGetUserCount(kHost, nullptr, nullptr, &conn, &r, &conn);
}

int GetUserList(int port, int expected) {
  ConnectionInfo conn = Loopback(port);
  UserListRecord r{0, nullptr, 0};
  int status = DLL_WebServiceGetUserList(kHost, nullptr, nullptr, &conn, &r, &conn);
  WebService_FreeItems(r.items);
  return status ? status : (r.count == expected ? 0 : kUnexpected);
}

int SetSessionConfig(int port) {
  ConnectionInfo conn = Loopback(port);
  SessionConfigRequestRecord request{};
  request.config.maxRTPStreamTime[0] = {1, 0, 0, 0};
  request.config.maxRTPStreamTime[1] = {2, 0, 0, 0};
  request.config.maxRTPStreamTime[2] = {0, 30, 0, 0};
  CallResult r{};
  int status = DLL_WebServiceSetSessionConfig(kHost, nullptr, nullptr, &request, &r, &conn);
  return status ? status : (r.result ? 0 : kUnexpected);
}

// One benchmark: call() once per iteration; a failing call ends it with the status.
void Measure(benchmark::State &state, const int *port, const std::function<int(int)> &call) {
  if (!*port) {
    state.SkipWithError("server not running");
    return;
  }
  uint64_t bytes = tAllocBytes, count = tAllocCount;
  for (auto _ : state) {
    if (int status = call(*port)) {
      std::string text = status == kUnexpected ? "unexpected answer" : WebService_StatusText(status);
      state.SkipWithError(("status " + std::to_string(status) + ": " + text).c_str());
      break;
    }
  }
  double n = static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations());
  if (n > 0) {
    state.counters["heap_B"] = benchmark::Counter((tAllocBytes - bytes) / n, benchmark::Counter::kAvgThreads);
    state.counters["allocs"] = benchmark::Counter((tAllocCount - count) / n, benchmark::Counter::kAvgThreads);
  }
}

void Register(const std::string &name, const int *port, std::function<int(int)> call) {
  benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State &s) { Measure(s, port, call); })
      ->Threads(1)->Threads(2)->UseRealTime();
}

// Keeps every run's rate (the median when repeated) for the table.
struct Collector : benchmark::ConsoleReporter {
  Collector() : ConsoleReporter(::isatty(1) ? OO_ColorTabular : OO_Tabular) {}
  std::map<std::string, double> rate;  // "name/threads:N" -> items per second
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")) continue;
      std::string name = run.run_name.function_name + "/threads:" + std::to_string(run.threads);
      auto found = run.counters.find("items_per_second");
      if (found != run.counters.end()) rate[name] = found->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Get(const std::string &name) const {
    auto found = rate.find(name);
    return found == rate.end() ? 0 : found->second;
  }
};

long CurrentRssKiB() {
  long pages = 0, resident = 0;
  if (FILE *f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Writes a CA and a server certificate for 127.0.0.1 into dir.
bool MakeCertificates(const std::string &dir) {
  std::string d = dir + "/";
  std::string commands =
      "(cd " + d + " && printf 'basicConstraints=CA:FALSE\\nsubjectAltName=IP:127.0.0.1\\n' > ext.cnf"
      " && openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=bench-ca"
      " && openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj /CN=127.0.0.1"
      " && openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 2"
      " -extfile ext.cnf";
  return std::system((commands + ") >/dev/null 2>&1").c_str()) == 0;
}

struct Target {
  std::string what;
  double measured, required;
  bool met;
};

}  // namespace

int main(int argc, char **argv) {
  std::string summaryPath = "webservice_bench_summary.json";
  int rssCalls = 100000;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--summary=", 0) == 0) summaryPath = arg.substr(10);
    else if (arg.rfind("--rss_calls=", 0) == 0) rssCalls = std::atoi(arg.c_str() + 12);
    else argv[kept++] = argv[i];
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // Servers.
  const std::string countAnswer = HttpAnswer(Response("GetUserCount", "<GetUserCountResult>9</GetUserCountResult><resultCode>0</resultCode>"));
  FixedServer fixed({{"GetUserCount", countAnswer},
                     {"SetSessionConfig", HttpAnswer(Response("SetSessionConfig",
                                                            "<SetSessionConfigResult>true</SetSessionConfigResult><resultCode>0</resultCode>"))}});
  std::vector<std::unique_ptr<FixedServer>> listServers;
  for (int n : kListSizes) listServers.push_back(std::make_unique<FixedServer>(std::map<std::string, std::string>{{"GetUserList", HttpAnswer(UserList(n))}}));
  {
    LoopbackServer capture([&](int fd, const std::string &request) {
      gRequest = request;
      WriteAll(fd, countAnswer);
    }, 1);
    GetUserCount(capture.port(), false);
  }
  gRequestBody = gRequest.substr(gRequest.find("\r\n\r\n") + 4);

  char tempDir[] = "/tmp/ws-bench-XXXXXX";
  bool haveCerts = ::mkdtemp(tempDir) && MakeCertificates(tempDir);
  std::string dir = tempDir;
  if (haveCerts && WebService_SetCAFile((dir + "/ca.pem").c_str()) != 0) haveCerts = false;
  std::vector<std::unique_ptr<Simulator>> sims;
  for (int n : kListSizes) sims.push_back(std::make_unique<Simulator>(std::vector<std::string>{"--port", "0", "--no-port81", "--users", std::to_string(n - kSeededUsers)}));
  std::unique_ptr<Simulator> tls;
  if (haveCerts)
    tls = std::make_unique<Simulator>(std::vector<std::string>{"--port", "0", "--no-port81", "--tls-cert", dir + "/server.pem", "--tls-key", dir + "/server.key"});
  static int fixedPort = fixed.port(), simPort = sims[0]->port(), tlsPort = tls ? tls->port() : 0;
  static int listPorts[2][3];
  for (int i = 0; i < 3; ++i) listPorts[0][i] = listServers[i]->port(), listPorts[1][i] = sims[i]->port();

  Register("raw/fixed", &fixedPort, RawExchange);
  Register("gsoap/fixed", &fixedPort, PlainGsoapGetUserCount);
  Register("raw/sim", &simPort, RawExchange);
  Register("curl/fixed", &fixedPort, [](int port) { return CurlExchange(port, false); });
  Register("curl-reused-handle/fixed", &fixedPort, [](int port) { return CurlExchange(port, true); });
  const char *targets[] = {"fixed", "sim"};
  for (int t = 0; t < 2; ++t) {
    std::string prefix = std::string("lib/") + targets[t] + "/";
    Register(prefix + "GetUserCount", t ? &simPort : &fixedPort, [](int port) { return GetUserCount(port, false); });
    for (int i = 0; i < 3; ++i) {
      int n = kListSizes[i];
      Register(prefix + "GetUserList/" + std::to_string(n), &listPorts[t][i], [n](int port) { return GetUserList(port, n); });
    }
    Register(prefix + "SetSessionConfig", t ? &simPort : &fixedPort, SetSessionConfig);
  }
  Register("lib/sim-https/GetUserCount", &tlsPort, [](int port) { return GetUserCount(port, true); });

  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  // RSS over many calls: measured after a warm-up, so only growth counts.
  long rssBefore = 0, rssAfter = 0;
  int failures = 0;
  for (int i = 0; i < rssCalls + 5000; ++i) {
    if (i == 5000 || i == 0) rssBefore = CurrentRssKiB();
    failures += GetUserCount(fixedPort, false) != 0;
  }
  rssAfter = CurrentRssKiB();
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);

  // Targets.
  auto rate = [&](const std::string &name, int threads) { return collector.Get(name + "/threads:" + std::to_string(threads)); };
  double raw1 = rate("raw/fixed", 1), lib1 = rate("lib/fixed/GetUserCount", 1), lib2 = rate("lib/fixed/GetUserCount", 2);
  double gsoap1 = rate("gsoap/fixed", 1), gsoap2 = rate("gsoap/fixed", 2), raw2 = rate("raw/fixed", 2);
  auto perItem = [&](int n) {  // seconds per listed user, the 10-user call's cost taken off
    double t = rate("lib/fixed/GetUserList/" + std::to_string(n), 1), t10 = rate("lib/fixed/GetUserList/10", 1);
    return t > 0 && t10 > 0 ? (1 / t - 1 / t10) / (n - 10) : 0;
  };
  double item1k = perItem(1000), item100k = perItem(100000);
  std::vector<Target> checks = {
      {"lib GetUserCount 1T / raw floor 1T", raw1 ? lib1 / raw1 : 0, 0.8, raw1 && lib1 / raw1 >= 0.8},
      {"lib GetUserCount 1T / plain gSOAP 1T", gsoap1 ? lib1 / gsoap1 : 0, 1.1, gsoap1 && lib1 / gsoap1 >= 1.1},
      {"lib GetUserCount 2T / plain gSOAP 2T", gsoap2 ? lib2 / gsoap2 : 0, 1.1, gsoap2 && lib2 / gsoap2 >= 1.1},
      {"plain gSOAP 1T / raw floor 1T (reference)", raw1 ? gsoap1 / raw1 : 0, 0, true},
      {"lib GetUserCount 2T / raw floor 2T (reference)", raw2 ? lib2 / raw2 : 0, 0, true},
      {"lib GetUserCount 2T / lib 1T", lib1 ? lib2 / lib1 : 0, 1.6, lib1 && lib2 / lib1 >= 1.6},
      {"https (verified) GetUserCount 1T calls/s", rate("lib/sim-https/GetUserCount", 1), 600, rate("lib/sim-https/GetUserCount", 1) >= 600},
      {"list per-item cost 100k / 1k (<=)", item1k ? item100k / item1k : 0, 1.5, item1k > 0 && item100k / item1k <= 1.5},
      {"simulator requests/s, 2 raw clients", rate("raw/sim", 2), 10000, rate("raw/sim", 2) >= 10000},
      {"RSS growth KiB over GetUserCount calls (<=)", double(rssAfter - rssBefore), 1024, failures == 0 && rssAfter - rssBefore <= 1024},
  };

  std::printf("\n%-46s %14s %10s  %s\n", "target", "measured", "required", "");
  for (const Target &c : checks) std::printf("%-46s %14.3f %10.2f  %s\n", c.what.c_str(), c.measured, c.required, c.met ? "met" : "MISSED");
  std::printf("per-item list decoding: %.1f ns at 1,000, %.1f ns at 100,000; RSS %ld -> %ld KiB over %d calls (%d failed); peak RSS %ld KiB\n",
              item1k * 1e9, item100k * 1e9, rssBefore, rssAfter, rssCalls, failures, usage.ru_maxrss);

  if (FILE *f = std::fopen(summaryPath.c_str(), "w")) {
    std::fprintf(f, "{\n  \"rates\": {");
    const char *sep = "";
    for (auto &[name, r] : collector.rate) {
      double floor = rate("raw/fixed", name.back() - '0');
      std::fprintf(f, "%s\n    \"%s\": {\"items_per_second\": %.1f, \"x_raw\": %.4f}", sep, name.c_str(), r, floor ? r / floor : 0);
      sep = ",";
    }
    std::fprintf(f, "\n  },\n  \"per_item_ns\": {\"1000\": %.2f, \"100000\": %.2f},\n  \"rss_kib\": {\"before\": %ld, \"after\": %ld, \"calls\": %d, \"failed\": %d, \"peak\": %ld},\n  \"targets\": [",
                 item1k * 1e9, item100k * 1e9, rssBefore, rssAfter, rssCalls, failures, usage.ru_maxrss);
    sep = "";
    for (const Target &c : checks) std::fprintf(f, "%s\n    {\"target\": \"%s\", \"measured\": %.4f, \"required\": %.4f, \"met\": %s}", sep, c.what.c_str(), c.measured, c.required, c.met ? "true" : "false"), sep = ",";
    std::fprintf(f, "\n  ]\n}\n");
    std::fclose(f);
  }
  std::system(("rm -rf " + dir).c_str());
  benchmark::Shutdown();
  return 0;
}

// A hostile device: answers that are huge, endless, deep, malformed, cut,
// trickled, failed or redirected.  Every call must end with a clear status,
// write nothing outside its record and, when it fails, leave the record alone.
#include <gtest/gtest.h>

#include <malloc.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <climits>
#include <fstream>

#include "harness.h"

namespace {

using namespace wstest;
using Clock = std::chrono::steady_clock;

// Calls fn once against a server running handler, checking the canaries.
template <class Request, class Response>
int Exchange(LoopbackServer::Handler handler,
             int (*fn)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *),
             Guarded<Response> &record) {
  alignas(8) static const unsigned char request[1024] = {};
  LoopbackServer server(std::move(handler), 1);
  ConnectionInfo conn = Loopback(server.port());
  record.Arm();
  int status = fn("127.0.0.1", nullptr, nullptr, reinterpret_cast<const Request *>(request), &record.value, &conn);
  EXPECT_TRUE(record.ZonesIntact()) << "wrote outside the record";
  if (status) {
    EXPECT_TRUE(record.Unchanged()) << "status " << status << " but the record changed";
  }
  return status;
}

LoopbackServer::Handler Send(std::string answer) {
  return [answer](int fd, const std::string &) { WriteAll(fd, answer); };
}

const std::string kCount = Response("GetUserCount", "<GetUserCountResult>7</GetUserCountResult><resultCode>0</resultCode>");

// The answer, then the connection held open until the client closes it.
LoopbackServer::Handler SendAndKeepOpen(std::string answer) {
  return [answer](int fd, const std::string &) {
    WriteAll(fd, answer);
    pollfd closed{fd, POLLIN, 0};
    ::poll(&closed, 1, 15000);
  };
}

int CountStatus(LoopbackServer::Handler handler) {
  Guarded<IntValueRecord> record;
  return Exchange(std::move(handler), DLL_WebServiceGetUserCount, record);
}

// A user list answer of n items, streamed without building it whole.
LoopbackServer::Handler StreamedList(size_t n) {
  return [=](int fd, const std::string &) {
    const std::string item = "<User_T><userLevel>2</userLevel></User_T>";
    std::string whole = Response("GetUserList", "<GetUserListResult>\x01</GetUserListResult><resultCode>0</resultCode>");
    std::string start = whole.substr(0, whole.find('\x01')), end = whole.substr(whole.find('\x01') + 1);
    size_t length = start.size() + n * item.size() + end.size();
    WriteAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n" + start);
    std::string chunk;
    for (int i = 0; i < 4096; ++i) chunk += item;
    for (size_t sent = 0; sent < n; sent += 4096)
      if (!WriteAll(fd, chunk.data(), std::min<size_t>(4096, n - sent) * item.size())) return;
    WriteAll(fd, end);
  };
}

TEST(HostileDevice, AnswerOf100MBIsRefusedAsTooLarge) {
  Guarded<UserListRecord> record;
  record.value = {0, nullptr, 0};
  EXPECT_EQ(Exchange(StreamedList((100u << 20) / 41), DLL_WebServiceGetUserList, record), 20);
}

TEST(HostileDevice, MillionItemListIsRefused) {
  Guarded<UserListRecord> record;
  record.value = {0, nullptr, 0};
  EXPECT_EQ(Exchange(StreamedList(1000000), DLL_WebServiceGetUserList, record), 44);
}

TEST(HostileDevice, DeepUnknownNestingIsSkipped) {
  for (int depth : {10000, 200000}) {
    std::string deep;
    for (int i = 0; i < depth; ++i) deep += "<x>";
    for (int i = 0; i < depth; ++i) deep += "</x>";
    Guarded<IntValueRecord> record;
    int status = Exchange(Send(HttpAnswer(Response("GetUserCount", deep + "<GetUserCountResult>7</GetUserCountResult><resultCode>0</resultCode>"))),
                          DLL_WebServiceGetUserCount, record);
    EXPECT_EQ(status, 0) << depth;  // well-formed: the unknown elements are skipped
    EXPECT_EQ(record.value.value, 7) << depth;
  }
}

TEST(HostileDevice, InvalidUtf8StaysInsideTheField) {
  std::string bad = "\xff\xfe\xc0\x80\xed\xa0\x80" + std::string(300, '\xe9');
  Guarded<UserResponseRecord> record;
  int status = Exchange(Send(HttpAnswer(Response("GetUser", "<GetUserResult><userID>" + bad + "</userID><password>p</password>"
                                                          "<userLevel>USER_ADMIN</userLevel></GetUserResult><resultCode>0</resultCode>"))),
                        DLL_WebServiceGetUser, record);
  if (status == 0) {
    EXPECT_LT(strnlen(record.value.userID, sizeof record.value.userID), sizeof record.value.userID);
    EXPECT_STREQ(record.value.password, "p");
  }
}

TEST(HostileDevice, LyingContentLengthFails) {
  std::string body = kCount;
  auto lie = [&](size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n" + body;
  };
  EXPECT_NE(CountStatus(Send(lie(body.size() + 100))), 0) << "longer than the body";
  EXPECT_NE(CountStatus(Send(lie(body.size() / 2))), 0) << "shorter than the body";
  EXPECT_EQ(CountStatus(Send(lie(body.size()))), 0) << "the truth";
}

TEST(HostileDevice, AnswerFramings) {
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n";
  const size_t half = kCount.size() / 2;
  char sizes[2][20];
  std::snprintf(sizes[0], sizeof sizes[0], "%zx", half);
  std::snprintf(sizes[1], sizeof sizes[1], "%zx", kCount.size() - half);
  const std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n" + sizes[0] + "\r\n" + kCount.substr(0, half) +
                              "\r\n" + sizes[1] + "\r\n" + kCount.substr(half) + "\r\n0\r\n\r\n";
  EXPECT_EQ(CountStatus(Send(chunked)), 0) << "chunked";
  EXPECT_NE(CountStatus(Send(chunked.substr(0, chunked.size() - 5))), 0) << "chunked, cut before the last chunk";
  EXPECT_EQ(CountStatus(Send(head + "Connection: close\r\n\r\n" + kCount)), 0) << "read to the close";
  EXPECT_EQ(CountStatus(Send("HTTP/1.1 100 Continue\r\n\r\n" + HttpAnswer(kCount))), 0) << "after an interim answer";
  const auto start = Clock::now();
  EXPECT_EQ(CountStatus(SendAndKeepOpen(HttpAnswer(kCount))), 0) << "kept open after the answer";
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << "kept open after the answer: ends at its length";
  EXPECT_NE(CountStatus(Send(kCount)), 0) << "no status line";
  EXPECT_NE(CountStatus(Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 7\r\n\r\n")), 0) << "two lengths";
}

// A reset is a failed exchange, before the status line as after it: the
// trace names the reset, never a success.
TEST(HostileDevice, ResetIsAFailedExchange) {
  static int traced;
  WebService_SetTraceCallback([](const WebServiceExchange *e, void *) { traced = e->error; }, nullptr);
  const std::string answer = HttpAnswer(kCount);
  for (size_t sent : {size_t{0}, answer.size() / 2}) {
    traced = 0;
    int status = CountStatus([&](int fd, const std::string &) {
      WriteAll(fd, answer.substr(0, sent));
      linger reset{1, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    });
    EXPECT_EQ(status, 29) << sent << " bytes before the reset";
    EXPECT_EQ(traced, WS_ERROR_CONNECTION_RESET) << sent << " bytes before the reset";
  }
  WebService_SetTraceCallback(nullptr, nullptr);
}

TEST(HostileDevice, FirstOfTwoAnswersInOneReadCounts) {
  auto answer = [](int count) {
    const std::string body = Response("GetUserCount", "<GetUserCountResult>" + std::to_string(count) +
                                                          "</GetUserCountResult><resultCode>0</resultCode>");
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  };
  Guarded<IntValueRecord> record;
  ASSERT_EQ(Exchange(Send(answer(7) + answer(9)), DLL_WebServiceGetUserCount, record), 0);
  EXPECT_EQ(record.value.value, 7);
}

// Writes head, then unit again and again: up to total bytes, for at most
// twelve seconds, or until the client goes.
LoopbackServer::Handler Stream(std::string head, std::string unit, size_t total = SIZE_MAX) {
  return [=](int fd, const std::string &) {
    const Clock::time_point end = Clock::now() + std::chrono::seconds(12);
    if (!WriteAll(fd, head)) return;
    for (size_t sent = 0; sent < total && Clock::now() < end; sent += unit.size())
      if (!WriteAll(fd, unit)) return;
  };
}

// Whatever arrives, a call ends within its own budget: GetMaxChannel has 1 s
// each for connect, send and receive.  The call runs at the lowest priority,
// so that the device always has more waiting than the call has read.
TEST(HostileDevice, EndlessAnswersEndWithinTheBudget) {
  std::string interim;  // sent in large writes, so that there is always more to read
  while (interim.size() < (256u << 10)) interim += "HTTP/1.1 100 Continue\r\nX: y\r\n\r\n";
  LoopbackServer server(Stream("", interim), 1);
  Clock::time_point start = Clock::now();
  int status = 0;
  std::thread([&] {
    ::setpriority(PRIO_PROCESS, 0, 19);  // this thread only
    IntValueRecord value = {-5, -5};
    ConnectionInfo conn = Loopback(server.port());
    status = DLL_WebServiceGetMaxChannel("127.0.0.1", nullptr, nullptr, &value, &value, &conn);
  }).join();
  EXPECT_EQ(status, 29);
  // 3 s, with room for a loaded machine; a call that reads on ends at the
  // device's 12 s.
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(7000));
}

long StatusKiB(const char *field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (!line.compare(0, std::strlen(field), field)) return std::atol(line.c_str() + std::strlen(field));
  return -1;
}

std::string gTracedBody;  // what an application keeping the last exchange holds

struct Measured {
  int status = -100;
  long growthMiB = -1;  // -1: the peak could not be measured
};

// One GetUserCount against handler, in a child process of its own so that
// nothing of the parent's heap hides or adds to it: its status and how far
// its resident memory rose above where it started.
Measured MeasureCount(LoopbackServer::Handler handler, bool traced) {
  LoopbackServer server(std::move(handler), 1);
  int channel[2];
  if (::pipe(channel)) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    ::malloc_trim(0);
    Measured m;
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5" << std::flush;  // the peak starts from here
    const long before = StatusKiB("VmRSS:");
    if (traced)
      WebService_SetTraceCallback([](const WebServiceExchange *e, void *) { gTracedBody.assign(e->answerBody, e->answerBodyLength); }, nullptr);
    IntValueRecord record = {-5, -5};
    ConnectionInfo conn = Loopback(server.port());
    m.status = DLL_WebServiceGetUserCount("127.0.0.1", nullptr, nullptr, &record, &record, &conn);
    if (reset && before > 0) m.growthMiB = (StatusKiB("VmHWM:") - before) >> 10;
    ssize_t written = ::write(channel[1], &m, sizeof m);
    ::_exit(written == sizeof m ? 0 : 1);
  }
  ::close(channel[1]);
  Measured m;
  if (child > 0 && ::read(channel[0], &m, sizeof m) != sizeof m) m = Measured();
  ::close(channel[0]);
  if (child > 0) ::waitpid(child, nullptr, 0);
  return m;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WS_HOSTILE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(WS_HOSTILE_ASAN)
constexpr long kSanitizerMiB = 24;  // the sanitizer's shadow of what the call holds
#else
constexpr long kSanitizerMiB = 0;
#endif

// An answer over the 64 MiB cap is refused as soon as that is known, from
// its Content-Length or as it grows; the call's memory stays near the cap.
TEST(HostileDevice, OverCapAnswersAreRefusedWithinTheirMemory) {
  const size_t kMiB = 1u << 20, kStreamed = 100 * kMiB;
  const std::string mib(kMiB, 'x'), chunk = "100000\r\n" + mib + "\r\n";
  struct Case {
    const char *name;
    LoopbackServer::Handler handler;
    bool traced;
    long boundMiB;
  } cases[] = {
      {"announced one byte over", Stream("HTTP/1.1 200 OK\r\nContent-Length: 67108865\r\n\r\n", mib, kStreamed), false, 16},
      {"announced as a terabyte", Stream("HTTP/1.1 200 OK\r\nContent-Length: 1099511627776\r\n\r\n", mib, kStreamed), true, 16},
      {"read to the close", Stream("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", mib, kStreamed), false, 80},
      {"read to the close, traced", Stream("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", mib, kStreamed), true, 80},
      {"chunked", Stream("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", chunk, kStreamed), false, 80},
  };
  for (Case &c : cases) {
    Measured m = MeasureCount(std::move(c.handler), c.traced);
    EXPECT_EQ(m.status, 20) << c.name;
    if (m.growthMiB < 0) GTEST_SKIP() << "the peak of resident memory cannot be reset here";
    EXPECT_LE(m.growthMiB, c.boundMiB + kSanitizerMiB) << c.name;
  }
}

TEST(HostileDevice, TricklingAnswerEndsWithinTheTimeouts) {
  std::string answer = HttpAnswer(Response("GetMaxChannel", "<GetMaxChannelResult>4</GetMaxChannelResult><resultCode>0</resultCode>"));
  Guarded<IntValueRecord> record;
  Clock::time_point start = Clock::now();
  int status = Exchange([answer](int fd, const std::string &) {
    for (size_t i = 0; i < answer.size() && i < 20; ++i) {
      if (!WriteAll(fd, &answer[i], 1)) return;
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  }, DLL_WebServiceGetMaxChannel, record);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_NE(status, 0);
}

TEST(HostileDevice, Http500) {
  auto fault = [](const char *code) {
    return HttpAnswer(Envelope(std::string("<e:Fault><faultcode>e:") + code + "</faultcode><faultstring>no</faultstring></e:Fault>"), 500);
  };
  EXPECT_EQ(CountStatus(Send(fault("Server"))), 2);
  EXPECT_EQ(CountStatus(Send(fault("Client"))), 1);
  EXPECT_NE(CountStatus(Send(HttpAnswer("", 500))), 0) << "no body";
  EXPECT_NE(CountStatus(Send(HttpAnswer("<html>oops</html>", 500))), 0) << "not SOAP";
}

TEST(HostileDevice, RedirectIsNotFollowed) {
  LoopbackServer elsewhere(Send(HttpAnswer(kCount)), 1);
  std::string location = "Location: http://127.0.0.1:" + std::to_string(elsewhere.port()) + "/soap\r\n";
  EXPECT_NE(CountStatus(Send(HttpAnswer("", 302, location))), 0);
  EXPECT_EQ(elsewhere.connections(), 0);
}

// An envelope whose body holds neither the response element nor a fault.
TEST(HostileDevice, BodyWithoutResponseElementIs3) {
  const char *kEnvelope = "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">";
  for (std::string body : {Envelope(""), std::string(kEnvelope) + "<e:Body/></e:Envelope>",
                           std::string(kEnvelope) + "<e:Header></e:Header><e:Body>  </e:Body></e:Envelope>"}) {
    EXPECT_EQ(CountStatus(Send(HttpAnswer(body))), 3) << body;
    Guarded<UserResponseRecord> user;
    EXPECT_EQ(Exchange(Send(HttpAnswer(body)), DLL_WebServiceGetUser, user), 3) << body;
  }
}

// Host text that is more than a host never reaches the network: no
// credentials from "user:pw@", no other port or path.
TEST(HostileDevice, HostTextThatIsNotAHostIsRefused) {
  LoopbackServer server(Send(HttpAnswer(kCount)), 1);
  const std::string port = std::to_string(server.port());
  const std::string hosts[] = {"alice:pw@127.0.0.1", "127.0.0.1:" + port, "127.0.0.1:" + port + "/x?",
                               "127.0.0.1/x", "127.0.0.1?x", "127.0.0.1#x", "127.0.0.1\\x", "127.0.0.1 x",
                               std::string("127.0.0.1\r\nX: y"), std::string("127.0.0.1\t"), "", "::1", "[::1",
                               "[::1]:" + port, "[::1]x", "[]", "[127.0.0.1@x]"};
  for (const std::string &host : hosts) {
    ConnectionInfo conn = Loopback(server.port());
    IntValueRecord count = {-5, -5};
    EXPECT_EQ(-1, DLL_WebServiceGetUserCount(host.c_str(), "u", "p", &count, &count, &conn)) << host;
    VersionRecord version{};
    EXPECT_EQ(-1, DLL_WebServiceGetVersion(host.c_str(), "u", "p", &count, &version, &conn)) << host;
    EXPECT_EQ(-5, count.value) << host;
  }
  EXPECT_EQ(server.connections(), 0);
  // Names, dotted addresses and bracketed IPv6 literals pass the check.
  ConnectionInfo conn = Loopback(server.port());
  IntValueRecord count = {-5, -5};
  EXPECT_EQ(0, DLL_WebServiceGetUserCount("127.0.0.1", "u", "p", &count, &count, &conn));
  EXPECT_EQ(0, DLL_WebServiceGetUserCount("localhost", "u", "p", &count, &count, &conn));
  EXPECT_NE(-1, DLL_WebServiceGetUserCount("[::1]", "u", "p", &count, &count, &conn));
}

int AlwaysRetry(int, const char *, void *context) {
  ++*static_cast<int *>(context);
  return WS_RESOLVE_RETRY;
}

// A callback that always says retry against a device that always refuses:
// a bounded number of resends, then the last answer (an empty 401 body: -1).
TEST(HostileDevice, RetriesOfOneCallAreBounded) {
  for (int status : {401, 407}) {
    LoopbackServer server(Send(HttpAnswer("", status, "WWW-Authenticate: Basic realm=\"d\"\r\n")), 1);
    int asked = 0;
    WebService_SetResolveCallback(AlwaysRetry, &asked);
    Guarded<IntValueRecord> record;
    ConnectionInfo conn = Loopback(server.port());
    record.Arm();
    Clock::time_point start = Clock::now();
    EXPECT_EQ(-1, DLL_WebServiceGetUserCount("127.0.0.1", "u", "p", &record.value, &record.value, &conn)) << status;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2)) << status;
    EXPECT_EQ(asked, WS_RESOLVE_MAX_RETRIES) << status;
    EXPECT_EQ(server.connections(), WS_RESOLVE_MAX_RETRIES + 1) << status;
    EXPECT_TRUE(record.Unchanged());
    WebService_SetResolveCallback(nullptr, nullptr);
  }
  // Never past the call's own budget: GetMaxChannel has 1 s for each of
  // connect, send and receive; each refusal here takes 1.2 s.
  LoopbackServer slow([](int fd, const std::string &) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    WriteAll(fd, HttpAnswer("", 401));
  }, 4);
  int asked = 0;
  WebService_SetResolveCallback(AlwaysRetry, &asked);
  IntValueRecord value = {-5, -5};
  ConnectionInfo conn = Loopback(slow.port());
  Clock::time_point start = Clock::now();
  EXPECT_NE(0, DLL_WebServiceGetMaxChannel("127.0.0.1", "u", "p", &value, &value, &conn));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3500));
  EXPECT_LE(asked, 2);
  WebService_SetResolveCallback(nullptr, nullptr);
}

}  // namespace

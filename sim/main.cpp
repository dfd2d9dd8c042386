// webservice-sim: a network video device simulated in memory, for the
// library's tests, benchmarks and manual trials.  See usage below.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sim/device_state.h"
#include "sim/result_codes.h"
#include "sim/server.h"
#include "stdsoap2.h"

namespace {

const char kUsage[] =
    "usage: webservice-sim [options]\n"
    "  --bind ADDR            listen address (127.0.0.1)\n"
    "  --port P               /soap port, 0 picks one (8080)\n"
    "  --root-port P          also serve / on port P, 0 picks one\n"
    "  --no-port81            do not serve / on port 81\n"
    "  --only-port81          serve / on port 81 only\n"
    "  --tls-cert F --tls-key F  HTTPS on the /soap port\n"
    "  --user U --password P  require HTTP Basic credentials\n"
    "  --users N              seed N extra users (user00001...)\n"
    "  --fail OP:MODE         MODE: 401 407 stall fault-client fault-server empty\n"
    "  --empty-version-on-soap-path  GetVersion on /soap answers an empty swVersion\n"
    "  --reboot-seconds N     after Reboot, refuse connections for N seconds (2)\n"
    "  --threads N            worker threads, each serving many connections (8)\n"
    "  --verbose              log every exchange to stderr\n"
    "  --devices N            N independent devices on N consecutive /soap ports from --port\n"
    "                         (device n: serial number SIM-00000n); / and port 81 serve the first\n"
    "  --state FILE           load the devices' settings from FILE (JSON) at start, if it exists,\n"
    "                         and save them there on a clean stop (SIGINT, SIGTERM); the file's\n"
    "                         entries of devices past --devices are kept as they are\n";

[[noreturn]] void Usage(const char *problem) {
  if (problem) std::fprintf(stderr, "webservice-sim: %s\n", problem);
  std::fputs(kUsage, problem ? stderr : stdout);
  if (!problem) {
    std::printf("every request: head within %d s, whole request within %d s, at most %zu bytes (%zu KiB of head),\n"
                "a Content-Length, no Content-Encoding but identity; otherwise 408, 413, 431, 411 or 415\n",
                sim::kHeadSeconds, sim::kRequestSeconds, sim::kMaxRequestBytes, sim::kMaxHeadBytes / 1024);
    std::puts("result codes the device answers:");
#define WS_SIM_PRINT_RESULT_CODE(name, value, meaning) std::printf("  %4d  %s\n", value, meaning);
    WS_SIM_RESULT_CODES(WS_SIM_PRINT_RESULT_CODE)
#undef WS_SIM_PRINT_RESULT_CODE
  }
  std::exit(problem ? 2 : 0);
}

int Number(const char *text, int low, int high) {
  char *end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (!*text || *end || value < low || value > high) Usage((std::string("bad number: ") + text).c_str());
  return static_cast<int>(value);
}

sim::FailMode ParseFailMode(const std::string &mode) {
  static const std::pair<const char *, sim::FailMode> kModes[] = {
      {"401", sim::FailMode::kStatus401},         {"407", sim::FailMode::kStatus407},
      {"stall", sim::FailMode::kStall},           {"fault-client", sim::FailMode::kFaultClient},
      {"fault-server", sim::FailMode::kFaultServer}, {"empty", sim::FailMode::kEmpty}};
  for (const auto &entry : kModes)
    if (mode == entry.first) return entry.second;
  Usage(("unknown failure mode: " + mode).c_str());
}

sim::Options Parse(int argc, char **argv) {
  sim::Options options;
  bool userGiven = false, passwordGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char * {
      if (i + 1 >= argc) Usage(("missing value after " + arg).c_str());
      return argv[++i];
    };
    if (arg == "--bind") options.bind = value();
    else if (arg == "--port") options.port = Number(value(), 0, 65535);
    else if (arg == "--root-port") options.rootPort = Number(value(), 0, 65535);
    else if (arg == "--no-port81") options.port81 = false;
    else if (arg == "--only-port81") options.onlyPort81 = true;
    else if (arg == "--tls-cert") options.tlsCert = value();
    else if (arg == "--tls-key") options.tlsKey = value();
    else if (arg == "--user") options.user = value(), userGiven = true;
    else if (arg == "--password") options.password = value(), passwordGiven = true;
    else if (arg == "--users") options.generatedUsers = Number(value(), 0, 99999);
    else if (arg == "--fail") {
      const std::string failure = value();
      const size_t colon = failure.find(':');
      if (colon == std::string::npos || colon == 0) Usage(("bad --fail " + failure).c_str());
      options.failures[failure.substr(0, colon)] = ParseFailMode(failure.substr(colon + 1));
    } else if (arg == "--empty-version-on-soap-path") options.emptyVersionOnSoapPath = true;
    else if (arg == "--reboot-seconds") options.rebootSeconds = Number(value(), 0, 3600);
    else if (arg == "--threads") options.threads = Number(value(), 1, 1024);
    else if (arg == "--verbose") options.verbose = true;
    else if (arg == "--devices") options.devices = Number(value(), 1, 10000);
    else if (arg == "--state") options.stateFile = value();
    else if (arg == "--help" || arg == "-h") Usage(nullptr);
    else Usage(("unknown option " + arg).c_str());
  }
  if (options.tlsCert.empty() != options.tlsKey.empty()) Usage("--tls-cert and --tls-key go together");
  options.requireAuth = userGiven || passwordGiven;
  return options;
}

int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  const char byte = 1;
  if (write(stopPipe[1], &byte, 1) < 0) {
  }
}

}  // namespace

int main(int argc, char **argv) {
  const sim::Options options = Parse(argc, argv);

  // SIGINT and SIGTERM only wake the main thread through a pipe; the workers
  // start with both blocked.
  struct sigaction onStop {};
  onStop.sa_handler = OnStopSignal;  // no SA_RESTART: the read below must see EINTR under sanitizers
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  if (pipe2(stopPipe, O_CLOEXEC) || sigaction(SIGINT, &onStop, nullptr) || sigaction(SIGTERM, &onStop, nullptr)) {
    std::perror("webservice-sim");
    return 1;
  }
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  rlimit files{};
  if (!getrlimit(RLIMIT_NOFILE, &files) && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
  soap_ssl_init();

  std::vector<std::unique_ptr<sim::DeviceState>> fleet;
  std::vector<sim::DeviceState *> devices;
  for (int number = 1; number <= options.devices; ++number) {
    fleet.push_back(std::make_unique<sim::DeviceState>(options.generatedUsers, number));
    devices.push_back(fleet.back().get());
  }
  std::string error;
  sim::StateFile state(options.stateFile);
  if (!options.stateFile.empty() && !state.Load(devices, &error)) {
    std::fprintf(stderr, "webservice-sim: %s: %s\n", options.stateFile.c_str(), error.c_str());
    return 1;
  }
  sim::Server server(options, devices);
  if (!server.Start(&error)) {
    std::fprintf(stderr, "webservice-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("webservice-sim ready port=%d root-port=%d port81=%s tls=%s devices=%d ports=%d-%d\n", server.port(),
              server.rootPort(), server.port81() ? "yes" : "no", server.tls() && !options.onlyPort81 ? "yes" : "no",
              options.devices, server.port(), server.lastPort());
  std::fflush(stdout);

  pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);
  char byte;
  while (read(stopPipe[0], &byte, 1) < 0 && errno == EINTR) {
  }
  server.Stop();
  if (!options.stateFile.empty() && !state.Save(devices, &error)) {
    std::fprintf(stderr, "webservice-sim: cannot save %s: %s\n", options.stateFile.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

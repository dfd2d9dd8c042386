// wsctl fleet: one operation against every device of an inventory, a bounded
// number of calls in flight.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/json_input.h"
#include "tools/session.h"

namespace wsctl {

namespace {

int FleetFail(const std::string &message) {
  std::fprintf(stderr, "wsctl fleet: %s\n", message.c_str());
  return kUsageError;
}

// The fleet's progress: counts shared by the calling threads.
struct Progress {
  std::mutex lock;
  size_t done = 0, failed = 0, total = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  bool terminal = isatty(STDERR_FILENO) != 0;

  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  double Rate() const {
    const double seconds = Seconds();
    return seconds > 0 ? static_cast<double>(done) / seconds : 0;
  }
  // Prints the device's line and, on a terminal, the counts.  Call with lock held.
  void Report(const std::string &line, bool ok) {
    ++done;
    if (!ok) ++failed;
    if (terminal) std::fputs("\r\033[K", stderr);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    if (terminal)
      std::fprintf(stderr, "%zu done, %zu failed, %zu remaining, %.1f devices/s", done, failed, total - done, Rate());
  }
};

}  // namespace

int FleetCommand(int argc, char **argv, const Device &defaults, const char *jsonIn) {
  int parallel = 4, at = 0;
  for (; at < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
    if (std::strcmp(argv[at], "--parallel") || at + 1 >= argc) return FleetFail(std::string("bad option ") + argv[at]);
    parallel = std::atoi(argv[++at]);
    if (parallel < 1 || parallel > 1024) return FleetFail("--parallel takes 1 to 1024");
  }
  if (argc - at < 2) return FleetFail("usage: wsctl [options] fleet [--parallel N] INVENTORY OPERATION [field=value ...]");
  std::ifstream file(argv[at], std::ios::binary);
  if (!file) return FleetFail(std::string("cannot read the inventory ") + argv[at]);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<Device> devices;
  std::string error = ReadInventory(text, defaults, devices);
  if (!error.empty()) return FleetFail(error);
  const Operation *op = FindOperation(argv[at + 1]);
  if (!op) return FleetFail(std::string("unknown operation '") + argv[at + 1] + "'");

  // The request, filled once and read by every call.
  RecordBuffer request(op->request().size);
  nlohmann::json fields = nlohmann::json::object();
  if (jsonIn) {
    std::ifstream file(jsonIn, std::ios::binary);
    const bool standardInput = std::strcmp(jsonIn, "-") == 0;
    error = standardInput || file ? wsjson::Parse(standardInput ? std::cin : file, &fields) : "cannot be read";
    if (!error.empty()) return FleetFail(std::string("--json-in ") + jsonIn + ": " + error);
  }
  error = FromJsonValue(op->request(), request, fields);
  for (int i = at + 2; error.empty() && i < argc; ++i) {
    const char *equals = std::strchr(argv[i], '=');
    if (!equals) return FleetFail(std::string("expected field=value, got '") + argv[i] + "'");
    error = SetField(op->request(), request.data(), std::string(argv[i], equals - argv[i]), equals + 1);
  }
  if (!error.empty()) return FleetFail(std::string(op->name) + ": " + error);
  if (op->request().prepare) op->request().prepare(request.data());

  Progress progress;
  progress.total = devices.size();
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < devices.size();) {
      Device &device = devices[i];
      const Outcome outcome = Call(*op, device, request.data());
      nlohmann::json line = {{"device", device.Name()},
                             {"status", outcome.status},
                             {"statusName", WebService_StatusName(outcome.status)},
                             {"statusText", outcome.ok() ? "ok" : outcome.words}};
      if (outcome.status == 0) line["response"] = outcome.response;
      std::lock_guard<std::mutex> hold(progress.lock);
      progress.Report(wsjson::Print(line) + "\n", outcome.ok());
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < parallel && static_cast<size_t>(i) < devices.size(); ++i) threads.emplace_back(work);
  for (std::thread &thread : threads) thread.join();
  if (progress.terminal) std::fputs("\r\033[K", stderr);
  std::fprintf(stderr, "fleet: %s on %zu devices: %zu ok, %zu failed in %.2f s (%.1f devices/s, %d in flight)\n",
               op->name, progress.total, progress.done - progress.failed, progress.failed, progress.Seconds(),
               progress.Rate(), parallel);
  return progress.failed ? 1 : 0;
}

}  // namespace wsctl

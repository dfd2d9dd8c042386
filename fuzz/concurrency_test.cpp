// Eight threads call eight different exports against one simulator for about
// five seconds; every call must succeed.  Meant to run under ThreadSanitizer
// too (fuzz/tsan.sh).
#include <gtest/gtest.h>

#include <chrono>

#include "harness.h"

namespace {

using namespace wstest;

template <class Request, class Response>
int Call(int (*fn)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *), int port,
         const void *request, Response &response) {
  ConnectionInfo conn = Loopback(port);
  return fn("127.0.0.1", "admin", "admin", static_cast<const Request *>(request), &response, &conn);
}

TEST(Concurrency, EightThreadsEightExports) {
  Simulator sim({"--port", "0", "--no-port81"});
  if (!sim.port()) GTEST_SKIP() << "simulator not available";
  const int port = sim.port();
  ChannelRecord channel{};
  channel.channel = 2;
  StreamRecord stream{};
  stream.channel = 1;
  stream.master = true;
  int32_t limit = 12;
  const std::function<int()> calls[] = {
      [&] { IntValueRecord r{}; return Call(DLL_WebServiceGetUserCount, port, &limit, r); },
      [&] { UserListRecord r{0, nullptr, 0}; int s = Call(DLL_WebServiceGetUserList, port, &limit, r); WebService_FreeItems(r.items); return s ? s : r.count > 0 ? 0 : -100; },
      [&] { SessionConfigResponseRecord r{}; return Call(DLL_WebServiceGetSessionConfig, port, &limit, r); },
      [&] { VideoSourceConfigResponseRecord r{}; return Call(DLL_WebServiceGetVideoSourceConfig, port, &channel, r); },
      [&] { VideoEncoderConfigResponseRecord r{}; return Call(DLL_WebServiceGetVideoEncoderConfig, port, &stream, r); },
      [&] { ChannelListRecord r{}; int s = Call(DLL_WebServiceGetChannelList, port, &limit, r); return s ? s : r.count == 4 ? 0 : -100; },
      [&] { ParameterListRecord r{0, nullptr, 0}; int s = Call(DLL_WebServiceGetDeviceInformation, port, &limit, r); WebService_FreeItems(r.items); return s; },
      [&] { CallResult r{}; int s = Call(DLL_WebServiceSetMaxStreamConnection, port, &limit, r); return s ? s : r.result ? 0 : -100; },
  };
  std::atomic<int> total{0}, failed{0}, lastFailure{0};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::vector<std::thread> threads;
  for (auto &call : calls)
    threads.emplace_back([&] {
      while (std::chrono::steady_clock::now() < deadline) {
        ++total;
        if (int status = call()) ++failed, lastFailure = status;
      }
    });
  for (auto &t : threads) t.join();
  std::printf("%d calls from %zu threads in 5 s\n", total.load(), threads.size());
  EXPECT_EQ(failed, 0) << "of " << total << " calls; last status " << lastFailure;
  EXPECT_GT(total, 8);
}

}  // namespace

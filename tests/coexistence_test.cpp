// The library in a process that has another SOAP user: a module generated and
// linked the ordinary way against the shared runtime, with its own schema and
// global namespace table, loaded after the library.  Two threads call both
// alternately against loopback devices; every call of either must succeed.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "fake_device.h"
#include "test_support.h"
#include "webservice/WebService.h"

extern "C" int OtherSoapUserEcho(int port, const char *text, char *answer, size_t size);

namespace {

constexpr int kRounds = 200;  // calls per thread, half of them to each user

TEST(Coexistence, LibraryAndAnotherSoapUserShareTheProcess) {
  FakeDevice device, echo;
  ASSERT_TRUE(device.ok() && echo.ok());
  device.Script({Reply::File("GetUserCount")});
  echo.Script({Reply::Ok(Envelope("<n:echoResponse xmlns:n=\"urn:other-soap-user\"><n:answer>pong</n:answer>"
                                  "</n:echoResponse>"))});

  std::atomic<int> libraryOk{0}, otherOk{0};
  std::vector<std::string> failures[2];
  auto run = [&](int thread) {
    for (int i = 0; i < kRounds; ++i) {
      if ((i + thread) % 2 == 0) {
        ConnectionInfo conn{0, 0, device.port(), ENDPOINT_KIND_SOAP_PATH};
        IntValueRecord count{-1, -1};
        int status = DLL_WebServiceGetUserCount("127.0.0.1", "admin", "secret", &kAnyRequest, &count, &conn);
        if (status == 0 && count.value == 7 && count.resultCode == 0) ++libraryOk;
        else failures[thread].push_back("library: status " + std::to_string(status));
      } else {
        char answer[16] = "";
        int status = OtherSoapUserEcho(echo.port(), "ping", answer, sizeof answer);
        if (status == 0 && std::string(answer) == "pong") ++otherOk;
        else failures[thread].push_back("other SOAP user: status " + std::to_string(status));
      }
    }
  };
  std::thread first(run, 0), second(run, 1);
  first.join();
  second.join();

  for (const auto &list : failures)
    for (size_t i = 0; i < list.size() && i < 3; ++i) ADD_FAILURE() << list[i];
  EXPECT_EQ(libraryOk, kRounds);
  EXPECT_EQ(otherOk, kRounds);
  // Each request was written with its own user's namespace table.
  for (const std::string &request : echo.Requests()) {
    ASSERT_NE(request.find("xmlns:ns=\"urn:other-soap-user\""), std::string::npos) << request;
    ASSERT_EQ(request.find(WS_TEST_BASE_NAMESPACE), std::string::npos) << request;
  }
  for (const std::string &request : device.Requests()) {
    ASSERT_NE(request.find("xmlns:ns1=\"" WS_TEST_BASE_NAMESPACE "\""), std::string::npos) << request;
    ASSERT_EQ(request.find("urn:other-soap-user"), std::string::npos) << request;
  }
}

}  // namespace

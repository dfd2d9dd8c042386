// The exchange trace: what the callback sees of each attempt, and the mask.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_device.h"
#include "golden_file.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

struct Seen {
  std::string url, requestHeaders, requestBody, answerHeaders, answerBody;
  int status, error;
};

void Record(const WebServiceExchange *e, void *context) {
  static_cast<std::vector<Seen> *>(context)->push_back(
      {e->url, e->requestHeaders, std::string(e->requestBody, e->requestBodyLength), e->answerHeaders,
       std::string(e->answerBody, e->answerBodyLength), e->httpStatus, e->error});
}

int Retry(int, const char *, void *) { return WS_RESOLVE_RETRY; }

class Trace : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.ok());
    conn.port = device.port();
    WebService_SetTraceCallback(Record, &seen);
  }
  void TearDown() override {
    WebService_SetTraceCallback(nullptr, nullptr);
    WebService_SetResolveCallback(nullptr, nullptr);
  }
  FakeDevice device;
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
  std::vector<Seen> seen;
};

TEST_F(Trace, SuccessfulCallMasked) {
  device.Script({Reply::File("AddUser")});
  UserRequestRecord request = Pattern<UserRequestRecord>();
  std::strcpy(request.user.userID, "user1");
  std::strcpy(request.user.password, "secret-word");
  CallResult result{};
  ASSERT_EQ(0, DLL_WebServiceAddUser("127.0.0.1", "admin", "admin-secret", &request, &result, &conn));
  ASSERT_EQ(1u, seen.size());
  const Seen &s = seen[0];
  EXPECT_EQ("http://127.0.0.1:" + std::to_string(device.port()) + "/soap", s.url);
  EXPECT_EQ(200, s.status);
  EXPECT_EQ(0, s.error);
  EXPECT_NE(std::string::npos, s.requestHeaders.find("Authorization: " WS_TRACE_MASK "\r\n"));
  EXPECT_NE(std::string::npos, s.requestHeaders.find("SOAPAction: \"" WS_TEST_BASE_NAMESPACE "AddUser\""));
  EXPECT_NE(std::string::npos, s.requestBody.find("<ns1:userID>user1</ns1:userID>"));
  EXPECT_NE(std::string::npos, s.requestBody.find("<ns1:password>" WS_TRACE_MASK "</ns1:password>"));
  for (const std::string &text : {s.requestHeaders, s.requestBody}) {
    EXPECT_EQ(std::string::npos, text.find("secret")) << text;
    EXPECT_EQ(std::string::npos, text.find("YWRtaW46")) << text;
  }
  EXPECT_EQ(0u, s.answerHeaders.find("HTTP/1.1 200"));
  EXPECT_NE(std::string::npos, s.answerBody.find("AddUserResponse"));
}

TEST_F(Trace, FailingCallShowsTheAnswerAndRetriesAreAttemptsOfTheirOwn) {
  device.Script({Reply::Status(401, "refused"), Reply::Status(500, "<fault/>")});
  WebService_SetResolveCallback(Retry, nullptr);
  IntValueRecord value = Pattern<IntValueRecord>();
  EXPECT_NE(0, DLL_WebServiceGetUserCount("127.0.0.1", "admin", "admin", &kAnyRequest, &value, &conn));
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(401, seen[0].status);
  EXPECT_EQ("refused", seen[0].answerBody);
  EXPECT_EQ(500, seen[1].status);
  EXPECT_EQ("<fault/>", seen[1].answerBody);
  EXPECT_EQ(seen[0].requestBody, seen[1].requestBody);
}

TEST_F(Trace, EveryAttemptOfTheVersionProbe) {
  device.Script({Reply::Ok(WithText(GoldenAnswer("GetVersion"), "swVersion", ""))});
  VersionRecord version{};
  DLL_WebServiceGetVersion("127.0.0.1", "admin", "admin", &kAnyRequest, &version, &conn);
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(200, seen[0].status);
  EXPECT_EQ("http://127.0.0.1:81", seen[1].url);
}

TEST_F(Trace, UnreachableDeviceIsAnAttemptWithoutAnswer) {
  RefusingPort refusing;
  conn.port = refusing.port();
  IntValueRecord value{};
  EXPECT_EQ(WS_ERROR_CANNOT_CONNECT, DLL_WebServiceGetUserCount("127.0.0.1", "admin", "admin", &kAnyRequest, &value, &conn));
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(0, seen[0].status);
  EXPECT_EQ(WS_ERROR_CANNOT_CONNECT, seen[0].error);
}

}  // namespace

// The exports against a scripted fake device: the bytes they send, how they
// read answers, and what they leave alone.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "golden_file.h"
#include "service_test.h"
#include "webservice/WebService.h"

namespace {

template <class Request, class Response>
using Export = int (*)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *);

bool HasHeader(const std::string &request, const std::string &line) {
  size_t end = request.find("\r\n\r\n");
  return request.find("\r\n" + line + "\r\n") < end;
}

std::string RequestLine(const std::string &request) { return request.substr(0, request.find("\r\n")); }

class Wire : public ServiceWire {
 protected:
  template <class Request, class Response, class Arg>
  int Call(Export<Request, Response> fn, const Arg *request, Response *response, const char *user = "admin",
           const char *password = "admin", const char *host = "127.0.0.1") {
    return fn(host, user, password, request, response, &conn);
  }

  // Answers body to the next call.
  void Answer(const std::string &body) { device.Script({Reply::Ok(body)}); }
};

UserRequestRecord UserRequest(const char *id, const char *password, int32_t level) {
  UserRequestRecord request = Pattern<UserRequestRecord>();
  std::strcpy(request.user.userID, id);
  std::strcpy(request.user.password, password);
  request.user.userLevel = level;
  return request;
}

// How answers are read, what they write and what they leave is in the golden
// exchanges (tests/golden); here what those cannot show.

// A SOAP 1.2 envelope is read like a SOAP 1.1 one.
TEST_F(Wire, Soap12Envelope) {
  std::string answer = GoldenAnswer("GetUser");
  const std::string soap11 = "http://schemas.xmlsoap.org/soap/envelope/";
  answer.replace(answer.find(soap11), soap11.size(), "http://www.w3.org/2003/05/soap-envelope");
  Answer(answer);
  UserRequestRecord request = UserRequest("user1", "", 0);
  UserResponseRecord response = Pattern<UserResponseRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &request, &response));
  EXPECT_STREQ("user1", response.userID);
  EXPECT_EQ(WS_USER_NORMAL, response.userLevel);
  EXPECT_EQ(0, response.resultCode);
}

// Only the result byte of a boolean is written, not the bytes after it.
TEST_F(Wire, BooleanWritesItsByteAlone) {
  device.Script({Reply::File("SetMaxStreamConnection")});
  CallResult result;
  FillPattern(result);
  const int32_t size = 3;
  ASSERT_EQ(0, Call(DLL_WebServiceSetMaxStreamConnection, &size, &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ(std::string(3, '\xA5'), std::string(reinterpret_cast<char *>(&result) + 1, 3));
}

// An empty parameter list writes count 0 and leaves the caller's array
// pointer as it was: the library allocates nothing for it.
TEST_F(Wire, EmptyParameterListKeepsTheCallersArray) {
  ParameterRecord *const sentinel = reinterpret_cast<ParameterRecord *>(0x10);
  Answer(GoldenAnswer("GetFunctionMap", "empty list: count 0"));
  ParameterListRecord list{-7, sentinel, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFunctionMap, "ptz", &list));
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(sentinel, list.items);
}

// A host whose URL would not fit is refused: -1, nothing sent, nothing
// written (the other argument checks run over every export in
// operations_test).  A URL of exactly 255 bytes is formed and tried.
TEST_F(Wire, HostLengthLimit) {
  // 243 bytes minus the port's digits make a kind-0 URL of 256 bytes.
  const std::string tooLong(243 - std::to_string(conn.port).size(), 'h');
  UserRequestRecord request = UserRequest("u", "", 0);
  UserResponseRecord user = Pattern<UserResponseRecord>();
  EXPECT_EQ(-1, Call(DLL_WebServiceGetUser, &request, &user, "admin", "admin", tooLong.c_str()));
  EXPECT_TRUE(Untouched(user));
  // GetVersion falls back to the shorter kind-1 URL: 300 bytes fit neither.
  VersionRecord version = Pattern<VersionRecord>();
  EXPECT_EQ(-1, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version, "admin", "admin", std::string(300, 'h').c_str()));
  EXPECT_TRUE(Untouched(version));
  EXPECT_TRUE(device.Requests().empty());

  const std::string host = std::string(63, 'a') + "." + std::string(63, 'b') + "." + std::string(63, 'c') + "." +
                           std::string(42 - std::to_string(conn.port).size(), 'd') + ".invalid";
  IntValueRecord value = Pattern<IntValueRecord>();
  EXPECT_EQ(WS_ERROR_NAME_NOT_RESOLVED, Call(DLL_WebServiceGetMaxStreamConnection, &kAnyRequest, &value, "admin", "admin",
                                             host.c_str()));
}

// Host text is a name, a dotted address or a bracketed IPv6 literal and no
// more: any one byte outside those ('@' of credentials, ':' of a port, '/',
// '?' and '#' of a path, blanks, control bytes and the rest), next to a good
// host or inside the brackets, makes the call return -1 with nothing sent.
TEST_F(Wire, HostTextRefusesEveryByteOutsideAHost) {
  auto nameByte = [](int c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_'; };
  auto literalByte = [](int c) { return std::isxdigit(c) || c == ':' || c == '.'; };
  for (int c = 1; c < 256; ++c) {
    const std::string byte(1, static_cast<char>(c));
    std::vector<std::string> hosts;
    if (!nameByte(c)) hosts = {"x" + byte + "127.0.0.1", "127.0.0.1" + byte + "x"};
    if (!literalByte(c)) hosts.push_back("[::" + byte + "1]");
    for (const std::string &host : hosts) {
      IntValueRecord value = Pattern<IntValueRecord>();
      EXPECT_EQ(-1, Call(DLL_WebServiceGetMaxStreamConnection, &kAnyRequest, &value, "admin", "admin", host.c_str()))
          << "byte " << c << " in " << host;
      EXPECT_TRUE(Untouched(value));
    }
  }
  EXPECT_TRUE(device.Requests().empty());
}

// A device that keeps the connection open after a whole answer: the answer
// ends at its Content-Length, and the call returns at once, not at its
// 10-second time-out.
TEST_F(Wire, AnswerOnAConnectionKeptOpenEndsAtItsLength) {
  device.Script({Reply::KeepOpen(GoldenAnswer("GetUserCount"))});
  IntValueRecord count = Pattern<IntValueRecord>();
  Stopwatch watch;
  EXPECT_EQ(0, Call(DLL_WebServiceGetUserCount, &kAnyRequest, &count));
  EXPECT_LT(watch.Seconds(), 5);
  EXPECT_EQ(7, count.value);
}

TEST_F(Wire, EndpointKinds) {
  IntValueRecord value = Pattern<IntValueRecord>();
  device.Script({Reply::File("GetMaxChannel")});
  conn.endpointKind = ENDPOINT_KIND_ROOT;
  conn.useHttps = 1;  // kind 2 is always plain http
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_EQ("POST / HTTP/1.1", RequestLine(device.Request()));
  EXPECT_TRUE(HasHeader(device.Request(), "Host: 127.0.0.1:" + std::to_string(device.port())));
}

// Credentials: both given and together shorter than 761 bytes, or none.
TEST_F(Wire, Credentials) {
  const std::string u380(380, 'u'), p380(380, 'p'), p381(381, 'p');
  struct Case {
    const char *user, *password;
    bool sent;
  } cases[] = {{"admin", "admin", true}, {nullptr, "admin", false}, {"admin", nullptr, false},
               {nullptr, nullptr, false}, {u380.c_str(), p380.c_str(), true}, {u380.c_str(), p381.c_str(), false},
               {"user", "", true}};
  for (const Case &c : cases) {
    IntValueRecord value = Pattern<IntValueRecord>();
    device.Script({Reply::File("GetMaxChannel")});
    ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value, c.user, c.password));
    const std::string request = device.Request();
    size_t header = request.find("\r\nAuthorization: Basic ");
    EXPECT_EQ(c.sent, header < request.find("\r\n\r\n")) << (c.user ? std::strlen(c.user) : 0) << "+"
                                                          << (c.password ? std::strlen(c.password) : 0);
  }
  EXPECT_TRUE(HasHeader(device.Request(), "Authorization: Basic dXNlcjo="));  // "user:"
}

TEST_F(Wire, TrickledAnswerIsRead) {
  device.Script({Reply::Trickle(GoldenAnswer("GetMaxChannel"), 40, 20)});
  IntValueRecord value = Pattern<IntValueRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_EQ(4, value.value);
}

// ---- time-outs and connection errors (each test is its own ctest entry) ----

template <class Request, class Response>
void ExpectGivesUp(Export<Request, Response> fn, const Request *request, Reply reply, int status, double low,
                   double high) {
  FakeDevice device;
  ASSERT_TRUE(device.ok());
  device.Script({reply});
  ConnectionInfo conn{0, 0, device.port(), 0};
  Response response = Pattern<Response>();
  Stopwatch watch;
  EXPECT_EQ(status, fn("127.0.0.1", nullptr, nullptr, request, &response, &conn));
  EXPECT_GE(watch.Seconds(), low);
  EXPECT_LE(watch.Seconds(), high);
  EXPECT_TRUE(Untouched(response));
}

// A device trickling one byte at a time never goes idle long enough; the sum
// of the three time-outs ends the call.
TEST(Timeouts, TrickledGetMaxChannelEndsAfterThreeSeconds) {
  ExpectGivesUp<void, IntValueRecord>(DLL_WebServiceGetMaxChannel, &kAnyRequest,
                                      Reply::Trickle(GoldenAnswer("GetMaxChannel"), 1, 200), 29, 2.9, 5);
}

TEST(Connect, UnreachablePortAndUnknownHost) {
  RefusingPort refusing;
  ASSERT_NE(0, refusing.port());
  ConnectionInfo conn{0, 0, refusing.port(), 0};
  IntValueRecord value = Pattern<IntValueRecord>();
  EXPECT_EQ(WS_ERROR_CANNOT_CONNECT, DLL_WebServiceGetMaxStreamConnection("127.0.0.1", "a", "b", &kAnyRequest, &value, &conn));
  EXPECT_EQ(WS_ERROR_NAME_NOT_RESOLVED,
            DLL_WebServiceGetMaxStreamConnection("nonexistent.invalid", "a", "b", &kAnyRequest, &value, &conn));
  EXPECT_TRUE(Untouched(value));
}

// ---- port 81: endpoint kind 1 and the GetVersion probe (run one at a time) ----

class Port81 : public Wire {
 protected:
  void SetUp() override {
    Wire::SetUp();
    if (!port81.ok()) GTEST_SKIP() << "127.0.0.1:81 cannot be bound here (needs root or a free port 81)";
  }
  FakeDevice port81{81};
  VersionRecord version = Pattern<VersionRecord>();
};

TEST_F(Port81, EndpointKind1IgnoresPortAndHttps) {
  port81.Script({Reply::File("GetMaxChannel")});
  conn = {0, 1, 1, ENDPOINT_KIND_PORT_81};
  IntValueRecord value = Pattern<IntValueRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_EQ("POST / HTTP/1.1", RequestLine(port81.Request()));
  EXPECT_TRUE(HasHeader(port81.Request(), "Host: 127.0.0.1:81"));
}

TEST_F(Port81, ProbeFallsBackWhenFirstAttemptFails) {
  device.Script({Reply::Close()});
  port81.Script({Reply::File("GetVersion")});
  ASSERT_EQ(0, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_STREQ("2.1.0", version.swVersion);
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
  EXPECT_EQ("POST /soap HTTP/1.1", RequestLine(device.Request()));
  EXPECT_EQ("POST / HTTP/1.1", RequestLine(port81.Request()));
}

TEST_F(Port81, ProbeFallsBackOnEmptySoftwareVersion) {
  device.Script({Reply::Ok(WithText(GoldenAnswer("GetVersion"), "swVersion", ""))});
  port81.Script({Reply::File("GetVersion")});
  ASSERT_EQ(0, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_STREQ("2.1.0", version.swVersion);
  EXPECT_STREQ("2.1.0-b42", version.fwVersion);
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
}

// The second attempt fails after the first one answered without a software
// version: the record keeps what the first answer carried, and the call
// returns the second attempt's status.
TEST_F(Port81, ProbeKeepsTheFirstAnswerWhenTheSecondFails) {
  device.Script({Reply::Ok(WithText(GoldenAnswer("GetVersion"), "swVersion", ""))});
  port81.Script({Reply::Close()});
  EXPECT_EQ(-1, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
  EXPECT_STREQ("", version.swVersion);
  EXPECT_STREQ("1.0", version.hwVersion);
  EXPECT_STREQ("2.1.0-b42", version.fwVersion);
  EXPECT_EQ(0, version.resultCode);
}

}  // namespace

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

TEST_F(Wire, AnswerShapes) {
  UserRequestRecord request = UserRequest("user1", "", 0);
  const std::string user = "<GetUserResult><userID>u</userID><password>p</password><userLevel>USER_POWER</userLevel>"
                           "</GetUserResult><resultCode>6</resultCode>";
  const std::string shuffled = "<extra>x</extra><resultCode>6</resultCode><GetUserResult><unknown><a>1</a></unknown>"
                               "<userLevel>USER_POWER</userLevel><password>p</password><userID>u</userID></GetUserResult>";
  for (const std::string &answer : {Response("GetUser", user), Response("GetUser", user, true),
                                     Response("GetUser", shuffled)}) {
    SCOPED_TRACE(answer);
    Answer(answer);
    UserResponseRecord response = Pattern<UserResponseRecord>();
    ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &request, &response));
    EXPECT_STREQ("u", response.userID);
    EXPECT_STREQ("p", response.password);
    EXPECT_EQ(WS_USER_POWER, response.userLevel);
    EXPECT_EQ(6, response.resultCode);
  }

  // A missing resultCode reads as 0.
  Answer(Response("SetMaxStreamConnection", "<SetMaxStreamConnectionResult>true</SetMaxStreamConnectionResult>"));
  CallResult result;
  FillPattern(result);
  const int32_t size = 3;
  ASSERT_EQ(0, Call(DLL_WebServiceSetMaxStreamConnection, &size, &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ(0, result.resultCode);
  // Only the result byte of the boolean is written.
  EXPECT_EQ(std::string(3, '\xA5'), std::string(reinterpret_cast<char *>(&result) + 1, 3));
}

TEST_F(Wire, Enumerations) {
  // A symbol, a number in the table, a number outside it, and surrounding blanks.
  const std::pair<const char *, int> cases[] = {
      {"USER_POWER", 1}, {"2", 2}, {"9", 9}, {" USER_CUSTOMER\n", 3}};
  for (const auto &c : cases) {
    Answer(Response("GetUserLevel", std::string("<GetUserLevelResult>") + c.first + "</GetUserLevelResult>"));
    IntValueRecord value = Pattern<IntValueRecord>();
    EXPECT_EQ(0, Call(DLL_WebServiceGetUserLevel, "10.0.0.1", &value)) << c.first;
    EXPECT_EQ(c.second, value.value) << c.first;
  }
  // A negative value outside the table goes out as its signed number.
  Answer(Response("UpdateUser", "<UpdateUserResult>false</UpdateUserResult>"));
  UserRequestRecord request = UserRequest("x", "y", -3);
  CallResult result = Pattern<CallResult>();
  ASSERT_EQ(0, Call(DLL_WebServiceUpdateUser, &request, &result));
  EXPECT_NE(std::string::npos, device.Request().find("<ns1:userLevel>-3</ns1:userLevel>"));
  EXPECT_FALSE(result.result);
}

// An empty text goes out as a start and an end tag, as the devices' other
// clients send it, not as an empty-element tag.
TEST_F(Wire, EmptyTextSentAsStartAndEndTag) {
  Answer(Response("UpdateUser", "<UpdateUserResult>true</UpdateUserResult>"));
  UserRequestRecord request = UserRequest("user2", "", 2);
  CallResult result = Pattern<CallResult>();
  ASSERT_EQ(0, Call(DLL_WebServiceUpdateUser, &request, &result));
  EXPECT_NE(std::string::npos, device.Request().find("<ns1:password></ns1:password>")) << device.Request();
}

TEST_F(Wire, TextsUnescapedAndTruncated) {
  // Entities are decoded, UTF-8 bytes are kept, over-long texts keep size-1 bytes.
  const std::string longText(150, 'x');
  Answer(Response("GetUser", "<GetUserResult><userID>a&amp;b&lt;c&gt;d \xC3\xA9\xE2\x82\xAC</userID><password>" + longText +
                                 "</password><userLevel>USER_ADMIN</userLevel></GetUserResult><resultCode>0</resultCode>"));
  UserRequestRecord request = UserRequest("u", "", 0);
  UserResponseRecord user = Pattern<UserResponseRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &request, &user));
  EXPECT_STREQ("a&b<c>d \xC3\xA9\xE2\x82\xAC", user.userID);
  EXPECT_EQ(std::string(99, 'x'), user.password);

  Answer(Response("GetDeviceInformation", "<GetDeviceInformationResult><Parameter_T><key>" + std::string(300, 'k') +
                                              "</key><value>" + std::string(255, 'v') +
                                              "</value></Parameter_T></GetDeviceInformationResult><resultCode>0</resultCode>"));
  ParameterListRecord list{0, nullptr, 0};
  ASSERT_EQ(0, Call(DLL_WebServiceGetDeviceInformation, &kAnyRequest, &list));
  ASSERT_EQ(1, list.count);
  EXPECT_EQ(std::string(255, 'k'), list.items[0].key);
  EXPECT_EQ(std::string(255, 'v'), list.items[0].value);
  WebService_FreeItems(list.items);
}

TEST_F(Wire, AccountListRule) {
  UserRecord *const sentinel = reinterpret_cast<UserRecord *>(0x10);
  // Written only with resultCode 0 and at least one user; nil and partial
  // users leave their entries zero-filled.
  Answer(Response("GetUserList", "<GetUserListResult><User_T><userID>a</userID></User_T><User_T xsi:nil=\"true\"/>"
                                 "<User_T><userID>c</userID><userLevel>3</userLevel></User_T></GetUserListResult>"
                                 "<resultCode>0</resultCode>"));
  UserListRecord list{-7, sentinel, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserList, &kAnyRequest, &list));
  ASSERT_EQ(3, list.count);
  ASSERT_NE(sentinel, list.items);
  const UserRecord zero{};
  EXPECT_STREQ("a", list.items[0].userID);
  EXPECT_EQ(0, std::memcmp(list.items[0].password, zero.password, sizeof zero.password));
  EXPECT_EQ(0, std::memcmp(&list.items[1], &zero, sizeof zero));
  EXPECT_STREQ("c", list.items[2].userID);
  EXPECT_EQ(3, list.items[2].userLevel);
  WebService_FreeItems(list.items);

  const std::string untouchedAnswers[] = {
      Response("GetUserList", "<GetUserListResult/><resultCode>0</resultCode>"),
      Response("GetUserList", "<resultCode>0</resultCode>"),
      Response("GetUserList", "<GetUserListResult><User_T><userID>a</userID></User_T></GetUserListResult>"
                              "<resultCode>6</resultCode>"),
  };
  for (const std::string &answer : untouchedAnswers) {
    Answer(answer);
    list = {-7, sentinel, -1};
    ASSERT_EQ(0, Call(DLL_WebServiceGetUserList, &kAnyRequest, &list)) << answer;
    EXPECT_EQ(-7, list.count) << answer;
    EXPECT_EQ(sentinel, list.items) << answer;
    EXPECT_NE(-1, list.resultCode) << answer;
  }
}

TEST_F(Wire, ParameterListRule) {
  ParameterRecord *const sentinel = reinterpret_cast<ParameterRecord *>(0x10);
  // count is written also when 0; items then stay as they were.
  Answer(Response("GetFunctionMap", "<GetFunctionMapResult></GetFunctionMapResult><resultCode>0</resultCode>"));
  ParameterListRecord list{-7, sentinel, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFunctionMap, "ptz", &list));
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(sentinel, list.items);
  EXPECT_EQ(0, list.resultCode);

  // No list, or a refusal: count and items stay.
  for (const char *inner : {"<resultCode>4</resultCode>", "<resultCode>0</resultCode>",
                            "<GetFunctionMapResult><Parameter_T><key>k</key></Parameter_T></GetFunctionMapResult>"
                            "<resultCode>4</resultCode>"}) {
    Answer(Response("GetFunctionMap", inner));
    list = {-7, sentinel, -1};
    ASSERT_EQ(0, Call(DLL_WebServiceGetFunctionMap, "x", &list)) << inner;
    EXPECT_EQ(-7, list.count) << inner;
    EXPECT_EQ(sentinel, list.items) << inner;
  }

  // A missing key or value reads as empty, a nil parameter as a zero entry.
  Answer(Response("GetFunctionMap", "<GetFunctionMapResult><Parameter_T><key>k</key></Parameter_T><Parameter_T xsi:nil="
                                    "\"true\"/><Parameter_T><value>v</value></Parameter_T></GetFunctionMapResult>"));
  ASSERT_EQ(0, Call(DLL_WebServiceGetFunctionMap, "x", &list));
  ASSERT_EQ(3, list.count);
  EXPECT_STREQ("k", list.items[0].key);
  EXPECT_STREQ("", list.items[0].value);
  EXPECT_STREQ("", list.items[1].key);
  EXPECT_STREQ("", list.items[2].key);
  EXPECT_STREQ("v", list.items[2].value);
  WebService_FreeItems(list.items);
}

TEST_F(Wire, PartialRecords) {
  // Fewer than four time slots: the others stay; more than four: four are read.
  for (int slots : {2, 6}) {
    std::string times;
    for (int i = 0; i < slots; ++i)
      times += "<Time_T><hour>" + std::to_string(i + 1) + "</hour><minute>1</minute><second>2</second></Time_T>";
    Answer(Response("GetSessionConfig", "<GetSessionConfigResult><enableAnonymous>false</enableAnonymous><maxRTPStreamTime>" +
                                            times + "</maxRTPStreamTime></GetSessionConfigResult>"));
    SessionConfigResponseRecord session = Pattern<SessionConfigResponseRecord>();
    ASSERT_EQ(0, Call(DLL_WebServiceGetSessionConfig, &kAnyRequest, &session));
    EXPECT_FALSE(session.config.enableAnonymous);
    for (int i = 0; i < 4; ++i) {
      const TimeSlotRecord &slot = session.config.maxRTPStreamTime[i];
      const TimeSlotRecord before = Pattern<TimeSlotRecord>();
      if (i < slots) EXPECT_EQ(i + 1, slot.hour);
      else EXPECT_EQ(0, std::memcmp(&slot, &before, sizeof slot)) << "slot " << i;
      EXPECT_EQ(before.extra, slot.extra);
    }
  }

  // No resolution: width and height stay.
  Answer(Response("GetVideoEncoderConfig", "<GetVideoEncoderConfigResult><enable>false</enable><videoCodec>0"
                                           "</videoCodec><resolutionType>2</resolutionType><frameRate>5</frameRate>"
                                           "<bitRateType>0</bitRateType><qualityType>3</qualityType><bitRate>64</bitRate>"
                                           "<gopSize>8</gopSize><deinterlacing>false</deinterlacing>"
                                           "</GetVideoEncoderConfigResult><resultCode>0</resultCode>"));
  StreamRecord stream{};
  VideoEncoderConfigResponseRecord encoder = Pattern<VideoEncoderConfigResponseRecord>();
  encoder.config.width = 111;
  encoder.config.height = 222;
  ASSERT_EQ(0, Call(DLL_WebServiceGetVideoEncoderConfig, &stream, &encoder));
  EXPECT_EQ(111, encoder.config.width);
  EXPECT_EQ(222, encoder.config.height);
  EXPECT_EQ(WS_RESOLUTION_FULL_CIF, encoder.config.resolutionType);
  EXPECT_EQ(WS_VIDEO_QUALITY_MEDIUM, encoder.config.qualityType);

  // Six channels: the first four are copied, count tells six.
  Answer(Response("GetChannelList", "<GetChannelListResult><int>9</int><int>8</int><int>7</int><int>6</int><int>5</int>"
                                    "<int>4</int></GetChannelListResult><resultCode>0</resultCode>"));
  ChannelListRecord channels = Pattern<ChannelListRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetChannelList, &kAnyRequest, &channels));
  EXPECT_EQ(6, channels.count);
  EXPECT_EQ((std::vector<int32_t>{9, 8, 7, 6}), std::vector<int32_t>(channels.channel, channels.channel + 4));

  // Version fields absent from the answer keep the caller's values.
  Answer(Response("GetVersion", "<GetVersionResult><swVersion>3.0</swVersion></GetVersionResult><resultCode>0</resultCode>"));
  VersionRecord version = Pattern<VersionRecord>();
  std::strcpy(version.hwVersion, "hw-before");
  ASSERT_EQ(0, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_STREQ("3.0", version.swVersion);
  EXPECT_STREQ("hw-before", version.hwVersion);
  EXPECT_EQ(std::string(sizeof version.fwVersion, '\xA5'), std::string(version.fwVersion, sizeof version.fwVersion));
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
  device.Script({Reply::KeepOpen(Response("GetUserCount", "<GetUserCountResult>4</GetUserCountResult>"))});
  IntValueRecord count = Pattern<IntValueRecord>();
  Stopwatch watch;
  EXPECT_EQ(0, Call(DLL_WebServiceGetUserCount, &kAnyRequest, &count));
  EXPECT_LT(watch.Seconds(), 5);
  EXPECT_EQ(4, count.value);
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
  device.Script({Reply::Ok(Response("GetVersion", "<GetVersionResult><swVersion></swVersion><hwVersion>h</hwVersion>"
                                                  "</GetVersionResult><resultCode>0</resultCode>"))});
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
  device.Script({Reply::Ok(Response("GetVersion", "<GetVersionResult><swVersion></swVersion><hwVersion>h</hwVersion>"
                                                  "<fwVersion>f</fwVersion></GetVersionResult><resultCode>7</resultCode>"))});
  port81.Script({Reply::Close()});
  EXPECT_EQ(-1, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
  EXPECT_STREQ("", version.swVersion);
  EXPECT_STREQ("h", version.hwVersion);
  EXPECT_STREQ("f", version.fwVersion);
  EXPECT_EQ(7, version.resultCode);
}

}  // namespace

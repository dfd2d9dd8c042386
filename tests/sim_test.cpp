// Every export end to end against the device simulator, started per test on
// free ports.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

class Sim : public ServiceSim {
 protected:
  using ServiceSim::ServiceSim;
};

UserRequestRecord User(const char *id, const char *password = "", int32_t level = WS_USER_NORMAL) {
  UserRequestRecord request{};
  std::snprintf(request.user.userID, sizeof request.user.userID, "%s", id);
  std::snprintf(request.user.password, sizeof request.user.password, "%s", password);
  request.user.userLevel = level;
  return request;
}

TEST_F(Sim, UserLifecycle) {
  IntValueRecord count{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserCount, &kAnyRequest, &count));
  EXPECT_EQ(7, count.value);
  UserListRecord list{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserList, &kAnyRequest, &list));
  ASSERT_EQ(7, list.count);
  EXPECT_EQ(0, list.resultCode);
  bool admin = false;
  for (int i = 0; i < list.count; ++i)
    admin |= std::string(list.items[i].userID) == "admin" && list.items[i].userLevel == WS_USER_ADMIN;
  EXPECT_TRUE(admin);
  WebService_FreeItems(list.items);

  CallResult result{};
  UserRequestRecord newUser = User("newbie", "pw&<1>", WS_USER_POWER);
  ASSERT_EQ(0, Call(DLL_WebServiceAddUser, &newUser, &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ(0, result.resultCode);
  ASSERT_EQ(0, Call(DLL_WebServiceAddUser, &newUser, &result));  // already there
  EXPECT_FALSE(result.result);
  EXPECT_EQ(1, result.resultCode);

  UserResponseRecord user = Pattern<UserResponseRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &newUser, &user));
  EXPECT_STREQ("newbie", user.userID);
  EXPECT_STREQ("pw&<1>", user.password);
  EXPECT_EQ(WS_USER_POWER, user.userLevel);

  UserRequestRecord changed = User("newbie", "pw2", WS_USER_CUSTOMER);
  ASSERT_EQ(0, Call(DLL_WebServiceUpdateUser, &changed, &result));
  EXPECT_TRUE(result.result);
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &newUser, &user));
  EXPECT_STREQ("pw2", user.password);
  EXPECT_EQ(WS_USER_CUSTOMER, user.userLevel);
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserCount, &kAnyRequest, &count));
  EXPECT_EQ(8, count.value);

  ASSERT_EQ(0, Call(DLL_WebServiceRemoveUser, &newUser, &result));
  EXPECT_TRUE(result.result);
  // Unknown user: no Result element, resultCode 2; the rest stays.
  user = Pattern<UserResponseRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &newUser, &user));
  EXPECT_EQ(2, user.resultCode);
  EXPECT_EQ(std::string(100, '\xA5'), std::string(user.userID, 100));
  for (auto fn : {DLL_WebServiceUpdateUser, DLL_WebServiceRemoveUser}) {
    ASSERT_EQ(0, Call(fn, &newUser, &result));
    EXPECT_FALSE(result.result);
    EXPECT_EQ(2, result.resultCode);
  }

  IntValueRecord level{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserLevel, "127.0.0.1", &level));
  EXPECT_EQ(WS_USER_ADMIN, level.value);
  ASSERT_EQ(0, Call(DLL_WebServiceGetUserLevel, "10.1.2.3", &level));
  EXPECT_EQ(WS_USER_NORMAL, level.value);
}

TEST_F(Sim, SessionConfigSetThenGet) {
  SessionConfigResponseRecord session{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSessionConfig, &kAnyRequest, &session));
  EXPECT_FALSE(session.config.enableAnonymous);
  const int seeded[4][3] = {{1, 0, 0}, {2, 0, 0}, {0, 30, 0}, {0, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    const TimeSlotRecord &slot = session.config.maxRTPStreamTime[i];
    EXPECT_EQ(seeded[i][0] * 3600 + seeded[i][1] * 60 + seeded[i][2], slot.hour * 3600 + slot.minute * 60 + slot.second);
  }
  SessionConfigRequestRecord request{};
  request.config.enableAnonymous = true;
  for (int i = 0; i < 4; ++i) request.config.maxRTPStreamTime[i] = {i, 10 + i, 20 + i, 0};
  CallResult result{};
  ASSERT_EQ(0, Call(DLL_WebServiceSetSessionConfig, &request, &result));
  EXPECT_TRUE(result.result);
  ASSERT_EQ(0, Call(DLL_WebServiceGetSessionConfig, &kAnyRequest, &session));
  EXPECT_TRUE(session.config.enableAnonymous);
  EXPECT_EQ(3, session.config.maxRTPStreamTime[3].hour);
  EXPECT_EQ(12, session.config.maxRTPStreamTime[2].minute);
  EXPECT_EQ(21, session.config.maxRTPStreamTime[1].second);
}

TEST_F(Sim, AudioVideoSetThenGet) {
  CallResult result{};
  VideoSourceConfigRequestRecord source{};
  source.channel = 2;
  source.config = {true, 61, 62, 63, 64, WS_VIDEO_STANDARD_NTSC, 2};
  ASSERT_EQ(0, Call(DLL_WebServiceSetVideoSourceConfig, &source, &result));
  EXPECT_TRUE(result.result);
  ChannelRecord channel{};
  channel.channel = 2;
  VideoSourceConfigResponseRecord gotSource{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVideoSourceConfig, &channel, &gotSource));
  EXPECT_EQ(0, std::memcmp(&source.config.contrast, &gotSource.config.contrast, 24));
  EXPECT_TRUE(gotSource.config.enable);

  // The master and the second stream of a channel are set independently.
  VideoEncoderConfigRequestRecord encoder{};
  encoder.channel = 3;
  encoder.master = false;
  encoder.config = {true, 12, 768, 24, true, 352, 240, WS_VIDEO_CODEC_MJPEG, WS_RESOLUTION_FULL_CIF,
                    WS_VIDEO_BITRATE_CBR, WS_VIDEO_QUALITY_SUPER_HIGH};
  ASSERT_EQ(0, Call(DLL_WebServiceSetVideoEncoderConfig, &encoder, &result));
  EXPECT_TRUE(result.result);
  StreamRecord stream{};
  stream.channel = 3;
  for (bool master : {false, true}) {
    stream.master = master;
    VideoEncoderConfigResponseRecord got{};
    ASSERT_EQ(0, Call(DLL_WebServiceGetVideoEncoderConfig, &stream, &got));
    auto fields = [](const VideoEncoderConfigRecord &c) {
      return std::make_tuple(c.enable, c.frameRate, c.bitRate, c.gopSize, c.deinterlacing, c.width, c.height,
                             c.videoCodec, c.resolutionType, c.bitRateType, c.qualityType);
    };
    EXPECT_EQ(!master, fields(encoder.config) == fields(got.config)) << "master " << master;
  }

  AudioConfigRequestRecord audio{};
  audio.channel = 4;
  audio.config = {true, WS_AUDIO_CODEC_G726_24K, true};
  ASSERT_EQ(0, Call(DLL_WebServiceSetAudioConfig, &audio, &result));
  EXPECT_TRUE(result.result);
  channel.channel = 4;
  AudioConfigResponseRecord gotAudio{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetAudioConfig, &channel, &gotAudio));
  EXPECT_TRUE(gotAudio.config.enableAudioIn);
  EXPECT_EQ(WS_AUDIO_CODEC_G726_24K, gotAudio.config.audioInCodec);
  EXPECT_TRUE(gotAudio.config.enableAudioOut);

  // An unknown channel: resultCode 3 and the configuration untouched.
  channel.channel = 9;
  gotAudio = Pattern<AudioConfigResponseRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetAudioConfig, &channel, &gotAudio));
  EXPECT_EQ(3, gotAudio.resultCode);
  const AudioConfigRecord before = Pattern<AudioConfigRecord>();
  EXPECT_EQ(before.audioInCodec, gotAudio.config.audioInCodec);
}

TEST_F(Sim, BasicSystem) {
  IntValueRecord value{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_EQ(4, value.value);
  ChannelListRecord channels{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetChannelList, &kAnyRequest, &channels));
  EXPECT_EQ(4, channels.count);
  EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4}), std::vector<int32_t>(channels.channel, channels.channel + 4));

  VersionRecord version{};
  conn.endpointKind = ENDPOINT_KIND_ROOT;
  ASSERT_EQ(0, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_STREQ("2.1.0", version.swVersion);
  EXPECT_STREQ("1.0", version.hwVersion);
  EXPECT_STREQ("2.1.0-b42", version.fwVersion);
  EXPECT_EQ(ENDPOINT_KIND_SOAP_PATH, conn.endpointKind);

  auto expectList = [&](auto fn, const auto *request) {
    ParameterListRecord list{0, nullptr, -1};
    ASSERT_EQ(0, Call(fn, request, &list));
    EXPECT_EQ(0, list.resultCode);
    EXPECT_GE(list.count, 1);
    for (int i = 0; i < list.count; ++i) EXPECT_NE('\0', list.items[i].key[0]);
    WebService_FreeItems(list.items);
  };
  expectList(DLL_WebServiceGetSpecProfile, &kAnyRequest);
  expectList(DLL_WebServiceGetDeviceInformation, &kAnyRequest);
  for (const char *category : {"video", "audio", "ptz", "io"}) expectList(DLL_WebServiceGetFunctionMap, category);
  ParameterListRecord list{-7, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFunctionMap, "toaster", &list));
  EXPECT_EQ(4, list.resultCode);
  EXPECT_EQ(-7, list.count);

  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxStreamConnection, &kAnyRequest, &value));
  EXPECT_EQ(10, value.value);
  CallResult result{};
  for (int32_t size : {0, 65, 32}) {
    ASSERT_EQ(0, Call(DLL_WebServiceSetMaxStreamConnection, &size, &result));
    EXPECT_EQ(size == 32, result.result) << size;
    EXPECT_EQ(size == 32 ? 0 : 5, result.resultCode) << size;
  }
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxStreamConnection, &kAnyRequest, &value));
  EXPECT_EQ(32, value.value);
}

TEST_F(Sim, CredentialsAndRootPort) {
  IntValueRecord value = Pattern<IntValueRecord>();
  EXPECT_EQ(-1, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value, "wrong"));
  EXPECT_EQ(-1, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value, nullptr));
  EXPECT_TRUE(Untouched(value));

  conn = {0, 0, sim.rootPort(), ENDPOINT_KIND_ROOT};
  ASSERT_EQ(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_EQ(4, value.value);
}

class SimFailing : public Sim {
 protected:
  SimFailing()
      : Sim({"--fail", "GetUserCount:fault-client", "--fail", "GetMaxStreamConnection:fault-server", "--fail",
             "GetUserLevel:empty", "--fail", "GetMaxChannel:stall", "--fail", "GetChannelList:407"}) {}
};

// The simulator's failure modes reach the caller as statuses, records untouched.
TEST_F(SimFailing, FailureModes) {
  IntValueRecord value = Pattern<IntValueRecord>();
  EXPECT_EQ(1, Call(DLL_WebServiceGetUserCount, &kAnyRequest, &value));
  EXPECT_EQ(2, Call(DLL_WebServiceGetMaxStreamConnection, &kAnyRequest, &value));
  EXPECT_EQ(-1, Call(DLL_WebServiceGetUserLevel, "127.0.0.1", &value));
  Stopwatch watch;
  EXPECT_EQ(29, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &value));
  EXPECT_LE(watch.Seconds(), 3);
  EXPECT_TRUE(Untouched(value));
  ChannelListRecord channels = Pattern<ChannelListRecord>();
  EXPECT_EQ(-1, Call(DLL_WebServiceGetChannelList, &kAnyRequest, &channels));
  EXPECT_TRUE(Untouched(channels));
}

// One HTTP GET on a plain connection; returns the whole answer.
std::string HttpGet(int port, const std::string &target) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nConnection: close\r\n\r\n";
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
      char buffer[65536];
      for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
    }
  }
  ::close(fd);
  return answer;
}

// The descriptions, without credentials, on the path of each port, with the
// address the client used; any other GET is still refused.
TEST_F(Sim, ServesDescriptions) {
  const std::string soapPath = HttpGet(sim.port(), "/soap?wsdl");
  EXPECT_EQ(0u, soapPath.find("HTTP/1.1 200 ")) << soapPath.substr(0, 200);
  EXPECT_NE(std::string::npos, soapPath.find("<definitions"));
  for (const char *binding : {"AccountSoap12", "AudioVideoSoap12", "BasicSystemSoap12"})
    EXPECT_NE(std::string::npos, soapPath.find("<binding name=\"" + std::string(binding) + "\"")) << binding;
  const std::string address = "location=\"http://127.0.0.1:" + std::to_string(sim.port()) + "/soap\"";
  EXPECT_NE(std::string::npos, soapPath.find(address));
  EXPECT_EQ(std::string::npos, soapPath.find("localhost"));

  const std::string root = HttpGet(sim.rootPort(), "/?wsdl");
  EXPECT_NE(std::string::npos, root.find("location=\"http://127.0.0.1:" + std::to_string(sim.rootPort()) + "/\""));
  for (const std::string &refused : {HttpGet(sim.port(), "/soap"), HttpGet(sim.port(), "/?wsdl"),
                                     HttpGet(sim.rootPort(), "/soap?wsdl")})
    EXPECT_EQ(0u, refused.find("HTTP/1.1 405 ")) << refused.substr(0, 100);
}

// ---- the GetVersion probe against port 81 (run one at a time) ----

bool CanBindPort81() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(81);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

void ExpectProbeEndsOnPort81(std::vector<std::string> args, int soapPort) {
  if (!CanBindPort81()) GTEST_SKIP() << "127.0.0.1:81 cannot be bound here (needs root or a free port 81)";
  Simulator sim(std::move(args));
  ASSERT_TRUE(sim.ready() && sim.port81()) << "the simulator did not serve port 81: '" << sim.line() << "'";
  ConnectionInfo conn{0, 0, soapPort ? soapPort : sim.port(), ENDPOINT_KIND_SOAP_PATH};
  VersionRecord version{};
  ASSERT_EQ(0, DLL_WebServiceGetVersion("127.0.0.1", "admin", "admin", &kAnyRequest, &version, &conn));
  EXPECT_STREQ("2.1.0", version.swVersion);
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
  EXPECT_EQ(0, sim.Stop());
}

// The simulator logs every exchange with --verbose, and never a credential.
TEST(SimLog, NamesExchangesButNoCredentials) {
  const std::string log = "/tmp/ws-sim-log-" + std::to_string(::getpid());
  {
    Simulator sim({"--port", "0", "--no-port81", "--verbose", "--user", "operator", "--password", "Pa55-word"}, log);
    ASSERT_TRUE(sim.ready()) << sim.line();
    ConnectionInfo conn{0, 0, sim.port(), ENDPOINT_KIND_SOAP_PATH};
    IntValueRecord count{};
    EXPECT_EQ(0, DLL_WebServiceGetUserCount("127.0.0.1", "operator", "Pa55-word", &count, &count, &conn));
    EXPECT_EQ(-1, DLL_WebServiceGetUserCount("127.0.0.1", "operator", "Wrong-Pa55", &count, &count, &conn));
    EXPECT_EQ(0, sim.Stop());
  }
  std::ifstream in(log);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ::unlink(log.c_str());
  EXPECT_NE(std::string::npos, text.find("GetUserCount")) << text;
  for (const char *secret : {"Pa55-word", "Wrong-Pa55", "b3BlcmF0b3I6UGE1NS13b3Jk" /* base64 */})
    EXPECT_EQ(std::string::npos, text.find(secret)) << text;
}

TEST(Port81Sim, ProbeAfterUnreachableSoapPath) {
  RefusingPort refusing;  // the kind-0 attempt cannot connect
  ExpectProbeEndsOnPort81({"--only-port81", "--user", "admin", "--password", "admin"}, refusing.port());
}

TEST(Port81Sim, ProbeAfterEmptySoftwareVersion) {
  ExpectProbeEndsOnPort81({"--port", "0", "--empty-version-on-soap-path", "--user", "admin", "--password", "admin"}, 0);
}

}  // namespace

// The Utility service: its requests and answers on the wire, its time-outs,
// and every export against the simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "service_wire.h"
#include "simulator.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

AudioClientRecord AudioClient(const char *url, int32_t port, unsigned char tcpByte) {
  AudioClientRecord record = Pattern<AudioClientRecord>();
  std::strcpy(record.url, url);
  record.port = port;
  std::strcpy(record.userID, "listener");
  std::strcpy(record.password, "p&w");
  // The byte as a caller in another language may leave it.
  std::memcpy(&record.enableTcp, &tcpByte, 1);
  return record;
}

using UtilityWire = ServiceWire;

// The audio client's members in order, texts escaped; enableTcp is false
// only for a zero byte; the two empty requests; the language as its symbol,
// or its number outside the table, both ways.
TEST_F(UtilityWire, RequestsAndAnswers) {
  const std::string connected = "<ConnectClientForAudioResult>true</ConnectClientForAudioResult><resultCode>0</resultCode>";
  CallResult result;
  FillPattern(result);
  for (unsigned char tcpByte : {0, 1, 2, 0x80}) {
    SCOPED_TRACE(static_cast<int>(tcpByte));
    AudioClientRecord client = AudioClient("rtsp://10.0.0.5/audio", 5000, tcpByte);
    std::string body = Exchange("ConnectClientForAudio", connected, [&] {
      return DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn);
    });
    EXPECT_EQ(std::string("<ns1:ConnectClientForAudio><ns1:url>rtsp://10.0.0.5/audio</ns1:url><ns1:port>5000</ns1:port>"
                          "<ns1:userID>listener</ns1:userID><ns1:password>p&amp;w</ns1:password><ns1:enableTcp>") +
                  (tcpByte ? "true" : "false") + "</ns1:enableTcp></ns1:ConnectClientForAudio>",
              body);
    EXPECT_TRUE(result.result);
    EXPECT_EQ(0, result.resultCode);
  }

  result = Pattern<CallResult>();
  std::string body = Exchange("DisconnectClientForAudio",
                              "<DisconnectClientForAudioResult>false</DisconnectClientForAudioResult><resultCode>601</resultCode>",
                              [&] {
                                return DLL_WebServiceDisconnectClientForAudio("127.0.0.1", "admin", "admin", &kAnyRequest,
                                                                              &result, &conn);
                              });
  EXPECT_EQ("<ns1:DisconnectClientForAudio></ns1:DisconnectClientForAudio>", body);
  EXPECT_FALSE(result.result);
  EXPECT_EQ(601, result.resultCode);

  IntValueRecord language = Pattern<IntValueRecord>();
  for (auto [symbol, value] : {std::pair<const char *, int>{"LANGUAGE_KOREAN", 0}, {"LANGUAGE_ENGLISH", 1}, {"7", 7}}) {
    body = Exchange("GetLanguage", std::string("<GetLanguageResult>") + symbol + "</GetLanguageResult><resultCode>3</resultCode>",
                    [&] { return DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", &kAnyRequest, &language, &conn); });
    EXPECT_EQ("<ns1:GetLanguage></ns1:GetLanguage>", body);
    EXPECT_EQ(value, language.value);
    EXPECT_EQ(3, language.resultCode);
  }

  for (auto [value, symbol] : {std::pair<int, const char *>{1, "LANGUAGE_ENGLISH"}, {0, "LANGUAGE_KOREAN"}, {9, "9"}}) {
    LanguageRequestRecord request = Pattern<LanguageRequestRecord>();
    request.language = value;
    body = Exchange("SetLanguage", "<SetLanguageResult>true</SetLanguageResult><resultCode>0</resultCode>", [&] {
      return DLL_WebServiceSetLanguage("127.0.0.1", "admin", "admin", &request, &result, &conn);
    });
    EXPECT_EQ(std::string("<ns1:SetLanguage><ns1:language>") + symbol + "</ns1:language></ns1:SetLanguage>", body);
  }
}

// Missing pointers send nothing; a fault leaves the record as it was.
TEST_F(UtilityWire, RefusedArgumentsAndFaults) {
  AudioClientRecord client = AudioClient("10.0.0.5", 5000, 1);
  CallResult result;
  FillPattern(result);
  device.Script({Reply::Status(500, Envelope("<e:Fault><faultcode>e:Server</faultcode><faultstring>no</faultstring></e:Fault>"))});
  EXPECT_EQ(-1, DLL_WebServiceConnectClientForAudio(nullptr, "admin", "admin", &client, &result, &conn));
  EXPECT_EQ(-1, DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", nullptr, &result, &conn));
  EXPECT_EQ(-1, DLL_WebServiceDisconnectClientForAudio("127.0.0.1", "admin", "admin", &kAnyRequest, nullptr, &conn));
  EXPECT_EQ(-1, DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", nullptr, nullptr, &conn));
  EXPECT_TRUE(device.Requests().empty());
  EXPECT_EQ(2, DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn));
  EXPECT_TRUE(Untouched(result));
}

// Against a device that never answers, the audio exports give up after
// 5 seconds and the language exports after the default 10, all in parallel.
TEST(UtilityTimeouts, AudioExportsFiveSecondsLanguageExportsTen) {
  FakeDevice device;
  ASSERT_TRUE(device.ok());
  device.Script({Reply::Stall()});
  struct Outcome {
    int status;
    double seconds;
    bool untouched;
  };
  auto timed = [&device](auto call) {
    return std::async(std::launch::async, [&device, call] {
      ConnectionInfo conn{0, 0, device.port(), ENDPOINT_KIND_SOAP_PATH};
      Stopwatch watch;
      return call(conn, watch);
    });
  };
  auto connect = timed([](ConnectionInfo conn, Stopwatch &watch) {
    AudioClientRecord client = AudioClient("10.0.0.5", 5000, 1);
    CallResult result;
  FillPattern(result);
    int status = DLL_WebServiceConnectClientForAudio("127.0.0.1", nullptr, nullptr, &client, &result, &conn);
    return Outcome{status, watch.Seconds(), Untouched(result)};
  });
  auto disconnect = timed([](ConnectionInfo conn, Stopwatch &watch) {
    CallResult result;
  FillPattern(result);
    int status = DLL_WebServiceDisconnectClientForAudio("127.0.0.1", nullptr, nullptr, &kAnyRequest, &result, &conn);
    return Outcome{status, watch.Seconds(), Untouched(result)};
  });
  auto getLanguage = timed([](ConnectionInfo conn, Stopwatch &watch) {
    IntValueRecord value;
  FillPattern(value);
    int status = DLL_WebServiceGetLanguage("127.0.0.1", nullptr, nullptr, &kAnyRequest, &value, &conn);
    return Outcome{status, watch.Seconds(), Untouched(value)};
  });
  auto setLanguage = timed([](ConnectionInfo conn, Stopwatch &watch) {
    LanguageRequestRecord request{};
    CallResult result;
  FillPattern(result);
    int status = DLL_WebServiceSetLanguage("127.0.0.1", nullptr, nullptr, &request, &result, &conn);
    return Outcome{status, watch.Seconds(), Untouched(result)};
  });
  for (auto *audio : {&connect, &disconnect}) {
    Outcome outcome = audio->get();
    EXPECT_EQ(29, outcome.status);
    EXPECT_GE(outcome.seconds, 4.9);
    EXPECT_LE(outcome.seconds, 7);
    EXPECT_TRUE(outcome.untouched);
  }
  for (auto *language : {&getLanguage, &setLanguage}) {
    Outcome outcome = language->get();
    EXPECT_EQ(29, outcome.status);
    EXPECT_GE(outcome.seconds, 9.9);
    EXPECT_LE(outcome.seconds, 12);
    EXPECT_TRUE(outcome.untouched);
  }
}

// ---- end to end against the simulator ----

class UtilitySim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.ready()) << "no ready line from " WS_SIM_PATH ": '" << sim.line() << "'";
    conn.port = sim.port();
  }
  void TearDown() override { EXPECT_EQ(0, sim.Stop()); }

  CallResult Connect(const char *url, int32_t port) {
    AudioClientRecord client = AudioClient(url, port, 1);
    CallResult result;
  FillPattern(result);
    EXPECT_EQ(0, DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn));
    return result;
  }
  CallResult Disconnect() {
    CallResult result;
  FillPattern(result);
    EXPECT_EQ(0, DLL_WebServiceDisconnectClientForAudio("127.0.0.1", "admin", "admin", &kAnyRequest, &result, &conn));
    return result;
  }
  CallResult SetLanguage(int32_t language) {
    LanguageRequestRecord request = Pattern<LanguageRequestRecord>();
    request.language = language;
    CallResult result;
  FillPattern(result);
    EXPECT_EQ(0, DLL_WebServiceSetLanguage("127.0.0.1", "admin", "admin", &request, &result, &conn));
    return result;
  }
  IntValueRecord GetLanguage() {
    IntValueRecord value;
  FillPattern(value);
    EXPECT_EQ(0, DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", &kAnyRequest, &value, &conn));
    return value;
  }

  Simulator sim{{"--port", "0", "--no-port81", "--user", "admin", "--password", "admin"}};
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

// One audio client slot: connect, a second connect refused, disconnect, a
// second disconnect refused, then the slot is free again; bad arguments are
// refused without taking it.
TEST_F(UtilitySim, AudioClientSlot) {
  EXPECT_EQ(5, Connect("10.0.0.5", 0).resultCode);
  EXPECT_EQ(6, Connect("", 5000).resultCode);
  CallResult result = Connect("10.0.0.5", 5000);
  EXPECT_TRUE(result.result);
  EXPECT_EQ(0, result.resultCode);
  result = Connect("10.0.0.6", 5001);
  EXPECT_FALSE(result.result);
  EXPECT_EQ(600, result.resultCode);
  EXPECT_TRUE(Disconnect().result);
  result = Disconnect();
  EXPECT_FALSE(result.result);
  EXPECT_EQ(601, result.resultCode);
  EXPECT_TRUE(Connect("10.0.0.6", 5001).result);
}

// The display language starts in English, follows SetLanguage and refuses
// a value outside the table.
TEST_F(UtilitySim, DisplayLanguage) {
  EXPECT_EQ(WS_LANGUAGE_ENGLISH, GetLanguage().value);
  EXPECT_TRUE(SetLanguage(WS_LANGUAGE_KOREAN).result);
  IntValueRecord value = GetLanguage();
  EXPECT_EQ(WS_LANGUAGE_KOREAN, value.value);
  EXPECT_EQ(0, value.resultCode);
  CallResult refused = SetLanguage(5);
  EXPECT_FALSE(refused.result);
  EXPECT_EQ(5, refused.resultCode);
  EXPECT_EQ(WS_LANGUAGE_KOREAN, GetLanguage().value);
}

}  // namespace

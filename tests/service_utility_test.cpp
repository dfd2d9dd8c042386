// The Utility service: its requests and answers on the wire, its time-outs,
// and every export against the simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <utility>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

AudioClientRecord AudioClient(const char *url, int32_t port, unsigned char tcpByte) {
  AudioClientRecord record = Pattern<AudioClientRecord>();
  std::strcpy(record.url, url);
  record.port = port;
  std::strcpy(record.userID, "listener");
  std::strcpy(record.password, "p&w");
  std::memcpy(&record.enableTcp, &tcpByte, 1);  // as a caller in another language may leave it
  return record;
}

using UtilityWire = ServiceWire;

// The audio client's members in order, enableTcp false only for a zero byte;
// the language as its symbol, or as its number outside the table, both ways.
TEST_F(UtilityWire, RequestsAndAnswers) {
  CallResult result;
  for (unsigned char tcpByte : {0, 1, 0x80}) {
    AudioClientRecord client = AudioClient("rtsp://10.0.0.5/a", 5000, tcpByte);
    EXPECT_EQ(std::string("<ns1:ConnectClientForAudio><ns1:url>rtsp://10.0.0.5/a</ns1:url><ns1:port>5000</ns1:port>"
                          "<ns1:userID>listener</ns1:userID><ns1:password>p&amp;w</ns1:password><ns1:enableTcp>") +
                  (tcpByte ? "true" : "false") + "</ns1:enableTcp></ns1:ConnectClientForAudio>",
              Exchange("ConnectClientForAudio", "<resultCode>0</resultCode>", [&] {
                return DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn);
              }));
  }
  Exchange("DisconnectClientForAudio",
           "<DisconnectClientForAudioResult>1</DisconnectClientForAudioResult><resultCode>601</resultCode>", [&] {
             return DLL_WebServiceDisconnectClientForAudio("127.0.0.1", "admin", "admin", &kAnyRequest, &result, &conn);
           });
  EXPECT_TRUE(result.result);
  EXPECT_EQ(601, result.resultCode);

  IntValueRecord language;
  for (auto [symbol, value] : {std::pair<const char *, int>{"LANGUAGE_KOREAN", 0}, {"LANGUAGE_ENGLISH", 1}, {"7", 7}}) {
    Exchange("GetLanguage", std::string("<GetLanguageResult>") + symbol + "</GetLanguageResult>",
             [&] { return DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", &kAnyRequest, &language, &conn); });
    EXPECT_EQ(value, language.value);
  }
  for (auto [value, symbol] : {std::pair<int, const char *>{1, "LANGUAGE_ENGLISH"}, {9, "9"}}) {
    LanguageRequestRecord request = Pattern<LanguageRequestRecord>();
    request.language = value;
    EXPECT_EQ(std::string("<ns1:SetLanguage><ns1:language>") + symbol + "</ns1:language></ns1:SetLanguage>",
              Exchange("SetLanguage", "<resultCode>0</resultCode>", [&] {
                return DLL_WebServiceSetLanguage("127.0.0.1", "admin", "admin", &request, &result, &conn);
              }));
  }
}

// Starts one call against a device that never answers; yields its status
// and how long it took.
template <class Request, class Response>
std::future<std::pair<int, double>> StartStalled(
    int port, int (*fn)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *),
    const Request *request) {
  return std::async(std::launch::async, [=] {
    ConnectionInfo conn{0, 0, port, ENDPOINT_KIND_SOAP_PATH};
    Response response{};
    Stopwatch watch;
    int status = fn("127.0.0.1", nullptr, nullptr, request, &response, &conn);
    return std::make_pair(status, watch.Seconds());
  });
}

// In parallel: the audio exports give up after 5 seconds, the language
// exports after the default 10.
TEST(UtilityTimeouts, AudioExportsFiveSecondsLanguageExportsTen) {
  FakeDevice device;
  ASSERT_TRUE(device.ok());
  device.Script({Reply::Stall()});
  const AudioClientRecord client = AudioClient("10.0.0.5", 5000, 1);
  const LanguageRequestRecord language{};
  std::future<std::pair<int, double>> audio[] = {
      StartStalled(device.port(), DLL_WebServiceConnectClientForAudio, &client),
      StartStalled<void, CallResult>(device.port(), DLL_WebServiceDisconnectClientForAudio, &kAnyRequest)};
  std::future<std::pair<int, double>> languages[] = {
      StartStalled<void, IntValueRecord>(device.port(), DLL_WebServiceGetLanguage, &kAnyRequest),
      StartStalled(device.port(), DLL_WebServiceSetLanguage, &language)};
  for (auto &call : audio) {
    auto [status, seconds] = call.get();
    EXPECT_EQ(29, status);
    EXPECT_GE(seconds, 4.9);
    EXPECT_LE(seconds, 7);
  }
  for (auto &call : languages) {
    auto [status, seconds] = call.get();
    EXPECT_EQ(29, status);
    EXPECT_GE(seconds, 9.9);
    EXPECT_LE(seconds, 12);
  }
}

using UtilitySim = ServiceSim;

// One audio client slot: a second connect and a second disconnect are
// refused, a bad port too; the display language starts in English.
TEST_F(UtilitySim, AudioClientSlotAndLanguage) {
  AudioClientRecord client = AudioClient("10.0.0.5", 5000, 1);
  CallResult result;
  auto connect = [&] {
    EXPECT_EQ(0, DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn));
    return result.result ? 0 : result.resultCode;
  };
  auto disconnect = [&] {
    EXPECT_EQ(0, DLL_WebServiceDisconnectClientForAudio("127.0.0.1", "admin", "admin", &kAnyRequest, &result, &conn));
    return result.result ? 0 : result.resultCode;
  };
  EXPECT_EQ(0, connect());
  EXPECT_EQ(600, connect());
  EXPECT_EQ(0, disconnect());
  EXPECT_EQ(601, disconnect());
  client.port = 0;
  EXPECT_EQ(5, connect());

  IntValueRecord value;
  auto language = [&] {
    EXPECT_EQ(0, DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", &kAnyRequest, &value, &conn));
    return value.value;
  };
  EXPECT_EQ(WS_LANGUAGE_ENGLISH, language());
  LanguageRequestRecord request{};
  for (int32_t set : {static_cast<int32_t>(WS_LANGUAGE_KOREAN), 5}) {
    request.language = set;
    ASSERT_EQ(0, DLL_WebServiceSetLanguage("127.0.0.1", "admin", "admin", &request, &result, &conn));
  }
  EXPECT_EQ(5, result.resultCode);
  EXPECT_EQ(WS_LANGUAGE_KOREAN, language());
}

}  // namespace

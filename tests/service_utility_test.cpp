// The Utility service: its requests and answers on the wire, its time-outs,
// and every export against the simulator.
#include <gtest/gtest.h>

#include <cstring>
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
              Exchange("ConnectClientForAudio", "<resultCode>0</resultCode>",
                       [&] { return Call(DLL_WebServiceConnectClientForAudio, &client, &result); }));
  }
  IntValueRecord language;
  for (auto [symbol, value] : {std::pair<const char *, int>{"LANGUAGE_KOREAN", 0}, {"LANGUAGE_ENGLISH", 1}, {"7", 7}}) {
    Exchange("GetLanguage", std::string("<GetLanguageResult>") + symbol + "</GetLanguageResult>",
             [&] { return Call(DLL_WebServiceGetLanguage, &kAnyRequest, &language); });
    EXPECT_EQ(value, language.value);
  }
  for (auto [value, symbol] : {std::pair<int, const char *>{1, "LANGUAGE_ENGLISH"}, {9, "9"}}) {
    LanguageRequestRecord request = Pattern<LanguageRequestRecord>();
    request.language = value;
    EXPECT_EQ(std::string("<ns1:SetLanguage><ns1:language>") + symbol + "</ns1:language></ns1:SetLanguage>",
              Exchange("SetLanguage", "<resultCode>0</resultCode>",
                       [&] { return Call(DLL_WebServiceSetLanguage, &request, &result); }));
  }
}

using UtilitySim = ServiceSim;

// One audio client slot: a second connect and a second disconnect are
// refused, a bad port too; the display language starts in English.
TEST_F(UtilitySim, AudioClientSlotAndLanguage) {
  AudioClientRecord client = AudioClient("10.0.0.5", 5000, 1);
  CallResult result;
  auto connect = [&] {
    EXPECT_EQ(0, Call(DLL_WebServiceConnectClientForAudio, &client, &result));
    return result.result ? 0 : result.resultCode;
  };
  auto disconnect = [&] {
    EXPECT_EQ(0, Call(DLL_WebServiceDisconnectClientForAudio, &kAnyRequest, &result));
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
    EXPECT_EQ(0, Call(DLL_WebServiceGetLanguage, &kAnyRequest, &value));
    return value.value;
  };
  EXPECT_EQ(WS_LANGUAGE_ENGLISH, language());
  LanguageRequestRecord request{};
  for (int32_t set : {static_cast<int32_t>(WS_LANGUAGE_KOREAN), 5}) {
    request.language = set;
    ASSERT_EQ(0, Call(DLL_WebServiceSetLanguage, &request, &result));
  }
  EXPECT_EQ(5, result.resultCode);
  EXPECT_EQ(WS_LANGUAGE_KOREAN, language());
}

}  // namespace

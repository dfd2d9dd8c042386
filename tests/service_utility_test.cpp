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

// Any nonzero byte of enableTcp is true, as a caller in another language may
// leave it (the golden exchanges hold the requests and the language both ways).
TEST_F(UtilityWire, AnyNonzeroTcpByteIsTrue) {
  CallResult result;
  AudioClientRecord client = AudioClient("rtsp://10.0.0.5/a", 5000, 0x80);
  AnswerFrom("ConnectClientForAudio");
  ASSERT_EQ(0, Call(DLL_WebServiceConnectClientForAudio, &client, &result));
  EXPECT_NE(std::string::npos, LastBody().find("<ns1:enableTcp>true</ns1:enableTcp>"));
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

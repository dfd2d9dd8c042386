// The Factory service: its Latin-1 texts, its requests and answers on the
// wire, and every export against the simulator.  Beside it, the other
// services' UTF-8 texts, which pass unchanged.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "service_wire.h"
#include "simulator.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

// A FactoryCommandRecord with room for a longer text, as a caller declares it.
struct FactoryCommand {
  FactoryCommandRecord record;
  char more[1023];
};

FactoryCommand Command(const char *id, const char *password, const std::string &text) {
  FactoryCommand command;
  std::memset(&command, 0xA5, sizeof command);
  std::strcpy(command.record.id, id);
  std::strcpy(command.record.password, password);
  std::strcpy(command.record.text, text.c_str());
  return command;
}

using FactoryWire = ServiceWire;

// Latin-1 both ways: 0xE9 goes out as 0xC3 0xA9 and comes back as 0xE9; an
// answer longer than the field is cut to 255 bytes; characters above 255
// fill at most the field.
TEST_F(FactoryWire, TextsTravelAsLatin1) {
  FactoryCommand command = Command("factory", "pass\xE9", "caf\xE9 <1>");
  FactoryTextRecord text;
  FillPattern(text);
  std::string body = Exchange("SendPTZCommandByPass",
                              "<SendPTZCommandByPassResult>r\xC3\xA9ponse</SendPTZCommandByPassResult><resultCode>4</resultCode>",
                              [&] {
                                return DLL_WebServiceSendPTZCommandByPass("127.0.0.1", "admin", "admin", &command.record,
                                                                          &text, &conn);
                              });
  EXPECT_EQ("<ns1:SendPTZCommandByPass><ns1:id>factory</ns1:id><ns1:password>pass\xC3\xA9</ns1:password>"
            "<ns1:command>caf\xC3\xA9 &lt;1&gt;</ns1:command></ns1:SendPTZCommandByPass>",
            body);
  EXPECT_STREQ("r\xE9ponse", text.text);
  EXPECT_EQ(4, text.resultCode);

  auto getSerial = [&](const std::string &serial, FactoryTextRecord &out) {
    Exchange("GetSerial", "<GetSerialResult>" + serial + "</GetSerialResult><resultCode>0</resultCode>",
             [&] { return DLL_WebServiceGetSerial("127.0.0.1", "admin", "admin", &kAnyRequest, &out, &conn); });
  };
  getSerial("SN\xC3\xA9" + std::string(297, '7'), text);
  EXPECT_EQ("SN\xE9" + std::string(252, '7'), text.text);

  // A guard behind the record shows whether anything was written past it.
  struct {
    FactoryTextRecord record;
    char guard[64];
  } guarded;
  std::memset(&guarded, 0xA5, sizeof guarded);
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += "\xE2\x82\xAC";  // U+20AC
  getSerial(wide, guarded.record);
  EXPECT_LE(strnlen(guarded.record.text, sizeof guarded.record.text), 255u);
  EXPECT_EQ(0, guarded.record.resultCode);
  EXPECT_EQ(std::string(sizeof guarded.guard, '\xA5'), std::string(guarded.guard, sizeof guarded.guard));
}

// The other services send and keep UTF-8 bytes as they are: a request text
// goes out unchanged and an answer's bytes come back unchanged.
TEST_F(FactoryWire, OtherServicesPassUtf8Unchanged) {
  const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC";
  AudioClientRecord client{};
  std::strcpy(client.url, utf8.c_str());
  client.port = 1;
  CallResult result;
  std::string body = Exchange("ConnectClientForAudio", "<resultCode>0</resultCode>", [&] {
    return DLL_WebServiceConnectClientForAudio("127.0.0.1", "admin", "admin", &client, &result, &conn);
  });
  EXPECT_NE(std::string::npos, body.find("<ns1:url>" + utf8 + "</ns1:url>"));

  UserRequestRecord request{};
  std::strcpy(request.user.userID, utf8.c_str());
  UserResponseRecord user;
  FillPattern(user);
  body = Exchange("GetUser",
                  "<GetUserResult><userID>" + utf8 + "</userID><password>p\xC3\xA9</password></GetUserResult>",
                  [&] { return DLL_WebServiceGetUser("127.0.0.1", "admin", "admin", &request, &user, &conn); });
  EXPECT_NE(std::string::npos, body.find("<ns1:userID>" + utf8 + "</ns1:userID>"));
  EXPECT_EQ(utf8, user.userID);
  EXPECT_STREQ("p\xC3\xA9", user.password);

  ParameterListRecord list{0, nullptr, -1};
  body = Exchange("GetFunctionMap",
                  "<GetFunctionMapResult><Parameter_T><key>k</key><value>" + utf8 +
                      "</value></Parameter_T></GetFunctionMapResult><resultCode>0</resultCode>",
                  [&] { return DLL_WebServiceGetFunctionMap("127.0.0.1", "admin", "admin", utf8.c_str(), &list, &conn); });
  EXPECT_NE(std::string::npos, body.find("<ns1:category>" + utf8 + "</ns1:category>"));
  ASSERT_EQ(1, list.count);
  EXPECT_EQ(utf8, list.items[0].value);
  WebService_FreeItems(list.items);
}

// The members of every request in order; one ns1:string per key and an
// empty key list for none; the parameter-list rule of the answer.
TEST_F(FactoryWire, RequestsAndAnswers) {
  FactoryCommand command = Command("factory", "secret", "serialNumber=SN-1;" + std::string(600, 'x'));
  CallResult result;
  FillPattern(result);
  std::string body = Exchange("SetDefaultSetting",
                              "<SetDefaultSettingResult>true</SetDefaultSettingResult><resultCode>0</resultCode>", [&] {
                                return DLL_WebServiceSetDefaultSetting("127.0.0.1", "admin", "admin", &command.record,
                                                                       &result, &conn);
                              });
  EXPECT_EQ("<ns1:SetDefaultSetting><ns1:id>factory</ns1:id><ns1:password>secret</ns1:password><ns1:settings>"
            "serialNumber=SN-1;" + std::string(600, 'x') + "</ns1:settings></ns1:SetDefaultSetting>",
            body);
  EXPECT_TRUE(result.result);

  const std::string twoItems =
      "<GetDefaultSettingResult><Parameter_T><key>a</key><value>1</value></Parameter_T>"
      "<Parameter_T><value>" + std::string(300, 'v') + "</value></Parameter_T></GetDefaultSettingResult>"
      "<resultCode>0</resultCode>";
  const char *names[] = {"a", "b&c"};
  KeyListRecord keys{2, names};
  ParameterListRecord list{-1, nullptr, -1};
  auto getDefaults = [&] { return DLL_WebServiceGetDefaultSetting("127.0.0.1", "admin", "admin", &keys, &list, &conn); };
  body = Exchange("GetDefaultSetting", twoItems, getDefaults);
  EXPECT_EQ("<ns1:GetDefaultSetting><ns1:key><ns1:string>a</ns1:string><ns1:string>b&amp;c</ns1:string></ns1:key>"
            "</ns1:GetDefaultSetting>",
            body);
  ASSERT_EQ(2, list.count);
  EXPECT_STREQ("a", list.items[0].key);
  EXPECT_STREQ("1", list.items[0].value);
  EXPECT_STREQ("", list.items[1].key);
  EXPECT_EQ(std::string(255, 'v'), list.items[1].value);
  WebService_FreeItems(list.items);

  // No keys: the empty list still goes out; an empty answer list writes
  // count 0 and leaves items; a refusal leaves count and items.
  keys = KeyListRecord{0, nullptr};
  list = ParameterListRecord{-1, nullptr, -1};
  body = Exchange("GetDefaultSetting", "<GetDefaultSettingResult/><resultCode>0</resultCode>", getDefaults);
  EXPECT_EQ("<ns1:GetDefaultSetting><ns1:key></ns1:key></ns1:GetDefaultSetting>", body);
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(nullptr, list.items);
  list = ParameterListRecord{-1, nullptr, -1};
  Exchange("GetDefaultSetting", "<GetDefaultSettingResult><Parameter_T><key>a</key></Parameter_T></GetDefaultSettingResult>"
                                "<resultCode>611</resultCode>", getDefaults);
  EXPECT_EQ(-1, list.count);
  EXPECT_EQ(611, list.resultCode);

  for (auto start : {true, false}) {
    const char *op = start ? "AudioBypassStart" : "AudioBypassStop";
    const int32_t channel = start ? 3 : -2;
    FillPattern(result);
    body = Exchange(op, std::string("<") + op + "Result>true</" + op + "Result><resultCode>0</resultCode>", [&] {
      return (start ? DLL_WebServiceAudioBypassStart : DLL_WebServiceAudioBypassStop)("127.0.0.1", "admin", "admin",
                                                                                      &channel, &result, &conn);
    });
    EXPECT_EQ(std::string("<ns1:") + op + "><ns1:audioChannel>" + std::to_string(channel) + "</ns1:audioChannel></ns1:" +
                  op + ">",
              body);
    EXPECT_TRUE(result.result);
  }

  // A text result that is missing leaves the text; the code is written.
  FactoryTextRecord serial;
  FillPattern(serial);
  body = Exchange("GetSerial", "<resultCode>9</resultCode>",
                  [&] { return DLL_WebServiceGetSerial("127.0.0.1", "admin", "admin", &kAnyRequest, &serial, &conn); });
  EXPECT_EQ("<ns1:GetSerial></ns1:GetSerial>", body);
  EXPECT_EQ(std::string(sizeof serial.text, '\xA5'), std::string(serial.text, sizeof serial.text));
  EXPECT_EQ(9, serial.resultCode);

  body = Exchange("ResetFactory", "<ResetFactoryResult>1</ResetFactoryResult><resultCode>0</resultCode>",
                  [&] { return DLL_WebServiceResetFactory("127.0.0.1", "admin", "admin", &kAnyRequest, &result, &conn); });
  EXPECT_EQ("<ns1:ResetFactory></ns1:ResetFactory>", body);
  EXPECT_TRUE(result.result);
}

// Missing pointers, a negative count or keys missing for a positive count
// send nothing.
TEST_F(FactoryWire, RefusedArguments) {
  ParameterListRecord list{0, nullptr, 0};
  KeyListRecord negative{-1, nullptr}, missing{2, nullptr};
  EXPECT_EQ(-1, DLL_WebServiceGetDefaultSetting("127.0.0.1", "admin", "admin", &negative, &list, &conn));
  EXPECT_EQ(-1, DLL_WebServiceGetDefaultSetting("127.0.0.1", "admin", "admin", &missing, &list, &conn));
  const int32_t channel = 1;
  CallResult result;
  EXPECT_EQ(-1, DLL_WebServiceAudioBypassStart("127.0.0.1", "admin", "admin", nullptr, &result, &conn));
  EXPECT_EQ(-1, DLL_WebServiceAudioBypassStop(nullptr, "admin", "admin", &channel, &result, &conn));
  EXPECT_EQ(-1, DLL_WebServiceResetFactory("127.0.0.1", "admin", "admin", &kAnyRequest, nullptr, &conn));
  EXPECT_TRUE(device.Requests().empty());
}

// ---- end to end against the simulator ----

class FactorySim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.ready()) << "no ready line from " WS_SIM_PATH ": '" << sim.line() << "'";
    conn.port = sim.port();
  }
  void TearDown() override { EXPECT_EQ(0, sim.Stop()); }

  CallResult SetDefaults(const std::string &settings, const char *password = "factory") {
    FactoryCommand command = Command("factory", password, settings);
    CallResult result;
    EXPECT_EQ(0, DLL_WebServiceSetDefaultSetting("127.0.0.1", "admin", "admin", &command.record, &result, &conn));
    return result;
  }
  // The asked settings as "key=value;" texts, or the result code when refused.
  std::string Defaults(std::vector<const char *> keys) {
    KeyListRecord request{static_cast<int32_t>(keys.size()), keys.data()};
    ParameterListRecord list{0, nullptr, -1};
    EXPECT_EQ(0, DLL_WebServiceGetDefaultSetting("127.0.0.1", "admin", "admin", &request, &list, &conn));
    if (list.resultCode) return "refused " + std::to_string(list.resultCode);
    std::string text;
    for (int i = 0; i < list.count; ++i) text += std::string(list.items[i].key) + "=" + list.items[i].value + ";";
    WebService_FreeItems(list.items);
    return text;
  }
  FactoryTextRecord Serial() {
    FactoryTextRecord serial{};
    EXPECT_EQ(0, DLL_WebServiceGetSerial("127.0.0.1", "admin", "admin", &kAnyRequest, &serial, &conn));
    return serial;
  }
  CallResult Bypass(bool start, int32_t channel) {
    CallResult result;
    EXPECT_EQ(0, (start ? DLL_WebServiceAudioBypassStart : DLL_WebServiceAudioBypassStop)("127.0.0.1", "admin", "admin",
                                                                                           &channel, &result, &conn));
    return result;
  }

  Simulator sim{{"--port", "0", "--no-port81", "--user", "admin", "--password", "admin"}};
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

// A technician writes the serial number and defaults with a Latin-1 text,
// reads them back byte for byte, and is refused without the factory identity
// or with a malformed text.
TEST_F(FactorySim, DefaultSettingsAndSerialNumber) {
  FactoryTextRecord serial = Serial();
  EXPECT_STREQ("SIM-000001", serial.text);
  EXPECT_EQ(0, serial.resultCode);

  CallResult result = SetDefaults("serialNumber=SN-\xE9" "42;region=Qu\xE9" "bec\nmodelName=cam");
  EXPECT_TRUE(result.result);
  EXPECT_EQ(0, result.resultCode);
  EXPECT_STREQ("SN-\xE9" "42", Serial().text);
  EXPECT_EQ("region=Qu\xE9" "bec;serialNumber=SN-\xE9" "42;", Defaults({"region", "serialNumber"}));
  EXPECT_EQ("serialNumber=SN-\xE9" "42;modelName=cam;videoStandard=NTSC;ipAddress=192.168.1.100;language=ENGLISH;"
            "region=Qu\xE9" "bec;",
            Defaults({}));
  EXPECT_EQ("refused 611", Defaults({"serialNumber", "nothing"}));

  EXPECT_EQ(610, SetDefaults("serialNumber=X", "wrong").resultCode);
  EXPECT_EQ(612, SetDefaults("serialNumber").resultCode);
  EXPECT_EQ(612, SetDefaults("=X").resultCode);
  EXPECT_STREQ("SN-\xE9" "42", Serial().text);

  // The PTZ head acknowledges a command, Latin-1 and all.
  FactoryCommand command = Command("factory", "factory", "\xFF\x01 go \xE9");
  FactoryTextRecord answer{};
  ASSERT_EQ(0, DLL_WebServiceSendPTZCommandByPass("127.0.0.1", "admin", "admin", &command.record, &answer, &conn));
  EXPECT_STREQ("ACK \xFF\x01 go \xE9", answer.text);
  command = Command("someone", "factory", "go");
  ASSERT_EQ(0, DLL_WebServiceSendPTZCommandByPass("127.0.0.1", "admin", "admin", &command.record, &answer, &conn));
  EXPECT_EQ(610, answer.resultCode);
}

// Audio pass-through per channel: a second start or stop is refused, and a
// channel the device lacks too.
TEST_F(FactorySim, AudioPassThrough) {
  EXPECT_TRUE(Bypass(true, 2).result);
  CallResult again = Bypass(true, 2);
  EXPECT_FALSE(again.result);
  EXPECT_EQ(613, again.resultCode);
  EXPECT_TRUE(Bypass(true, 1).result);
  EXPECT_TRUE(Bypass(false, 2).result);
  EXPECT_EQ(614, Bypass(false, 2).resultCode);
  EXPECT_EQ(3, Bypass(true, 5).resultCode);
}

// The factory reset brings back the seeded device: the serial number and
// defaults, the display language, the running pass-through and the accounts.
TEST_F(FactorySim, ResetReturnsTheSeededDevice) {
  ASSERT_TRUE(SetDefaults("serialNumber=CHANGED;extra=1").result);
  ASSERT_TRUE(Bypass(true, 1).result);
  LanguageRequestRecord language{};
  language.language = WS_LANGUAGE_KOREAN;
  CallResult result;
  ASSERT_EQ(0, DLL_WebServiceSetLanguage("127.0.0.1", "admin", "admin", &language, &result, &conn));
  UserRequestRecord user{};
  std::strcpy(user.user.userID, "installer");
  ASSERT_EQ(0, DLL_WebServiceAddUser("127.0.0.1", "admin", "admin", &user, &result, &conn));

  FillPattern(result);
  ASSERT_EQ(0, DLL_WebServiceResetFactory("127.0.0.1", "admin", "admin", &kAnyRequest, &result, &conn));
  EXPECT_TRUE(result.result);
  EXPECT_EQ(0, result.resultCode);

  EXPECT_STREQ("SIM-000001", Serial().text);
  EXPECT_EQ("refused 611", Defaults({"extra"}));
  EXPECT_TRUE(Bypass(true, 1).result);
  IntValueRecord value{};
  ASSERT_EQ(0, DLL_WebServiceGetLanguage("127.0.0.1", "admin", "admin", &kAnyRequest, &value, &conn));
  EXPECT_EQ(WS_LANGUAGE_ENGLISH, value.value);
  UserResponseRecord found{};
  ASSERT_EQ(0, DLL_WebServiceGetUser("127.0.0.1", "admin", "admin", &user, &found, &conn));
  EXPECT_EQ(2, found.resultCode);
}

}  // namespace

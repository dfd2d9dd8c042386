// The Factory service: its Latin-1 texts beside the UTF-8 texts of the other
// services, its requests and answers on the wire, and every export against
// the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "service_test.h"
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
  // The text runs on past the record's one declared byte, into more.
  std::memcpy(reinterpret_cast<char *>(&command) + offsetof(FactoryCommandRecord, text), text.c_str(),
              std::min(text.size() + 1, sizeof command.more + 1));
  return command;
}

using FactoryWire = ServiceWire;

// Latin-1 both ways: 0xE9 goes out as 0xC3 0xA9 and comes back as 0xE9; a
// longer answer is cut to 255 bytes; characters above 255 stay in the field.
// The other services pass UTF-8 bytes unchanged both ways.
TEST_F(FactoryWire, FactoryTextsAreLatin1OthersUtf8) {
  FactoryCommand command = Command("factory", "pass\xE9", "caf\xE9 <1>");
  FactoryTextRecord text;
  EXPECT_EQ("<ns1:SendPTZCommandByPass><ns1:id>factory</ns1:id><ns1:password>pass\xC3\xA9</ns1:password>"
            "<ns1:command>caf\xC3\xA9 &lt;1&gt;</ns1:command></ns1:SendPTZCommandByPass>",
            Exchange("SendPTZCommandByPass",
                     "<SendPTZCommandByPassResult>r\xC3\xA9ponse</SendPTZCommandByPassResult><resultCode>4</resultCode>",
                     [&] {
                       return DLL_WebServiceSendPTZCommandByPass("127.0.0.1", "admin", "admin", &command.record, &text,
                                                                 &conn);
                     }));
  EXPECT_STREQ("r\xE9ponse", text.text);
  EXPECT_EQ(4, text.resultCode);

  struct {
    FactoryTextRecord record;
    char guard[64];  // shows whether anything was written past the record
  } serial;
  std::memset(&serial, 0xA5, sizeof serial);
  auto getSerial = [&](const std::string &answer) {
    Exchange("GetSerial", "<GetSerialResult>" + answer + "</GetSerialResult><resultCode>0</resultCode>",
             [&] { return Call(DLL_WebServiceGetSerial, &kAnyRequest, &serial.record); });
  };
  getSerial("SN\xC3\xA9" + std::string(297, '7'));
  EXPECT_EQ("SN\xE9" + std::string(252, '7'), serial.record.text);
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += "\xE2\x82\xAC";  // U+20AC
  getSerial(wide);
  EXPECT_LE(strnlen(serial.record.text, sizeof serial.record.text), 255u);
  EXPECT_EQ(0, serial.record.resultCode);
  EXPECT_EQ(std::string(sizeof serial.guard, '\xA5'), std::string(serial.guard, sizeof serial.guard));

  const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC";
  UserRequestRecord request{};
  std::strcpy(request.user.userID, utf8.c_str());
  UserResponseRecord user;
  EXPECT_EQ("<ns1:GetUser><ns1:userID>" + utf8 + "</ns1:userID></ns1:GetUser>",
            Exchange("GetUser", "<GetUserResult><userID>" + utf8 + "</userID></GetUserResult>",
                     [&] { return Call(DLL_WebServiceGetUser, &request, &user); }));
  EXPECT_EQ(utf8, user.userID);
  AudioClientRecord client{};
  std::strcpy(client.url, utf8.c_str());
  CallResult result;
  EXPECT_NE(std::string::npos, Exchange("ConnectClientForAudio", "<resultCode>0</resultCode>", [&] {
                                 return Call(DLL_WebServiceConnectClientForAudio, &client, &result);
                               }).find("<ns1:url>" + utf8 + "</ns1:url>"));
}

// The parameter-list rule of the default settings: a refusal leaves count;
// a negative count, or keys missing for a positive one, sends nothing.  (The
// golden exchanges hold the requests and answers.)
TEST_F(FactoryWire, DefaultSettingRefusals) {
  const char *names[] = {"a", "b&c"};
  KeyListRecord keys{2, names};
  ParameterListRecord list{-1, nullptr, -1};
  auto getDefaults = [&] { return Call(DLL_WebServiceGetDefaultSetting, &keys, &list); };
  list.count = -1;
  Exchange("GetDefaultSetting", "<GetDefaultSettingResult><Parameter_T/></GetDefaultSettingResult><resultCode>611</resultCode>",
           getDefaults);
  EXPECT_EQ(-1, list.count);
  EXPECT_EQ(611, list.resultCode);
  // A negative count, or keys missing for a positive one, sends nothing.
  keys = KeyListRecord{-1, names};
  EXPECT_EQ(-1, getDefaults());
  keys = KeyListRecord{1, nullptr};
  EXPECT_EQ(-1, getDefaults());
}

using FactorySim = ServiceSim;

// A technician writes the serial number and defaults with Latin-1 texts and
// reads them back byte for byte, passes a PTZ command and runs the audio
// pass-through; the factory reset brings back the seeded device, settings of
// the other services included.
TEST_F(FactorySim, FactoryWork) {
  CallResult result;
  auto setDefaults = [&](const char *password, const std::string &settings) {
    FactoryCommand command = Command("factory", password, settings);
    EXPECT_EQ(0, Call(DLL_WebServiceSetDefaultSetting, &command.record, &result));
    return result.result ? 0 : result.resultCode;
  };
  auto defaults = [&](std::vector<const char *> names) {  // "key=value;" each, or the refusal's code
    KeyListRecord keys{static_cast<int32_t>(names.size()), names.data()};
    ParameterListRecord list{0, nullptr, -1};
    EXPECT_EQ(0, Call(DLL_WebServiceGetDefaultSetting, &keys, &list));
    std::string text = list.resultCode ? std::to_string(list.resultCode) : "";
    for (int i = 0; i < list.count; ++i) text += std::string(list.items[i].key) + "=" + list.items[i].value + ";";
    WebService_FreeItems(list.items);
    return text;
  };
  auto serial = [&] {
    FactoryTextRecord text{};
    EXPECT_EQ(0, Call(DLL_WebServiceGetSerial, &kAnyRequest, &text));
    return std::string(text.text);
  };
  auto bypass = [&](auto fn, int32_t channel) {
    EXPECT_EQ(0, fn("127.0.0.1", "admin", "admin", &channel, &result, &conn));
    return result.result ? 0 : result.resultCode;
  };

  EXPECT_EQ("SIM-000001", serial());
  EXPECT_EQ(0, setDefaults("factory", "serialNumber=SN-\xE9" "42;region=Qu\xE9" "bec\nmodelName=cam"));
  EXPECT_EQ("SN-\xE9" "42", serial());
  EXPECT_EQ("region=Qu\xE9" "bec;modelName=cam;", defaults({"region", "modelName"}));
  EXPECT_EQ("serialNumber=SN-\xE9" "42;modelName=cam;videoStandard=NTSC;ipAddress=192.168.1.100;language=ENGLISH;"
            "region=Qu\xE9" "bec;",
            defaults({}));
  EXPECT_EQ("611", defaults({"serialNumber", "nothing"}));
  EXPECT_EQ(610, setDefaults("wrong", "serialNumber=X"));
  EXPECT_EQ(612, setDefaults("factory", "serialNumber"));

  FactoryCommand command = Command("factory", "factory", "\xFF\x01 go \xE9");
  FactoryTextRecord answer{};
  ASSERT_EQ(0, Call(DLL_WebServiceSendPTZCommandByPass, &command.record, &answer));
  EXPECT_STREQ("ACK \xFF\x01 go \xE9", answer.text);

  EXPECT_EQ(0, bypass(DLL_WebServiceAudioBypassStart, 2));
  EXPECT_EQ(613, bypass(DLL_WebServiceAudioBypassStart, 2));
  EXPECT_EQ(0, bypass(DLL_WebServiceAudioBypassStop, 2));
  EXPECT_EQ(614, bypass(DLL_WebServiceAudioBypassStop, 2));
  EXPECT_EQ(3, bypass(DLL_WebServiceAudioBypassStart, 5));
  EXPECT_EQ(0, bypass(DLL_WebServiceAudioBypassStart, 1));

  UserRequestRecord user{};
  std::strcpy(user.user.userID, "installer");
  ASSERT_EQ(0, Call(DLL_WebServiceAddUser, &user, &result));
  ASSERT_EQ(0, Call(DLL_WebServiceResetFactory, &kAnyRequest, &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ("SIM-000001", serial());
  EXPECT_EQ("611", defaults({"region"}));
  EXPECT_EQ(0, bypass(DLL_WebServiceAudioBypassStart, 1));
  UserResponseRecord found{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetUser, &user, &found));
  EXPECT_EQ(2, found.resultCode);
}

}  // namespace

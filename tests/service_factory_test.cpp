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

// Latin-1 requests: 0xE9 goes out as 0xC3 0xA9 (a JSON request cannot hold
// the byte; the golden exchanges hold the answers both ways and the other
// services' UTF-8).  A serial number written never runs past its record.
TEST_F(FactoryWire, Latin1RequestsAndAnswersInTheirField) {
  FactoryCommand command = Command("factory", "pass\xE9", "caf\xE9 <1>");
  FactoryTextRecord text;
  AnswerFrom("SendPTZCommandByPass", "a Latin-1 answer");
  ASSERT_EQ(0, DLL_WebServiceSendPTZCommandByPass("127.0.0.1", "admin", "admin", &command.record, &text, &conn));
  EXPECT_EQ("<ns1:SendPTZCommandByPass><ns1:id>factory</ns1:id><ns1:password>pass\xC3\xA9</ns1:password>"
            "<ns1:command>caf\xC3\xA9 &lt;1&gt;</ns1:command></ns1:SendPTZCommandByPass>",
            LastBody());
  EXPECT_STREQ("r\xE9ponse", text.text);

  struct {
    FactoryTextRecord record;
    char guard[64];  // shows whether anything was written past the record
  } serial;
  std::memset(&serial, 0xA5, sizeof serial);
  for (const char *label : {"a long Latin-1 answer cut to 255 bytes", "characters above 255"}) {
    AnswerFrom("GetSerial", label);
    ASSERT_EQ(0, Call(DLL_WebServiceGetSerial, &kAnyRequest, &serial.record));
    EXPECT_LE(strnlen(serial.record.text, sizeof serial.record.text), 255u);
  }
  EXPECT_EQ(std::string(sizeof serial.guard, '\xA5'), std::string(serial.guard, sizeof serial.guard));
}

// A negative count, or keys missing for a positive one, sends nothing.
TEST_F(FactoryWire, DefaultSettingRefusals) {
  const char *names[] = {"a", "b&c"};
  ParameterListRecord list{-1, nullptr, -1};
  KeyListRecord keys{-1, names};
  EXPECT_EQ(-1, Call(DLL_WebServiceGetDefaultSetting, &keys, &list));
  keys = KeyListRecord{1, nullptr};
  EXPECT_EQ(-1, Call(DLL_WebServiceGetDefaultSetting, &keys, &list));
  EXPECT_TRUE(device.Requests().empty());
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

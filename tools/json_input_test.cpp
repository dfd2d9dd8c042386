// Hostile JSON through every reader of wsctl: the shared parser, the request
// records (--json-in, restore's writes) and the fleet inventory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/codec.h"
#include "tools/json_input.h"
#include "tools/session.h"

namespace wsctl {
namespace {

std::string Deep(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

// Each hostile value is refused by every reader with the reason given, the
// value placed where that reader would take it (a user's ID, a device's host).
TEST(JsonInput, EveryReaderRefusesHostileInput) {
  const struct {
    std::string value, reason;
  } cases[] = {
      {"1e400", "a number is out of range"},
      {"-1e400", "a number is out of range"},
      {Deep(100000), "nests deeper than 64 levels"},
      {"\"user1\\u0000x\"", "NUL"},
      {"\"\xff\xfe\"", "does not parse"},
      {"\"\xed\xa0\x80\"", "does not parse"},  // a surrogate written as UTF-8
      {"\"unterminated", "does not parse"},
  };
  const RecordDesc &removeUser = FindOperation("RemoveUser")->request();
  for (const auto &c : cases) {
    nlohmann::json parsed;
    EXPECT_NE(wsjson::Parse(c.value, &parsed).find(c.reason), std::string::npos) << c.value.substr(0, 20);
    RecordBuffer record(removeUser.size);
    EXPECT_NE(FromJson(removeUser, record, R"({"user": {"userID": )" + c.value + "}}").find(c.reason),
              std::string::npos)
        << c.value.substr(0, 20);
    EXPECT_EQ(static_cast<const char *>(record.data())[0], '\0');  // nothing taken
    std::vector<Device> devices;
    EXPECT_NE(ReadInventory(R"([{"host": )" + c.value + R"(, "password": "secret"}])", Device(), devices).find(c.reason),
              std::string::npos)
        << c.value.substr(0, 20);
    EXPECT_TRUE(devices.empty());
  }
}

// Values that parse but do not fit their field, given as parsed JSON (as
// restore does): refused with the path named, never wrapped or cut.
TEST(JsonInput, RecordsTakeOnlyWhatFitsTheirFields) {
  auto request = [](const char *operation) { return &FindOperation(operation)->request(); };
  const struct {
    const RecordDesc *desc;
    nlohmann::json value;
    std::string error;
  } cases[] = {
      {request("RemoveUser"), {{"user", {{"userID", std::string("user1\0x", 7)}}}}, "'user.userID': the text holds a NUL"},
      {&FindOperation("GetLogs")->response(), {{"text", std::string("A\0B", 3)}}, "'text': the text holds a NUL"},
      {request("GetUser"), {{"user", {{"userID", "bob"}, {"userLevel", 4294967297LL}}}}, "'user.userLevel': expected a 32-bit integer or a UserLevel symbol"},
      {request("GetUser"), {{"user", {{"userLevel", std::string("1\0", 2)}}}}, "'user.userLevel': expected a 32-bit integer"},
      {request("SetTTL"), {{"value", -2147483649LL}}, "'value': expected a 32-bit integer"},
      {request("SetSessionConfig"), {{"config", {{"enableAnonymous", 2}}}}, "'config.enableAnonymous': expected true or false"},
      {request("AddUser"), {{"user", {{"password", {{"secret", 1}}}}}}, "'user.password': expected a text, got an object"},
  };
  for (const auto &c : cases) {
    RecordBuffer record(c.desc->size);
    const std::string error = FromJsonValue(*c.desc, record, c.value);
    EXPECT_NE(error.find(c.error), std::string::npos) << c.desc->name << ": " << error;
    EXPECT_EQ(error.find("secret"), std::string::npos) << error;
  }
}

// A refused inventory entry is named by its place and host and what is wrong
// with it; its credentials never appear.
TEST(JsonInput, InventoryEntriesAreCheckedWithoutShowingCredentials) {
  const std::string good = R"({"host": "10.0.0.1", "port": 8080, "kind": 2, "https": true, "user": "u", "password": "secret"}, )";
  const struct {
    std::string entry, error;
  } cases[] = {
      {R"({"host": "10.0.0.2", "port": "80", "password": "secret"})", "entry 2 of 2 (host 10.0.0.2): port: not a number"},
      {R"({"host": "10.0.0.2", "port": 4294967376, "password": "secret"})", "port: out of range (1 to 65535)"},
      {R"({"host": "10.0.0.2", "port": 0})", "port: out of range (1 to 65535)"},
      {R"({"host": "10.0.0.2", "kind": 3})", "kind: out of range (0 to 2)"},
      {R"({"host": "10.0.0.2", "https": "yes"})", "https: not true or false"},
      {R"({"host": "10.0.0.2", "user": "admin", "password": 5})", "password: not a text"},
      {R"({"host": "10.0.0.2", "pasword": "secret"})", "unknown member 'pasword'"},
      {R"({"port": 80, "user": "admin", "password": "secret"})", "entry 2 of 2: has no host text"},
      {R"({"host": "a b", "password": "secret"})", "entry 2 of 2: the host holds a space"},
      {R"("10.0.0.2")", "entry 2 of 2: is not an object"},
  };
  for (const auto &c : cases) {
    std::vector<Device> devices;
    const std::string error = ReadInventory("[" + good + c.entry + "]", Device(), devices);
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(error.find("secret"), std::string::npos) << error;
  }
  std::vector<Device> devices;
  ASSERT_EQ(ReadInventory("[" + good + R"({"host": "10.0.0.2"}])", Device(), devices), "");
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].conn.port, 8080);
  EXPECT_EQ(devices[0].conn.endpointKind, 2);
  EXPECT_EQ(devices[0].conn.useHttps, 1);
  EXPECT_EQ(devices[0].password, "secret");
  EXPECT_FALSE(devices[1].credentials);

  // The line format holds hosts to the same rule.
  for (const char *text : {"10.0.0.\xff:80\n", "\x01host\n"}) {
    devices.clear();
    EXPECT_NE(ReadInventory(text, Device(), devices).find("inventory line 1: the host"), std::string::npos) << text;
  }
}

// Output never throws and is always valid JSON, whatever bytes a device or
// a user gave.
TEST(JsonInput, OutputOfForeignBytesIsValidJson) {
  for (const std::string &bytes : {std::string("\xed\xa0\x80"), std::string("\xf4\x90\x80\x80"),
                                   std::string("\xe0\x80\xaf"), std::string("ok \xff")}) {
    EXPECT_FALSE(nlohmann::json::parse(JsonString(bytes.c_str(), bytes.size()), nullptr, false).is_discarded());
    EXPECT_FALSE(wsjson::IsUtf8(bytes));
    EXPECT_TRUE(wsjson::IsUtf8(wsjson::Utf8(bytes)));
    EXPECT_NO_THROW(wsjson::Print(nlohmann::json{{"device", bytes}}));
  }
  EXPECT_EQ(wsjson::Utf8("h\xc3\xa9 \xff"), "h\xc3\xa9 \xef\xbf\xbd");
}

}  // namespace
}  // namespace wsctl

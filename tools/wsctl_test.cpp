#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/records.h"
#include "tools/codec.h"
#include "core/describe.h"

namespace wsctl {
namespace {

// A schedule list shaped like those of the scheduling services: items that
// hold item lists of their own (records, enumeration values, fixed texts and
// texts of any length) and a fixed array of records.
struct TestNotify {
  int32_t type;
  char id[8];
};
struct TestSchedule {
  int32_t id;
  int32_t notifyCount;
  TestNotify *notifies;
  TimeSlotRecord slots[2];
  int32_t weekCount;
  int32_t *weeks;
  int32_t nameCount;
  char (*names)[8];
  int32_t noteCount;
  char **notes;
};
struct TestScheduleList {
  int32_t count;
  TestSchedule *items;
  int32_t resultCode;
};

}  // namespace

WSCTL_RECORD(TestNotify, E(type, EventNotify), F(id))
WSCTL_RECORD(TestSchedule, F(id), F(notifyCount), L(notifies, notifyCount), F(slots), F(weekCount),
             EL(weeks, weekCount, Week), F(nameCount), L(names, nameCount), F(noteCount), L(notes, noteCount))
WSCTL_RECORD(TestScheduleList, F(count), L(items, count), F(resultCode))

namespace {

const RecordDesc &RequestOf(const char *operation) { return FindOperation(operation)->request(); }
const RecordDesc &ResponseOf(const char *operation) { return FindOperation(operation)->response(); }

TEST(SetField, DottedPathsReachNestedRecordsAndArrayElements) {
  SessionConfigRequestRecord session{};
  const RecordDesc &desc = RequestOf("SetSessionConfig");
  EXPECT_EQ(SetField(desc, &session, "config.maxRTPStreamTime.2.minute", "30"), "");
  EXPECT_EQ(SetField(desc, &session, "config.enableAnonymous", "true"), "");
  EXPECT_EQ(session.config.maxRTPStreamTime[2].minute, 30);
  EXPECT_EQ(session.config.maxRTPStreamTime[1].minute, 0);
  EXPECT_TRUE(session.config.enableAnonymous);

  SessionConfigRequestRecord before = session;
  for (const char *bad : {"config.maxRTPStreamTime.4.hour", "config.maxRTPStreamTime.-1.hour",
                          "config.maxRTPStreamTime.hour", "config", "config.enableAnonymous.x", "prefix",
                          "config..hour", ""})
    EXPECT_NE(SetField(desc, &session, bad, "1"), "") << bad;
  EXPECT_EQ(std::memcmp(&before, &session, sizeof session), 0);

  UserRequestRecord user{};
  std::string error = SetField(RequestOf("AddUser"), &user, "user.name", "bob");
  EXPECT_NE(error.find("unknown field 'user.name'"), std::string::npos) << error;
  EXPECT_NE(error.find("user.userID, user.password, user.userLevel"), std::string::npos) << error;
  EXPECT_NE(SetField(RequestOf("GetUserList"), &user, "text", "x").find("takes no fields"), std::string::npos);
}

TEST(SetField, TextMustFitItsArray) {
  UserRequestRecord user{};
  const RecordDesc &desc = RequestOf("AddUser");
  ASSERT_EQ(SetField(desc, &user, "user.password", "secret"), "");
  EXPECT_EQ(SetField(desc, &user, "user.userID", std::string(99, 'a')), "");
  EXPECT_EQ(std::strlen(user.user.userID), 99u);
  EXPECT_NE(SetField(desc, &user, "user.userID", std::string(100, 'b')).find("at most 99 bytes"),
            std::string::npos);
  EXPECT_EQ(user.user.userID[0], 'a');
  EXPECT_STREQ(user.user.password, "secret");

  // The bare text request is a buffer of its own declared size.
  const RecordDesc &text = RequestOf("GetFunctionMap");
  RecordBuffer buffer(text.size);
  EXPECT_EQ(SetField(text, buffer.data(), "text", std::string(text.size - 1, 'v')), "");
  EXPECT_NE(SetField(text, buffer.data(), "text", std::string(text.size, 'v')), "");
  EXPECT_EQ(std::strlen(static_cast<const char *>(buffer.data())), text.size - 1);
}

TEST(SetField, NumbersBooleansAndEnumerationSymbols) {
  UserRequestRecord user{};
  const RecordDesc &desc = RequestOf("AddUser");
  EXPECT_EQ(SetField(desc, &user, "user.userLevel", "USER_POWER"), "");
  EXPECT_EQ(user.user.userLevel, WS_USER_POWER);
  std::string wrongTable = SetField(desc, &user, "user.userLevel", "VIDEO_CODEC_H264");
  EXPECT_NE(wrongTable.find("USER_ADMIN|USER_POWER|USER_NORMAL|USER_CUSTOMER"), std::string::npos) << wrongTable;
  EXPECT_EQ(SetField(desc, &user, "user.userLevel", "7"), "");  // a value outside the table travels as a number
  EXPECT_EQ(user.user.userLevel, 7);

  StreamRecord stream{};
  const RecordDesc &streamDesc = RequestOf("GetVideoEncoderConfig");
  EXPECT_EQ(SetField(streamDesc, &stream, "channel", "-2147483648"), "");
  EXPECT_EQ(stream.channel, INT32_MIN);
  for (const char *bad : {"2147483648", "12abc", " 1", "", "0x10"})
    EXPECT_NE(SetField(streamDesc, &stream, "channel", bad), "") << bad;
  EXPECT_EQ(SetField(streamDesc, &stream, "master", "1"), "");
  EXPECT_TRUE(stream.master);
  EXPECT_NE(SetField(streamDesc, &stream, "master", "yes"), "");

  int32_t limit = 0;
  EXPECT_EQ(SetField(RequestOf("SetMaxStreamConnection"), &limit, "value", "64"), "");
  EXPECT_EQ(limit, 64);
}

TEST(Json, EscapesQuotesControlBytesAndForeignBytes) {
  EXPECT_EQ(JsonString("a\"b\\c\n\t\x01\x1f", 100), R"("a\"b\\c\n\t\u0001\u001f")");
  EXPECT_EQ(JsonString("caf\xc3\xa9", 100), "\"caf\xc3\xa9\"");        // valid UTF-8 passes
  EXPECT_EQ(JsonString("\xff\xc3(", 100), R"("\u00ff\u00c3(")");         // invalid bytes as Latin-1
  EXPECT_EQ(JsonString("\xe2\x82", 100), R"("\u00e2\u0082")");           // truncated sequence
  const char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(JsonString(unterminated, sizeof unterminated), "\"abcd\"");
}

TEST(Json, PrintsNestedRecordsFixedArraysAndLists) {
  CallResult result{true, 0};
  EXPECT_EQ(ToJson(ResponseOf("AddUser"), &result), "{\n  \"result\": true,\n  \"resultCode\": 0\n}");

  ChannelListRecord channels{{1, 2, 3, 4}, 4, 0};
  EXPECT_NE(ToJson(ResponseOf("GetChannelList"), &channels).find("\"channel\": [1, 2, 3, 4],"), std::string::npos);

  SessionConfigResponseRecord session{};
  session.config.maxRTPStreamTime[3].second = 59;
  std::string json = ToJson(ResponseOf("GetSessionConfig"), &session);
  EXPECT_NE(json.find("\"enableAnonymous\": false"), std::string::npos) << json;
  EXPECT_NE(json.find("\"hour\": 0,\n        \"minute\": 0,\n        \"second\": 59\n      }\n    ]"),
            std::string::npos)
      << json;
  EXPECT_EQ(json.find("extra"), std::string::npos);

  ParameterRecord items[2] = {{"model", "cam\"1"}, {"serial", "42"}};
  ParameterListRecord list{2, items, 0};
  json = ToJson(ResponseOf("GetSpecProfile"), &list);
  EXPECT_NE(json.find("\"items\": [\n    {\n      \"key\": \"model\",\n      \"value\": \"cam\\\"1\"\n    },"),
            std::string::npos)
      << json;
  list = {3, nullptr, 4};  // a refusal: count without items prints an empty list
  EXPECT_NE(ToJson(ResponseOf("GetSpecProfile"), &list).find("\"items\": [],"), std::string::npos);
  EXPECT_EQ(ResultCode(ResponseOf("GetSpecProfile"), &list), 4);
}

TEST(Enumerations, PrintAsSymbolsAndReadSymbolsOrNumbers) {
  UserResponseRecord user{"bob", "pw", WS_USER_POWER, {}, 0};
  const RecordDesc &response = ResponseOf("GetUser");
  EXPECT_NE(ToJson(response, &user).find("\"userLevel\": \"USER_POWER\","), std::string::npos);
  user.userLevel = 7;  // outside the table: its number
  EXPECT_NE(ToJson(response, &user).find("\"userLevel\": 7,"), std::string::npos);

  const RecordDesc &request = RequestOf("AddUser");
  for (const auto &[given, level] : std::vector<std::pair<std::string, int32_t>>{
           {"\"USER_CUSTOMER\"", 3}, {"2", 2}, {"\"1\"", 1}, {"9", 9}, {"-1", -1}}) {
    RecordBuffer buffer(request.size);
    ASSERT_EQ(FromJson(request, buffer, "{\"user\": {\"userLevel\": " + given + "}}"), "") << given;
    EXPECT_EQ(static_cast<UserRequestRecord *>(buffer.data())->user.userLevel, level) << given;
  }
  RecordBuffer buffer(request.size);
  for (const char *bad : {"\"VIDEO_CODEC_H264\"", "2147483648", "1.5", "null"}) {
    std::string error = FromJson(request, buffer, std::string("{\"user\": {\"userLevel\": ") + bad + "}}");
    EXPECT_NE(error.find("'user.userLevel': expected a 32-bit integer or a UserLevel symbol"), std::string::npos)
        << bad << ": " << error;
  }
}

// A Get's answer fed back as the request of the matching Set gives the same
// record: nested records, fixed arrays of records, booleans, enumeration
// symbols and out-of-table numbers; the answer's resultCode is skipped.
TEST(FromJson, GetAnswerFedToItsSetGivesTheSameRecord) {
  SessionConfigResponseRecord session;
  std::memset(&session, 0, sizeof session);
  session.config.enableAnonymous = true;
  for (int k = 0; k < 4; ++k) session.config.maxRTPStreamTime[k] = {k, 10 + k, 59 - k, 0};
  session.resultCode = 3;
  RecordBuffer sessionRequest(RequestOf("SetSessionConfig").size);
  ASSERT_EQ(FromJson(RequestOf("SetSessionConfig"), sessionRequest, ToJson(ResponseOf("GetSessionConfig"), &session)),
            "");
  const auto *parsedSession = static_cast<const SessionConfigRequestRecord *>(sessionRequest.data());
  EXPECT_EQ(std::memcmp(&parsedSession->config, &session.config, sizeof session.config), 0);

  VideoEncoderConfigResponseRecord encoder;
  std::memset(&encoder, 0, sizeof encoder);
  VideoEncoderConfigRecord &config = encoder.config;  // set in place: padding stays zero
  config.enable = config.deinterlacing = true;
  config.frameRate = 25, config.bitRate = 4000, config.gopSize = 30, config.width = 704, config.height = 480;
  config.videoCodec = WS_VIDEO_CODEC_H264, config.resolutionType = 9, config.bitRateType = WS_VIDEO_BITRATE_VBR;
  config.qualityType = WS_VIDEO_QUALITY_LOW;
  RecordBuffer encoderRequest(RequestOf("SetVideoEncoderConfig").size);
  ASSERT_EQ(FromJson(RequestOf("SetVideoEncoderConfig"), encoderRequest,
                     ToJson(ResponseOf("GetVideoEncoderConfig"), &encoder)),
            "");
  const auto *parsedEncoder = static_cast<const VideoEncoderConfigRequestRecord *>(encoderRequest.data());
  EXPECT_EQ(std::memcmp(&parsedEncoder->config, &encoder.config, sizeof encoder.config), 0);
  EXPECT_EQ(parsedEncoder->channel, 0);  // not in the answer: left as it was
}

// Input that does not fit its record is refused with the path named, and
// never written past a field.
TEST(FromJson, RefusesWhatDoesNotFit) {
  const RecordDesc &request = RequestOf("AddUser");
  RecordBuffer buffer(request.size);
  const auto *user = static_cast<const UserRequestRecord *>(buffer.data());
  ASSERT_EQ(FromJson(request, buffer, "{\"user\": {\"userID\": \"" + std::string(99, 'a') + "\"}}"), "");
  EXPECT_EQ(std::strlen(user->user.userID), 99u);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\"user\": {\"userID\": \"" + std::string(100, 'b') + "\"}}", "'user.userID': at most 99 bytes (got 100)"},
      {"{\"user\": {\"password\": 5}}", "'user.password': expected a text, got a number"},
      {"{\"user\": {\"name\": \"x\"}}", "unknown field 'user.name' in UserRecord (fields: userID, password"},
      {"{\"user\": []}", "'user': expected an object"},
      {"[1]", "UserRequestRecord': expected an object"},
      {"{\"user\": {", "the JSON does not parse: parse error at line 1, column 11"},
  };
  for (const auto &[json, message] : cases)
    EXPECT_NE(FromJson(request, buffer, json).find(message), std::string::npos) << json;
  EXPECT_EQ(user->user.userID[0], 'a');  // the refused text was not copied

  const RecordDesc &session = RequestOf("SetSessionConfig");
  RecordBuffer sessionBuffer(session.size);
  EXPECT_NE(FromJson(session, sessionBuffer, R"({"config": {"maxRTPStreamTime": [{}, {}, {}, {}, {}]}})")
                .find("'config.maxRTPStreamTime': expected an array of at most 4 elements"),
            std::string::npos);
  EXPECT_NE(FromJson(session, sessionBuffer, R"({"config": {"enableAnonymous": "yes"}})")
                .find("'config.enableAnonymous': expected true or false"),
            std::string::npos);
}

// Items that hold lists of their own print, parse back to the same record
// (each count following its items) and are released inside out.
TEST(ItemLists, NestedInItemsPrintParseAndFree) {
  TestScheduleList list{2, ws::AllocateItems<TestSchedule>(2), 0};
  TestSchedule &first = list.items[0];
  first.id = 1;
  first.notifyCount = 2;
  first.notifies = ws::AllocateItems<TestNotify>(2);
  first.notifies[0] = {WS_EVENT_NOTIFY_SMTP, "mail"};
  first.notifies[1] = {8, "x\"y"};
  first.slots[1] = {6, 30, 0, 0};
  first.weekCount = 3;
  first.weeks = ws::AllocateItems<int32_t>(3);
  first.weeks[0] = WS_MON, first.weeks[1] = WS_FRI, first.weeks[2] = 9;
  first.nameCount = 1;
  first.names = ws::AllocateItems<char[8]>(1);
  std::strcpy(first.names[0], "front");
  first.noteCount = 2;
  first.notes = ws::DuplicateTexts({const_cast<char *>("any length at all"), nullptr});
  list.items[1].id = 2;  // no lists at all

  const RecordDesc &desc = Describe<TestScheduleList>();
  const std::string json = ToJson(desc, &list);
  for (const char *expected :
       {"\"weeks\": [\"MON\", \"FRI\", 9]", "\"names\": [\"front\"]", "\"notes\": [\"any length at all\", null]",
        "\"notifies\": [\n        {\n          \"type\": \"EVENT_NOTIFY_SMTP\",\n          \"id\": \"mail\"",
        "\"type\": 8,", "\"hour\": 6,", "\"weeks\": [],"})
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;

  RecordBuffer parsed(desc.size);
  ASSERT_EQ(FromJson(desc, parsed, json), "");
  EXPECT_EQ(ToJson(desc, parsed.data()), json);

  // A count must agree with its items, and cannot be set on its own.
  RecordBuffer mismatch(desc.size);
  EXPECT_NE(FromJson(desc, mismatch, R"({"items": [{"weekCount": 2, "weeks": ["SUN"]}]})")
                .find("'items.0.weekCount' is 2 but 'items.0.weeks' holds 1 items"),
            std::string::npos);
  EXPECT_NE(FromJson(desc, mismatch, R"({"count": 1})").find("'count' is 1 but 'items' holds 0 items"),
            std::string::npos);
  EXPECT_NE(SetField(desc, mismatch.data(), "count", "3").find("counts the items of 'items'"), std::string::npos);

  FreeItems(desc, &list);  // the leak checker sees anything left behind
  EXPECT_EQ(list.items, nullptr);
}

// Every described field lies inside its record, so a slip in a table cannot
// read or write past the caller's record.
void ExpectFieldsInside(const RecordDesc &desc) {
  std::set<std::string> names;
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    EXPECT_TRUE(names.insert(field.name).second) << desc.name << "." << field.name;
    size_t bytes = field.kind == Kind::Items ? sizeof(void *) : field.size * field.count;
    EXPECT_LE(field.offset + bytes, desc.size) << desc.name << "." << field.name;
    if (field.kind == Kind::Items) {  // its count is a described int beside it
      EXPECT_LE(field.countOffset + sizeof(int32_t), desc.size) << desc.name;
      bool counted = false;
      for (size_t k = 0; k < desc.fieldCount; ++k)
        counted |= desc.fields[k].kind == Kind::Int && desc.fields[k].offset == field.countOffset;
      EXPECT_TRUE(counted) << desc.name << "." << field.name;
    }
    if (field.nested) ExpectFieldsInside(field.nested());
  }
}

TEST(Operations, TablesAreConsistentAndFindable) {
  ExpectFieldsInside(Describe<TestScheduleList>());
  size_t count;
  const Operation *operations = Operations(&count);
  std::set<std::string> names;
  for (size_t i = 0; i < count; ++i) {
    const Operation &op = operations[i];
    EXPECT_TRUE(names.insert(op.name).second) << op.name;
    ExpectFieldsInside(op.request());
    ExpectFieldsInside(op.response());
    std::string lower = op.name;
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(FindOperation(lower.c_str()), &op);
  }
  EXPECT_EQ(FindOperation("NoSuchOperation"), nullptr);

  // The services slice the table in order, each operation in one of them.
  size_t serviceCount;
  const Service *services = Services(&serviceCount);
  ASSERT_EQ(serviceCount, 9u);
  EXPECT_STREQ(services[0].name, "Account");
  EXPECT_STREQ(services[8].name, "Factory");
  const Operation *next = operations;
  for (size_t s = 0; s < serviceCount; next += services[s++].count) EXPECT_EQ(services[s].operations, next);
  EXPECT_EQ(next, operations + count);
  EXPECT_STREQ(services[2].operations[0].name, "GetMaxChannel");
}


// A request pointing at texts of its own gets its pointers from its prepare
// step: the key list names the keys up to the last one given.
TEST(Prepare, KeyListPointsAtTheKeysGiven) {
  const RecordDesc &desc = RequestOf("GetDefaultSetting");
  ASSERT_NE(desc.prepare, nullptr);
  RecordBuffer given(desc.size), none(desc.size);
  EXPECT_EQ(SetField(desc, given.data(), "key.1", "b"), "");
  EXPECT_EQ(SetField(desc, given.data(), "key.0", "a"), "");
  desc.prepare(given.data());
  desc.prepare(none.data());
  const auto *keys = static_cast<const KeyListRecord *>(given.data());
  ASSERT_EQ(keys->count, 2);
  EXPECT_STREQ(keys->keys[0], "a");
  EXPECT_STREQ(keys->keys[1], "b");
  EXPECT_EQ(static_cast<const KeyListRecord *>(none.data())->count, 0);
}

// Requests are built in a RecordBuffer: every byte not set from the command
// line must be zero, even in memory the process used before.
TEST(RecordBuffer, IsZeroFilledOnReusedMemory) {
  for (size_t size : {0u, 7u, 212u, 1024u}) {
    { RecordBuffer dirty(size); std::memset(dirty.data(), 0xa5, size + 1); }
    RecordBuffer buffer(size);
    const auto *bytes = static_cast<const unsigned char *>(buffer.data());
    for (size_t i = 0; i < size; ++i) ASSERT_EQ(bytes[i], 0) << size << " at " << i;
  }
}

// Texts the library hands over print whole, whatever their length, and are
// released with the record (AddressSanitizer checks the releases).
TEST(Json, PrintsAndReleasesHandedOverTexts) {
  const std::string log(150000, 'L');
  LogTextRecord text{new char[log.size() + 1], 0};
  std::memcpy(text.text, log.c_str(), log.size() + 1);
  EXPECT_NE(ToJson(ResponseOf("GetLogs"), &text).find("\"text\": \"" + log + "\","), std::string::npos);
  FreeItems(ResponseOf("GetLogs"), &text);
  EXPECT_EQ(text.text, nullptr);

  LoggedDateListRecord dates{2, new char *[2]{strdup("2026-12-07"), nullptr}, 0};
  EXPECT_NE(ToJson(ResponseOf("GetLoggedDateList"), &dates).find("[\"2026-12-07\", null]"), std::string::npos);
  FreeItems(ResponseOf("GetLoggedDateList"), &dates);

  TimeZoneListRecord zones{2, new TimeZoneName[2](), 0};
  std::strcpy(zones.items[0], "UTC");
  std::strcpy(zones.items[1], "Asia/Seoul");
  EXPECT_NE(ToJson(ResponseOf("GetTimeZoneList"), &zones).find("[\"UTC\", \"Asia/Seoul\"]"), std::string::npos);
  FreeItems(ResponseOf("GetTimeZoneList"), &zones);
}

}  // namespace
}  // namespace wsctl

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tools/codec.h"

namespace wsctl {
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

// A list of names the library copied one by one: printed as texts (null for
// a missing one), released name by name (checked under the sanitizers).
TEST(Json, PrintsAndReleasesNameLists) {
  SDFileListRecord files{2, static_cast<char **>(::operator new[](2 * sizeof(char *))), 0};
  files.names[0] = strdup("a.avi");
  files.names[1] = nullptr;
  const RecordDesc &desc = ResponseOf("GetSDRecordingFiles");
  const std::string json = ToJson(desc, &files);
  EXPECT_NE(json.find("\"names\": [\"a.avi\", null],"), std::string::npos) << json;
  FreeItems(desc, &files);
  EXPECT_EQ(files.names, nullptr);
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
    if (field.kind == Kind::Items) EXPECT_LE(field.countOffset + sizeof(int32_t), desc.size) << desc.name;
    if (field.nested) ExpectFieldsInside(field.nested());
  }
}

TEST(Operations, TablesAreConsistentAndFindable) {
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

TEST(SetField, ItemListsGrowAndPrintInsideRecords) {
  EventScheduleRequestRecord request{};
  const RecordDesc &desc = RequestOf("SetEventSchedule");
  EXPECT_EQ(SetField(desc, &request, "schedule.notifies.1.type", "EVENT_NOTIFY_SMTP"), "");
  EXPECT_EQ(SetField(desc, &request, "schedule.notifies.0.id", "ftp1"), "");
  EXPECT_EQ(SetField(desc, &request, "schedule.weeks.0", "MON"), "");
  ASSERT_EQ(request.schedule.notifyCount, 2);
  EXPECT_EQ(request.schedule.notifies[1].type, WS_EVENT_NOTIFY_SMTP);
  EXPECT_STREQ(request.schedule.notifies[0].id, "ftp1");
  ASSERT_EQ(request.schedule.weekCount, 1);
  EXPECT_EQ(request.schedule.weeks[0], WS_MON);

  // A failed argument leaves the list as it was; a count follows its list.
  const EventNotifyRecord *notifies = request.schedule.notifies;
  for (const char *bad : {"schedule.notifies.5.type", "schedule.notifies.x.id", "schedule.notifies.0"})
    EXPECT_NE(SetField(desc, &request, bad, "NO_SUCH_SYMBOL"), "") << bad;
  EXPECT_NE(SetField(desc, &request, "schedule.notifyCount", "5"), "");
  EXPECT_EQ(request.schedule.notifies, notifies);
  EXPECT_EQ(request.schedule.notifyCount, 2);
  EXPECT_NE(FieldPaths(desc).find("schedule.notifies.<n>.type"), std::string::npos);

  const std::string json = ToJson(desc, &request);
  EXPECT_NE(json.find("\"weeks\": [1]"), std::string::npos) << json;
  EXPECT_NE(json.find("\"id\": \"ftp1\""), std::string::npos) << json;
  FreeItems(desc, &request);  // the nested arrays too (checked under the sanitizers)
  EXPECT_EQ(request.schedule.notifies, nullptr);
}

}  // namespace
}  // namespace wsctl

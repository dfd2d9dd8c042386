// The release function of every answer record that owns memory, over every
// export that hands one out, nested lists included: the simulator fills the
// record, its WebService_Free<Record> releases it and leaves it empty, and a
// second release finds nothing to do.  In the sanitizer build
// AddressSanitizer sees a wrong or repeated release, LeakSanitizer anything
// left behind.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "core/record_desc.h"
#include "services/operations.h"
#include "simulator.h"
#include "tools/codec.h"

namespace {

using wsctl::Field;
using wsctl::Kind;
using wsctl::RecordDesc;

// A call made before the export under test, its request as JSON in wsctl's
// shape.
struct Step {
  const char *operation;
  const char *request;
};

// What an export needs for its answer to hold memory: the calls that put
// something there, its own request, and how many blocks (arrays and texts,
// nested ones included) the answer holds at least.  Exports left out answer
// from the simulator's seeded state with an empty request.
struct Preparation {
  std::vector<Step> steps;
  const char *request = "{}";
  size_t blocks = 1;
};

const char kSchedule[] = R"({"schedule": {"scheduleID": 3, "startYear": 2026, "startMonth": 1, "startDay": 1,
                              "finishYear": 2027, "finishMonth": 1, "finishDay": 1}})";
const char kAllocation[] = R"({"channel": 1, "master": true, "scheduleID": 3})";
const char kNotify[] = R"({"notifies": [{"type": "EVENT_NOTIFY_SMTP", "id": "mail"}]})";
const char kSmtp[] = R"({"server": {"alias": "mail", "serverAddress": "127.0.0.1", "port": 25}})";
const char kPreset[] = R"({"channel": 1, "preset": {"alias": "door", "sequence": 1}})";

const std::map<std::string, Preparation> kPreparations = {
    {"GetLoggedDateList", {{{"SetTimeZone", R"({"text": "UTC"})"}}, "{}", 2}},
    {"GetLogs",
     {{{"SetDateTimeConfig", R"({"config": {"dateTimeMode": "DATETIME_MODE_MANUAL", "year": 2026, "month": 1,
                                            "day": 2, "hour": 10}})"}},
      R"({"text": "2026-01-02"})"}},
    {"GetFunctionMap", {{}, R"({"text": "video"})"}},
    {"GetPTZCommandList", {{}, R"({"text": "SIM-SERIAL-A"})"}},
    {"GetPTZProtocolList", {{}, "{}", 3}},
    {"GetIPSectionList",
     {{{"AddIPSection", R"({"section": {"alias": "lab", "fromAddress": "10.0.0.1", "toAddress": "10.0.0.9"}})"}}}},
    {"GetRecordingScheduleList", {{{"AddRecordingSchedule", kSchedule}}}},
    {"GetAllocatedRecordingScheduleByChannel",
     {{{"AddRecordingSchedule", kSchedule}, {"AllocateRecordingSchedule", kAllocation}}, R"({"channel": 1})"}},
    {"GetAllocatedRecordingScheduleByStream",
     {{{"AddRecordingSchedule", kSchedule}, {"AllocateRecordingSchedule", kAllocation}},
      R"({"channel": 1, "master": true})"}},
    // An item with notifies and weeks of its own; every item has weeks.
    {"GetEventScheduleList",
     {{{"SetEventSchedule", R"({"schedule": {"eventSource": "Sensor1", "weeks": ["MON"],
                                              "notifies": [{"type": "EVENT_NOTIFY_RELAY", "id": "1"}]}})"}},
      "{}",
      3}},
    {"GetEventSchedule",
     {{{"SetEventSchedule", R"({"schedule": {"eventSource": "Sensor1", "weeks": ["MON"],
                                              "notifies": [{"type": "EVENT_NOTIFY_RELAY", "id": "1"}]}})"}},
      R"({"eventSource": "Sensor1"})",
      2}},
    {"GetFTPServerList",
     {{{"AddFTPServer", R"({"server": {"alias": "ftp", "serverAddress": "127.0.0.1", "port": 21}})"}}}},
    {"GetSMTPServerList", {{{"AddSMTPServer", kSmtp}}}},
    {"GetFanFailNotification", {{{"AddSMTPServer", kSmtp}, {"SetFanFailNotification", kNotify}}}},
    {"GetRecordingServerDiskFullNotification",
     {{{"AddSMTPServer", kSmtp}, {"SetRecordingServerDiskFullNotification", kNotify}}}},
    {"GetSDRecordingFiles",
     {{{"StartManualRecording", R"({"channel": 1, "frameRate": 30, "master": true})"},
       {"StopManualRecording", R"({"channel": 1, "master": true})"}},
      R"({"startYear": 2000, "startMonth": 1, "startDay": 1, "endYear": 2100, "endMonth": 1, "endDay": 1})",
      2}},
    {"GetPresetList", {{{"AddPreset", kPreset}}, R"({"channel": 1})"}},
    {"GetPresetTour",
     {{{"AddPreset", kPreset}, {"SetPresetTour", R"({"channel": 1, "items": [{"alias": "door", "sequence": 1}]})"}},
      R"({"value": 1})"}},
    {"GetPTZConfiguration", {{}, R"({"channel": 1})"}},
    {"GetDetectionWindowList",
     {{{"AddDetectionWindow", R"({"channel": 1, "window": {"sequence": 1, "alias": "w", "size": {"x": 9, "y": 9}}})"}},
      R"({"value": 1})"}},
    {"GetROIParam", {{}, R"({"value": 1})"}},
    {"GetAutoPTZTrackingParam",
     {{{"SetAutoPTZTrackingParam", R"({"channel": 1, "param": {"APTZIgnoreAreaStart": [{"x": 1, "y": 2}],
                                                                 "APTZIgnoreAreaEnd": [{"x": 3, "y": 4}]}})"}},
      R"({"value": 1})",
      3}},
};

// Each export's answer released through a pointer of its record's own type
// (Reboot, without an answer, gets a char).
template <class Record>
void ReleaseAs(void *function, void *record) {
  reinterpret_cast<void (*)(Record *)>(function)(static_cast<Record *>(record));
}
using ReleaseThunk = void (*)(void *function, void *record);
#define WS_RELEASE_THUNK(Op, Req, Resp, ...) {#Op, &ReleaseAs<std::conditional_t<std::is_void_v<Resp>, char, Resp>>},
const std::map<std::string, ReleaseThunk> kReleaseThunks = {WS_ALL_OPERATIONS(WS_RELEASE_THUNK)};

// The blocks a record holds: item arrays, texts, and what items hold.
size_t Blocks(const RecordDesc &desc, const char *record) {
  size_t blocks = 0;
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    const char *at = record + field.offset;
    if (field.kind == Kind::Record) {
      for (size_t k = 0; k < field.count; ++k) blocks += Blocks(field.nested(), at + k * field.size);
    } else if (field.kind == Kind::TextPointer) {
      for (size_t k = 0; k < field.count; ++k) blocks += wsctl::ReadPointer(at + k * field.size) != nullptr;
    } else if (field.kind == Kind::Items && wsctl::ReadPointer(at)) {
      const char *first;
      const size_t count = wsctl::ListedItems(field, record, &first);
      const Field item = wsctl::ItemOf(field);
      blocks += 1;
      for (size_t k = 0; k < count; ++k)
        blocks += item.kind == Kind::Record             ? Blocks(field.nested(), first + k * field.size)
                  : item.kind == Kind::TextPointer ? wsctl::ReadPointer(first + k * field.size) != nullptr
                                                   : 0;
    }
  }
  return blocks;
}

// Whether every list count of the record (outside its items) is 0.
bool CountsZero(const RecordDesc &desc, const char *record) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    int32_t count = 0;
    if (field.kind == Kind::Items) std::memcpy(&count, record + field.countOffset, sizeof count);
    if (count != 0) return false;
    if (field.kind == Kind::Record)
      for (size_t k = 0; k < field.count; ++k)
        if (!CountsZero(field.nested(), record + field.offset + k * field.size)) return false;
  }
  return true;
}

std::vector<std::string> OwningExports() {
  std::vector<std::string> names;
  size_t count;
  const wsctl::Operation *operations = wsctl::Operations(&count);
  for (size_t i = 0; i < count; ++i)
    if (wsctl::OwnsMemory(operations[i].response())) names.push_back(operations[i].name);
  return names;
}

class Release : public ::testing::TestWithParam<std::string> {
 protected:
  // Calls the operation with its request given as JSON; the answer goes to
  // response (null: a buffer dropped afterwards).
  int Call(const char *name, const char *json, void *response = nullptr) {
    const wsctl::Operation *op = wsctl::FindOperation(name);
    if (!op) return -100;
    wsctl::RecordBuffer request(op->request().size);
    std::string error = wsctl::FromJson(op->request(), request, json);
    EXPECT_EQ("", error) << name;
    wsctl::RecordBuffer dropped(op->response().size);
    ConnectionInfo conn{0, 0, sim.port(), ENDPOINT_KIND_SOAP_PATH};
    int status = op->call("127.0.0.1", "admin", "admin", request.data(), response ? response : dropped.data(), &conn);
    if (!response) wsctl::FreeItems(op->response(), dropped.data());
    return status;
  }

  Simulator sim{{"--port", "0", "--no-port81", "--user", "admin", "--password", "admin"}};
};

TEST_P(Release, EmptiesTheAnswerAndIsHarmlessTwice) {
  ASSERT_TRUE(sim.ready());
  const wsctl::Operation *op = wsctl::FindOperation(GetParam().c_str());
  const RecordDesc &desc = op->response();
  const std::string name = std::string("WebService_Free") + desc.name;
  void *function = dlsym(RTLD_DEFAULT, name.c_str());
  ASSERT_NE(function, nullptr) << name << " is not exported";

  const auto found = kPreparations.find(op->name);
  const Preparation preparation = found == kPreparations.end() ? Preparation{} : found->second;
  for (const Step &step : preparation.steps) ASSERT_EQ(0, Call(step.operation, step.request)) << step.operation;
  wsctl::RecordBuffer answer(desc.size);
  ASSERT_EQ(0, Call(op->name, preparation.request, answer.data()));
  ASSERT_EQ(0, wsctl::ResultCode(desc, answer.data())) << wsctl::ToJson(desc, answer.data());
  const char *record = static_cast<const char *>(answer.data());
  ASSERT_GE(Blocks(desc, record), preparation.blocks) << wsctl::ToJson(desc, record);

  const ReleaseThunk release = kReleaseThunks.at(op->name);
  release(function, answer.data());
  EXPECT_EQ(0u, Blocks(desc, record));
  EXPECT_TRUE(CountsZero(desc, record)) << wsctl::ToJson(desc, record);
  release(function, answer.data());
  release(function, nullptr);
  EXPECT_EQ(0u, Blocks(desc, record));
}

INSTANTIATE_TEST_SUITE_P(OwningAnswers, Release, ::testing::ValuesIn(OwningExports()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

}  // namespace

// EventSchedule client, first part: recording schedules, event schedules,
// event sources, sensors and relays.  Also defines every export of the
// service from its operation table.
#include "event_schedule_client.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/call_frame.h"
#include "event_schedule_copy.h"
#include "webservice/Enums.h"
#include "webservice/Transport.h"

namespace ws {

namespace {

using ws::Copy;  // the notification targets

// ---- Recording schedules ----

// A missing date leaves the record's fields as they were.
void CopyDate(int32_t &year, int32_t &month, int32_t &day, const ns1__Date_USCORET *date) {
  if (!date) return;
  year = date->year;
  month = date->month;
  day = date->day;
}

// AddRecordingSchedule and UpdateRecordingSchedule carry the same schedule.
template <class Wire>
void Fill(Wire &wire, const RecordingScheduleRequestRecord &request, Outgoing &out) {
  const RecordingScheduleRecord &record = request.schedule;
  ns1__RecordingSchedule_USCORET &schedule = out.Element(wire.schedule);
  schedule.scheduleID = record.scheduleID;
  schedule.preAlarm = record.preAlarm;
  schedule.postAlarm = record.postAlarm;
  schedule.repeatOption = record.repeatOption;
  FillDate(out.Element(schedule.startTime), record.startYear, record.startMonth, record.startDay);
  FillDate(out.Element(schedule.finishTime), record.finishYear, record.finishMonth, record.finishDay);
  FillDate(out.Element(schedule.customDate), record.customYear, record.customMonth, record.customDay);
  // A weekly schedule covers the week; every other one a single day.  The
  // entries go out as the caller wrote them.
  const size_t entries = record.repeatOption == WS_SCHEDULE_REPEAT_WEEKLY ? WS_RECORDING_TIME_TABLE_SIZE
                                                                          : WS_RECORDING_DAY_TABLE_SIZE;
  out.Element(schedule.timeTable).int_.assign(record.timeTable, record.timeTable + entries);
}

// Copies a received schedule; time-table entries beyond those received (and
// beyond the record's 336) keep their contents.
void Copy(RecordingScheduleRecord &record, const ns1__RecordingSchedule_USCORET &wire) {
  record.scheduleID = wire.scheduleID;
  record.preAlarm = wire.preAlarm;
  record.postAlarm = wire.postAlarm;
  record.repeatOption = wire.repeatOption;
  CopyDate(record.startYear, record.startMonth, record.startDay, wire.startTime);
  CopyDate(record.finishYear, record.finishMonth, record.finishDay, wire.finishTime);
  CopyDate(record.customYear, record.customMonth, record.customDay, wire.customDate);
  if (!wire.timeTable) return;
  const std::vector<int> &entries = wire.timeTable->int_;
  std::copy_n(entries.begin(), std::min(entries.size(), std::size(record.timeTable)), record.timeTable);
}

// ---- Event schedules ----

void FillTime(ns1__Time_USCORET &time, const TimeSlotRecord &slot) {
  time.hour = slot.hour;
  time.minute = slot.minute;
  time.second = slot.second;
}

void CopyTime(TimeSlotRecord &slot, const ns1__Time_USCORET *time) {
  if (!time) return;
  slot.hour = time->hour;
  slot.minute = time->minute;
  slot.second = time->second;
}

// The device takes the channel from the event source, so channel goes out as
// 0; the record has no fields for the sub-stream settings, which go out as
// false and 0.
void Fill(_ns1__SetEventSchedule &wire, const EventScheduleRequestRecord &request, Outgoing &out) {
  const EventScheduleRecord &record = request.schedule;
  ns1__EventSchedule_USCORET &schedule = out.Element(wire.schedule);
  SendNotifies(out, schedule.eventNotify, record.notifies, record.notifyCount);
  ns1__EventTime_USCORET &timeTable = out.Element(schedule.timeTable);
  ns1__ArrayOfWEEK_USCORET &weeks = out.Element(timeTable.weeks);
  if (record.weeks && record.weekCount > 0) weeks.WEEK_USCORET.assign(record.weeks, record.weeks + record.weekCount);
  FillTime(out.Element(timeTable.startTime), record.start);
  FillTime(out.Element(timeTable.finishTime), record.finish);
  schedule.eventSource = Send(record.eventSource);
  schedule.ignoreInterval = record.ignoreInterval;
  schedule.preAlarm = record.preAlarm;
  schedule.postAlarm = record.postAlarm;
  schedule.channel = 0;
  schedule.master = Send(record.master);
  schedule.UseSubConfig = false;
  schedule.FrameRate = schedule.Quality = schedule.Bitrate = schedule.Duration = 0;
}

// Whether a schedule read gives the caller a week array when the schedule
// lists no week day: one read does (an empty array), a list read does not.
enum class EmptyWeeks { NewArray, Untouched };

void ReleaseArrays(EventScheduleRecord &record) {
  WebService_FreeItems(record.notifies);
  WebService_FreeItems(record.weeks);
  record.notifies = nullptr;
  record.weeks = nullptr;
}

// Copies a received schedule into record, with new arrays for its
// notification targets (when it lists any) and its week days.  A missing
// list counts as an empty one.  When memory runs out, returns false and
// leaves record as it was.
bool CopyEventSchedule(EventScheduleRecord &record, const ns1__EventSchedule_USCORET &wire, EmptyWeeks emptyWeeks) {
  static const std::vector<ns1__EventNotify_USCORET *> kNoNotifies;
  static const std::vector<ns1__WEEK_USCORET> kNoWeeks;
  const ns1__EventTime_USCORET *time = wire.timeTable;
  const auto &notifies = wire.eventNotify ? wire.eventNotify->EventNotify_USCORET : kNoNotifies;
  const auto &weeks = time && time->weeks ? time->weeks->WEEK_USCORET : kNoWeeks;
  

  EventNotifyRecord *notifyArray = nullptr;
  int32_t *weekArray = nullptr;
  const bool newWeeks = !weeks.empty() || emptyWeeks == EmptyWeeks::NewArray;
  if ((!notifies.empty() && !(notifyArray = AllocateItems<EventNotifyRecord>(notifies.size()))) ||
      (newWeeks && !(weekArray = AllocateItems<int32_t>(weeks.size())))) {
    WebService_FreeItems(notifyArray);
    return false;
  }

  record.channel = wire.channel;
  record.master = wire.master;
  CopyTextIfPresent(record.eventSource, wire.eventSource);
  record.ignoreInterval = wire.ignoreInterval;
  record.preAlarm = wire.preAlarm;
  record.postAlarm = wire.postAlarm;
  record.notifyCount = static_cast<int32_t>(notifies.size());
  if (notifyArray) {
    for (size_t i = 0; i < notifies.size(); ++i)
      if (notifies[i]) Copy(notifyArray[i], *notifies[i]);
    record.notifies = notifyArray;
  }
  if (time) {
    CopyTime(record.start, time->startTime);
    CopyTime(record.finish, time->finishTime);
  }
  record.weekCount = static_cast<int32_t>(weeks.size());
  if (newWeeks) {
    std::copy(weeks.begin(), weeks.end(), weekArray);
    record.weeks = weekArray;
  }
  return true;
}

// ---- Sensors and relays ----

void Fill(_ns1__SetSensor &wire, const SensorRequestRecord &request, Outgoing &out) {
  ns1__Sensor_USCORET &sensor = out.Element(wire.sensor);
  sensor.sensorChannel = request.sensor.sensorChannel;
  sensor.enable = Send(request.sensor.enable);
  sensor.type = request.sensor.type;
  sensor.name = Send(request.sensor.name);
}

void Copy(SensorRecord &record, const ns1__Sensor_USCORET &wire) {
  record.sensorChannel = wire.sensorChannel;
  record.enable = wire.enable;
  record.type = wire.type;
  CopyTextIfPresent(record.name, wire.name);
}

void Fill(_ns1__SetRelay &wire, const RelayRequestRecord &request, Outgoing &out) {
  ns1__Relay_USCORET &relay = out.Element(wire.relay);
  relay.relayChannel = request.relay.relayChannel;
  relay.controlDuration = request.relay.controlDuration;
  relay.type = request.relay.type;
  relay.name = Send(request.relay.name);
}

void Copy(RelayRecord &record, const ns1__Relay_USCORET &wire) {
  record.relayChannel = wire.relayChannel;
  record.controlDuration = wire.controlDuration;
  record.type = wire.type;
  CopyTextIfPresent(record.name, wire.name);
}

// A missing name leaves its entry empty.
void Copy(EventSourceNameRecord &item, const char &name) { CopyTextIfPresent(item.name, &name); }

// The answer carries nothing: the status alone tells the outcome.
void Fill(_ns1__TriggerVAEvent &wire, const VAEventTriggerRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  wire.eventType = request.eventType;
  ns1__DateTime_USCORET &clientTime = out.Element(wire.clientTime);
  FillDate(out.Element(clientTime.date), request.year, request.month, request.day);
  ns1__Time_USCORET &time = out.Element(clientTime.time);
  time.hour = request.hour;
  time.minute = request.minute;
  time.second = request.second;
}

// One schedule read gets a week array even when it lists no week day.
int Store(EventScheduleResponseRecord &response, const _ns1__GetEventScheduleResponse &answer) {
  if (answer.resultCode != 0 || !answer.GetEventScheduleResult) return 0;
  return CopyEventSchedule(response.schedule, *answer.GetEventScheduleResult, EmptyWeeks::NewArray)
             ? 0
             : WS_STATUS_OUT_OF_MEMORY;
}

}  // namespace

int EventScheduleClient::CallGetEventScheduleList(const void *, EventScheduleListRecord *response) {
  _ns1__GetEventScheduleList wire;
  _ns1__GetEventScheduleListResponse answer;
  if (int status = WS_INVOKE(GetEventScheduleList, &wire, answer)) return status;
  const ns1__ArrayOfEventSchedule_USCORET *list = answer.GetEventScheduleListResult;
  // Filled in a copy that reaches the caller only when every array could be
  // allocated.
  EventScheduleListRecord filled = *response;
  bool copied = true;
  int status = FillListCountAlways(&filled, answer.resultCode, list ? &list->EventSchedule_USCORET : nullptr,
                                   [&](EventScheduleRecord &item, const ns1__EventSchedule_USCORET &schedule) {
                                     copied = CopyEventSchedule(item, schedule, EmptyWeeks::Untouched) && copied;
                                   });
  if (status == 0 && copied) {
    *response = filled;
    return 0;
  }
  if (filled.items != response->items) {
    for (int32_t i = 0; i < filled.count; ++i) ReleaseArrays(filled.items[i]);
    WebService_FreeItems(filled.items);
  }
  return WS_STATUS_OUT_OF_MEMORY;
}

#define WS_EVENT_SCHEDULE_CONVERSION(...) WS_DEFINE_CONVERSION(EventScheduleClient, __VA_ARGS__)
WS_EVENT_SCHEDULE_EVENT_OPERATIONS(WS_EVENT_SCHEDULE_CONVERSION)

}  // namespace ws

#define WS_EVENT_SCHEDULE_EXPORT(Op, Request, Response, ...) \
  WS_DEFINE_EXPORT(ws::EventScheduleClient, Op, Request, Response)
WS_EVENT_SCHEDULE_OPERATIONS(WS_EVENT_SCHEDULE_EXPORT)

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

// ---- Recording schedules ----

// A missing date leaves the record's fields as they were.
void CopyDate(int32_t &year, int32_t &month, int32_t &day, const ns1__Date_USCORET *date) {
  if (!date) return;
  year = date->year;
  month = date->month;
  day = date->day;
}

// The wire form of a schedule, built for one request and gone with it.
struct WireRecordingSchedule {
  ns1__Date_USCORET startTime, finishTime, customDate;
  ns1__ArrayOfInt timeTable;
  ns1__RecordingSchedule_USCORET schedule;

  explicit WireRecordingSchedule(const RecordingScheduleRecord &record) {
    schedule.scheduleID = record.scheduleID;
    schedule.preAlarm = record.preAlarm;
    schedule.postAlarm = record.postAlarm;
    schedule.repeatOption = record.repeatOption;
    FillDate(startTime, record.startYear, record.startMonth, record.startDay);
    FillDate(finishTime, record.finishYear, record.finishMonth, record.finishDay);
    FillDate(customDate, record.customYear, record.customMonth, record.customDay);
    // A weekly schedule covers the week; every other one a single day.  The
    // entries go out as the caller wrote them.
    const size_t entries = record.repeatOption == WS_SCHEDULE_REPEAT_WEEKLY ? WS_RECORDING_TIME_TABLE_SIZE
                                                                            : WS_RECORDING_DAY_TABLE_SIZE;
    timeTable.int_.assign(record.timeTable, record.timeTable + entries);
    schedule.startTime = &startTime;
    schedule.finishTime = &finishTime;
    schedule.customDate = &customDate;
    schedule.timeTable = &timeTable;
  }
};

// Copies a received schedule; time-table entries beyond those received (and
// beyond the record's 336) keep their contents.
void CopyRecordingSchedule(RecordingScheduleRecord &record, const ns1__RecordingSchedule_USCORET &wire) {
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

template <class Wire>
Wire &WithAllocation(Wire &wire, const ScheduleAllocationRecord &record) {
  wire.channel = record.channel;
  wire.master = record.master;
  wire.scheduleID = record.scheduleID;
  return wire;
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

// The wire form of an event schedule, built for one request and gone with
// it.  The device takes the channel from the event source, so channel goes
// out as 0; the record has no fields for the sub-stream settings, which go
// out as false and 0.
struct WireEventSchedule {
  std::vector<ns1__EventNotify_USCORET> notifyItems;
  ns1__ArrayOfEventNotify_USCORET notifies;
  ns1__ArrayOfWEEK_USCORET weeks;
  ns1__Time_USCORET startTime, finishTime;
  ns1__EventTime_USCORET timeTable;
  ns1__EventSchedule_USCORET schedule;

  explicit WireEventSchedule(const EventScheduleRecord &record) {
    FillNotifies(notifyItems, notifies, record.notifies, record.notifyCount);
    if (record.weeks && record.weekCount > 0)
      weeks.WEEK_USCORET.assign(record.weeks, record.weeks + record.weekCount);
    FillTime(startTime, record.start);
    FillTime(finishTime, record.finish);
    timeTable.weeks = &weeks;
    timeTable.startTime = &startTime;
    timeTable.finishTime = &finishTime;
    schedule.eventSource = SendText(record.eventSource);
    schedule.eventNotify = &notifies;
    schedule.timeTable = &timeTable;
    schedule.ignoreInterval = record.ignoreInterval;
    schedule.preAlarm = record.preAlarm;
    schedule.postAlarm = record.postAlarm;
    schedule.channel = 0;
    schedule.master = record.master;
    schedule.UseSubConfig = false;
    schedule.FrameRate = schedule.Quality = schedule.Bitrate = schedule.Duration = 0;
  }
};

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
  if (notifies.size() > 0x7fffffff || weeks.size() > 0x7fffffff) return false;

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
      if (notifies[i]) CopyNotify(notifyArray[i], *notifies[i]);
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

void FillSensor(ns1__Sensor_USCORET &wire, const SensorRecord &record) {
  wire.sensorChannel = record.sensorChannel;
  wire.enable = record.enable;
  wire.type = record.type;
  wire.name = SendText(record.name);
}

void CopySensor(SensorRecord &record, const ns1__Sensor_USCORET &wire) {
  record.sensorChannel = wire.sensorChannel;
  record.enable = wire.enable;
  record.type = wire.type;
  CopyTextIfPresent(record.name, wire.name);
}

void FillRelay(ns1__Relay_USCORET &wire, const RelayRecord &record) {
  wire.relayChannel = record.relayChannel;
  wire.controlDuration = record.controlDuration;
  wire.type = record.type;
  wire.name = SendText(record.name);
}

void CopyRelay(RelayRecord &record, const ns1__Relay_USCORET &wire) {
  record.relayChannel = wire.relayChannel;
  record.controlDuration = wire.controlDuration;
  record.type = wire.type;
  CopyTextIfPresent(record.name, wire.name);
}

}  // namespace

// ---- Recording schedules ----

int EventScheduleClient::CallGetRecordingScheduleList(const void *, RecordingScheduleListRecord *response) {
  _ns1__GetRecordingScheduleList wire;
  return WS_INVOKE_FOR_LIST(GetRecordingScheduleList, &wire, ns1__ArrayOfRecordingSchedule_USCORET,
                            RecordingSchedule_USCORET, response, CopyRecordingSchedule);
}

int EventScheduleClient::CallGetAllocatedRecordingScheduleByChannel(const ChannelRecord *request,
                                                                RecordingScheduleListRecord *response) {
  return WS_INVOKE_FOR_LIST(GetAllocatedRecordingScheduleByChannel,
                            WS_REQUEST_WITH(GetAllocatedRecordingScheduleByChannel, channel, request->channel),
                            ns1__ArrayOfRecordingSchedule_USCORET, RecordingSchedule_USCORET, response,
                            CopyRecordingSchedule);
}

int EventScheduleClient::CallGetAllocatedRecordingScheduleByStream(const StreamRecord *request,
                                                               RecordingScheduleListRecord *response) {
  _ns1__GetAllocatedRecordingScheduleByStream wire;
  wire.channel = request->channel;
  wire.master = request->master;
  return WS_INVOKE_FOR_LIST(GetAllocatedRecordingScheduleByStream, &wire, ns1__ArrayOfRecordingSchedule_USCORET,
                            RecordingSchedule_USCORET, response, CopyRecordingSchedule);
}

int EventScheduleClient::CallGetRecordingSchedule(const ScheduleIdRecord *request,
                                              RecordingScheduleResponseRecord *response) {
  return WS_INVOKE_FOR_ITEM(GetRecordingSchedule,
                            WS_REQUEST_WITH(GetRecordingSchedule, scheduleID, request->scheduleID), response, schedule,
                            CopyRecordingSchedule);
}

int EventScheduleClient::CallAddRecordingSchedule(const RecordingScheduleRequestRecord *request, CallResult *response) {
  WireRecordingSchedule schedule(request->schedule);
  _ns1__AddRecordingSchedule wire;
  wire.schedule = &schedule.schedule;
  return WS_INVOKE_FOR_CALL_RESULT(AddRecordingSchedule, &wire, response);
}

int EventScheduleClient::CallUpdateRecordingSchedule(const RecordingScheduleRequestRecord *request,
                                                 CallResult *response) {
  WireRecordingSchedule schedule(request->schedule);
  _ns1__UpdateRecordingSchedule wire;
  wire.schedule = &schedule.schedule;
  return WS_INVOKE_FOR_CALL_RESULT(UpdateRecordingSchedule, &wire, response);
}

int EventScheduleClient::CallRemoveRecordingSchedule(const ScheduleIdRecord *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(RemoveRecordingSchedule,
                                   WS_REQUEST_WITH(RemoveRecordingSchedule, scheduleID, request->scheduleID), response);
}

int EventScheduleClient::CallRemoveAllRecordingSchedule(const void *, CallResult *response) {
  _ns1__RemoveAllRecordingSchedule wire;
  return WS_INVOKE_FOR_CALL_RESULT(RemoveAllRecordingSchedule, &wire, response);
}

int EventScheduleClient::CallAllocateRecordingSchedule(const ScheduleAllocationRecord *request, CallResult *response) {
  _ns1__AllocateRecordingSchedule wire;
  return WS_INVOKE_FOR_CALL_RESULT(AllocateRecordingSchedule, &WithAllocation(wire, *request), response);
}

int EventScheduleClient::CallDeallocateRecordingSchedule(const ScheduleAllocationRecord *request, CallResult *response) {
  _ns1__DeallocateRecordingSchedule wire;
  return WS_INVOKE_FOR_CALL_RESULT(DeallocateRecordingSchedule, &WithAllocation(wire, *request), response);
}

// ---- Event schedules and event sources ----

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

int EventScheduleClient::CallGetEventSchedule(const EventSourceRecord *request, EventScheduleResponseRecord *response) {
  _ns1__GetEventSchedule wire;
  wire.eventSource = SendText(request->eventSource);
  _ns1__GetEventScheduleResponse answer;
  if (int status = WS_INVOKE(GetEventSchedule, &wire, answer)) return status;
  if (answer.resultCode == 0 && answer.GetEventScheduleResult &&
      !CopyEventSchedule(response->schedule, *answer.GetEventScheduleResult, EmptyWeeks::NewArray))
    return WS_STATUS_OUT_OF_MEMORY;
  response->resultCode = answer.resultCode;
  return 0;
}

int EventScheduleClient::CallSetEventSchedule(const EventScheduleRequestRecord *request, CallResult *response) {
  WireEventSchedule schedule(request->schedule);
  _ns1__SetEventSchedule wire;
  wire.schedule = &schedule.schedule;
  return WS_INVOKE_FOR_CALL_RESULT(SetEventSchedule, &wire, response);
}

int EventScheduleClient::CallGetEventSourceList(const void *, EventSourceListRecord *response) {
  _ns1__GetEventSourceList wire;
  // A missing name leaves its entry empty.
  return WS_INVOKE_FOR_LIST(GetEventSourceList, &wire, ns1__ArrayOfString, string, response,
                            [](EventSourceNameRecord &item, const char &name) { CopyTextIfPresent(item.name, &name); });
}

int EventScheduleClient::CallTriggerVAEvent(const VAEventTriggerRecord *request, void *) {
  ns1__Date_USCORET date;
  FillDate(date, request->year, request->month, request->day);
  ns1__Time_USCORET time;
  time.hour = request->hour;
  time.minute = request->minute;
  time.second = request->second;
  ns1__DateTime_USCORET clientTime;
  clientTime.date = &date;
  clientTime.time = &time;
  _ns1__TriggerVAEvent wire;
  wire.channel = request->channel;
  wire.eventType = request->eventType;
  wire.clientTime = &clientTime;
  // The answer carries nothing: the status alone tells the outcome.
  _ns1__TriggerVAEventResponse answer;
  return WS_INVOKE(TriggerVAEvent, &wire, answer);
}

// ---- Sensors and relays ----

int EventScheduleClient::CallGetSensorList(const void *, SensorListRecord *response) {
  _ns1__GetSensorList wire;
  return WS_INVOKE_FOR_LIST(GetSensorList, &wire, ns1__ArrayOfSensor_USCORET, Sensor_USCORET, response, CopySensor);
}

int EventScheduleClient::CallGetSensor(const ChannelRecord *request, SensorResponseRecord *response) {
  return WS_INVOKE_FOR_ITEM(GetSensor, WS_REQUEST_WITH(GetSensor, sensorChannel, request->channel), response, sensor,
                            CopySensor);
}

int EventScheduleClient::CallSetSensor(const SensorRequestRecord *request, CallResult *response) {
  ns1__Sensor_USCORET sensor;
  FillSensor(sensor, request->sensor);
  _ns1__SetSensor wire;
  wire.sensor = &sensor;
  return WS_INVOKE_FOR_CALL_RESULT(SetSensor, &wire, response);
}

int EventScheduleClient::CallGetRelayList(const void *, RelayListRecord *response) {
  _ns1__GetRelayList wire;
  return WS_INVOKE_FOR_LIST(GetRelayList, &wire, ns1__ArrayOfRelay_USCORET, Relay_USCORET, response, CopyRelay);
}

int EventScheduleClient::CallGetRelay(const ChannelRecord *request, RelayResponseRecord *response) {
  return WS_INVOKE_FOR_ITEM(GetRelay, WS_REQUEST_WITH(GetRelay, relayChannel, request->channel), response, relay,
                            CopyRelay);
}

int EventScheduleClient::CallSetRelay(const RelayRequestRecord *request, CallResult *response) {
  ns1__Relay_USCORET relay;
  FillRelay(relay, request->relay);
  _ns1__SetRelay wire;
  wire.relay = &relay;
  return WS_INVOKE_FOR_CALL_RESULT(SetRelay, &wire, response);
}

int EventScheduleClient::CallRunRelay(const RelayRunRecord *request, CallResult *response) {
  _ns1__RunRelay wire;
  wire.relayChannel = request->relayChannel;
  wire.enableRun = request->enableRun;
  return WS_INVOKE_FOR_CALL_RESULT(RunRelay, &wire, response);
}

}  // namespace ws

#define WS_EVENT_SCHEDULE_EXPORT(Op, Request, Response) \
  WS_DEFINE_EXPORT(ws::EventScheduleClient, Op, Request, Response)
WS_EVENT_SCHEDULE_OPERATIONS(WS_EVENT_SCHEDULE_EXPORT)

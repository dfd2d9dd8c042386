// EventSchedule service: recording schedules and their allocation to
// streams, event schedules, event sources, sensors and relays.
//
// Rules of the simulated device:
// - A recording schedule is added under the ID its request names (1 or more,
//   unused); a weekly one carries 336 time-table entries, any other 48.
// - A schedule can be allocated to any number of streams (channel, master);
//   while it is allocated anywhere it cannot be removed, one by one or all at
//   once: release it first.
// - Every channel has one alarm sensor and one relay (channel numbers as the
//   video channels) and two event sources, "Sensor<n>" and
//   "VideoAnalysis<n>", each with an event schedule.  Setting an event
//   schedule keeps the source's channel whatever the request says.
// - RunRelay with enableRun starts the relay for its controlDuration seconds
//   (0: until stopped); without it, stops a running relay.
// - TriggerVAEvent keeps the latest events and, with --verbose, logs each.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapEventScheduleSoap12Service.h"
#include "webservice/Enums.h"

using namespace sim;

namespace {

constexpr size_t kMaxRecordingSchedules = 64;
constexpr size_t kKeptVAEvents = 64;
constexpr size_t kWeekTimeTable = 336;
constexpr size_t kDayTimeTable = 48;
constexpr size_t kMaxNameLength = 255;
constexpr int kMaxRelayDuration = 3600;

const char *const kEventSourceKinds[] = {"Sensor", "VideoAnalysis"};

}  // namespace

EventScheduleState::EventScheduleState() {
  for (const char *kind : kEventSourceKinds)
    for (int channel = 1; channel <= DeviceState::kChannels; ++channel) {
      EventSchedule schedule;
      schedule.eventSource = kind + std::to_string(channel);
      schedule.channel = channel;
      schedule.weeks = {WS_SUN, WS_MON, WS_TUE, WS_WED, WS_THU, WS_FRI, WS_SAT};
      schedule.finish = {23, 59, 59};
      eventSchedules.push_back(schedule);
    }
  for (int channel = 1; channel <= DeviceState::kChannels; ++channel) {
    sensors.push_back({channel, true, false, "Alarm input " + std::to_string(channel)});
    Relay relay;
    relay.channel = channel;
    relay.controlDuration = 5;
    relay.name = "Relay output " + std::to_string(channel);
    relays.push_back(relay);
  }
}

namespace {

// ---- Small helpers ----

char *Text(struct soap *soap, const std::string &text) { return soap_strdup(soap, text.c_str()); }

template <class Item, class Match>
Item *Find(std::vector<Item> &items, Match match) {
  auto found = std::find_if(items.begin(), items.end(), match);
  return found == items.end() ? nullptr : &*found;
}

// Runs change on the device's event-schedule state under its lock and answers
// its result code; the Result flag is set when the code is kResultOk.
template <class Response, class Edit>
int ChangeState(struct soap *soap, Response &response, bool Response::*result, Edit change) {
  DeviceState &device = DeviceOf(soap);
  int code;
  {
    std::lock_guard<std::mutex> lock(device.mutex);
    code = change(device.eventSchedule);
  }
  response.*result = code == kResultOk;
  return Reply(soap, response, code);
}

// Answers every item of the stored list, each converted by wire(), into the
// answer's list.
template <class Response, class WireItem, class Stored, class Wire>
int AnswerAll(struct soap *soap, Response &response, std::vector<WireItem *> &list,
              std::vector<Stored> EventScheduleState::*stored, Wire wire) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  for (const Stored &item : device.eventSchedule.*stored) list.push_back(wire(soap, item));
  return Reply(soap, response, kResultOk);
}

// Answers the item find() picks, converted by wire(), as result; refuses
// with missing when there is none.
template <class Response, class Result, class FindItem, class Wire>
int AnswerOne(struct soap *soap, Response &response, Result *&result, int missing, FindItem find, Wire wire) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  const auto *item = find(device.eventSchedule);
  if (!item) return Reply(soap, response, missing);
  result = wire(soap, *item);
  return Reply(soap, response, kResultOk);
}

// ---- Recording schedules ----

ns1__Date_USCORET *WireDate(struct soap *soap, const CalendarDate &date) {
  return soap_new_req_ns1__Date_USCORET(soap, date.year, date.month, date.day);
}

CalendarDate DateOf(const ns1__Date_USCORET *date) {
  return date ? CalendarDate{date->year, date->month, date->day} : CalendarDate{};
}

ns1__RecordingSchedule_USCORET *WireRecordingSchedule(struct soap *soap, const RecordingSchedule &schedule) {
  auto *wire = soap_new_ns1__RecordingSchedule_USCORET(soap);
  wire->scheduleID = schedule.id;
  wire->repeatOption = schedule.repeatOption;
  wire->startTime = WireDate(soap, schedule.start);
  wire->finishTime = WireDate(soap, schedule.finish);
  wire->customDate = WireDate(soap, schedule.custom);
  wire->timeTable = soap_new_ns1__ArrayOfInt(soap);
  wire->timeTable->int_ = schedule.timeTable;
  wire->preAlarm = schedule.preAlarm;
  wire->postAlarm = schedule.postAlarm;
  return wire;
}

// Checks a received schedule and converts it; kResultOk or the refusal.
int ReadRecordingSchedule(const ns1__RecordingSchedule_USCORET *wire, RecordingSchedule &schedule) {
  if (!wire || !wire->timeTable) return kResultMissingArgument;
  if (wire->scheduleID < 1 || wire->repeatOption < WS_SCHEDULE_REPEAT_DAILY ||
      wire->repeatOption > WS_SCHEDULE_REPEAT_CUSTOM_YEARLY)
    return kResultOutOfRange;
  const size_t entries = wire->repeatOption == WS_SCHEDULE_REPEAT_WEEKLY ? kWeekTimeTable : kDayTimeTable;
  if (wire->timeTable->int_.size() != entries) return kResultBadTimeTable;
  schedule.id = wire->scheduleID;
  schedule.repeatOption = wire->repeatOption;
  schedule.preAlarm = wire->preAlarm;
  schedule.postAlarm = wire->postAlarm;
  schedule.start = DateOf(wire->startTime);
  schedule.finish = DateOf(wire->finishTime);
  schedule.custom = DateOf(wire->customDate);
  schedule.timeTable = wire->timeTable->int_;
  return kResultOk;
}

RecordingSchedule *FindRecordingSchedule(EventScheduleState &state, int id) {
  return Find(state.recordingSchedules, [&](const RecordingSchedule &s) { return s.id == id; });
}

bool IsAllocated(const EventScheduleState &state, int id) {
  return std::any_of(state.allocations.begin(), state.allocations.end(),
                     [&](const ScheduleAllocation &a) { return a.scheduleID == id; });
}

// The schedules allocated to the streams that wanted() accepts, in the
// order of the device's schedule list; kResultUnknownChannel for a channel
// the device does not have.
template <class Response, class Wanted>
int ListAllocated(struct soap *soap, Response &response, ns1__ArrayOfRecordingSchedule_USCORET *&result, int channel,
                  Wanted wanted) {
  if (DeviceState::ChannelIndex(channel) < 0) return Reply(soap, response, kResultUnknownChannel);
  result = soap_new_ns1__ArrayOfRecordingSchedule_USCORET(soap);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  const EventScheduleState &state = device.eventSchedule;
  for (const RecordingSchedule &schedule : state.recordingSchedules)
    if (std::any_of(state.allocations.begin(), state.allocations.end(), [&](const ScheduleAllocation &a) {
          return a.scheduleID == schedule.id && a.channel == channel && wanted(a);
        }))
      result->RecordingSchedule_USCORET.push_back(WireRecordingSchedule(soap, schedule));
  return Reply(soap, response, kResultOk);
}

// ---- Event schedules ----

ns1__EventSchedule_USCORET *WireEventSchedule(struct soap *soap, const EventSchedule &schedule) {
  auto *wire = soap_new_ns1__EventSchedule_USCORET(soap);
  wire->eventSource = Text(soap, schedule.eventSource);
  wire->eventNotify = soap_new_ns1__ArrayOfEventNotify_USCORET(soap);
  for (const EventNotifyTarget &target : schedule.notifies)
    wire->eventNotify->EventNotify_USCORET.push_back(
        soap_new_set_ns1__EventNotify_USCORET(soap, target.type, Text(soap, target.id)));
  wire->timeTable = soap_new_ns1__EventTime_USCORET(soap);
  wire->timeTable->weeks = soap_new_ns1__ArrayOfWEEK_USCORET(soap);
  wire->timeTable->weeks->WEEK_USCORET = schedule.weeks;
  wire->timeTable->startTime =
      soap_new_req_ns1__Time_USCORET(soap, schedule.start.hour, schedule.start.minute, schedule.start.second);
  wire->timeTable->finishTime =
      soap_new_req_ns1__Time_USCORET(soap, schedule.finish.hour, schedule.finish.minute, schedule.finish.second);
  wire->ignoreInterval = schedule.ignoreInterval;
  wire->preAlarm = schedule.preAlarm;
  wire->postAlarm = schedule.postAlarm;
  wire->channel = schedule.channel;
  wire->master = schedule.master;
  return wire;
}

bool ReadTime(const ns1__Time_USCORET *wire, TimeOfDay &time) {
  if (!wire || wire->hour < 0 || wire->hour > 23 || wire->minute < 0 || wire->minute > 59 || wire->second < 0 ||
      wire->second > 59)
    return false;
  time = {wire->hour, wire->minute, wire->second};
  return true;
}

// Checks a received event schedule and applies it to schedule (whose source
// and channel stay); kResultOk or the refusal, which changes nothing.
int ApplyEventSchedule(const ns1__EventSchedule_USCORET &wire, EventSchedule &schedule) {
  EventSchedule changed = schedule;
  const ns1__EventTime_USCORET *time = wire.timeTable;
  if (!time || !time->weeks) return kResultMissingArgument;
  if (!ReadTime(time->startTime, changed.start) || !ReadTime(time->finishTime, changed.finish))
    return kResultOutOfRange;
  changed.weeks.clear();
  for (int day : time->weeks->WEEK_USCORET) {
    if (day < WS_SUN || day > WS_SAT) return kResultOutOfRange;
    if (std::find(changed.weeks.begin(), changed.weeks.end(), day) == changed.weeks.end())
      changed.weeks.push_back(day);
  }
  changed.notifies.clear();
  if (wire.eventNotify)
    for (const ns1__EventNotify_USCORET *notify : wire.eventNotify->EventNotify_USCORET) {
      if (!notify) continue;
      if (notify->type < WS_EVENT_NOTIFY_FTP || notify->type > WS_EVENT_NOTIFY_FlashLED) return kResultOutOfRange;
      const std::string id = notify->id ? notify->id : "";
      if (id.size() > kMaxNameLength) return kResultTooLong;
      changed.notifies.push_back({notify->type, id});
    }
  if (wire.ignoreInterval < 0 || wire.preAlarm < 0 || wire.postAlarm < 0) return kResultOutOfRange;
  changed.ignoreInterval = wire.ignoreInterval;
  changed.preAlarm = wire.preAlarm;
  changed.postAlarm = wire.postAlarm;
  changed.master = wire.master;
  schedule = std::move(changed);
  return kResultOk;
}

EventSchedule *FindEventSchedule(EventScheduleState &state, const char *source) {
  return source ? Find(state.eventSchedules, [&](const EventSchedule &s) { return s.eventSource == source; })
                : nullptr;
}

// ---- Sensors and relays ----

ns1__Sensor_USCORET *WireSensor(struct soap *soap, const Sensor &sensor) {
  return soap_new_set_ns1__Sensor_USCORET(soap, sensor.channel, sensor.enable, sensor.type, Text(soap, sensor.name));
}

ns1__Relay_USCORET *WireRelay(struct soap *soap, const Relay &relay) {
  return soap_new_set_ns1__Relay_USCORET(soap, relay.channel, relay.controlDuration, relay.type,
                                         Text(soap, relay.name));
}

template <class Item>
Item *FindByChannel(std::vector<Item> &items, int channel) {
  return Find(items, [&](const Item &item) { return item.channel == channel; });
}

// A name the device keeps: present and at most kMaxNameLength bytes.
int CheckName(const char *name) {
  if (!name) return kResultMissingArgument;
  return std::strlen(name) > kMaxNameLength ? kResultTooLong : kResultOk;
}

// Ends a run whose time is up.
void SettleRelay(Relay &relay) {
  if (relay.running && !relay.runEndless && std::chrono::steady_clock::now() >= relay.runUntil)
    relay.running = false;
}

bool Verbose(struct soap *soap) { return ExchangeOf(soap).options.verbose; }

}  // namespace

// ---- Recording schedules ----

int EventScheduleSoap12Service::GetRecordingScheduleList(_ns1__GetRecordingScheduleList *,
                                                         _ns1__GetRecordingScheduleListResponse &response) {
  response.GetRecordingScheduleListResult = soap_new_ns1__ArrayOfRecordingSchedule_USCORET(soap);
  return AnswerAll(soap, response, response.GetRecordingScheduleListResult->RecordingSchedule_USCORET,
                   &EventScheduleState::recordingSchedules, WireRecordingSchedule);
}

int EventScheduleSoap12Service::GetAllocatedRecordingScheduleByChannel(
    _ns1__GetAllocatedRecordingScheduleByChannel *request, _ns1__GetAllocatedRecordingScheduleByChannelResponse &response) {
  return ListAllocated(soap, response, response.GetAllocatedRecordingScheduleByChannelResult,
                       request ? request->channel : 0, [](const ScheduleAllocation &) { return true; });
}

int EventScheduleSoap12Service::GetAllocatedRecordingScheduleByStream(
    _ns1__GetAllocatedRecordingScheduleByStream *request, _ns1__GetAllocatedRecordingScheduleByStreamResponse &response) {
  const bool master = request && request->master;
  return ListAllocated(soap, response, response.GetAllocatedRecordingScheduleByStreamResult,
                       request ? request->channel : 0, [&](const ScheduleAllocation &a) { return a.master == master; });
}

int EventScheduleSoap12Service::GetRecordingSchedule(_ns1__GetRecordingSchedule *request,
                                                     _ns1__GetRecordingScheduleResponse &response) {
  const int id = request ? request->scheduleID : 0;
  return AnswerOne(soap, response, response.GetRecordingScheduleResult, kResultUnknownSchedule,
                   [&](EventScheduleState &state) { return FindRecordingSchedule(state, id); }, WireRecordingSchedule);
}

int EventScheduleSoap12Service::AddRecordingSchedule(_ns1__AddRecordingSchedule *request,
                                                     _ns1__AddRecordingScheduleResponse &response) {
  RecordingSchedule schedule;
  const int checked = ReadRecordingSchedule(request ? request->schedule : nullptr, schedule);
  return ChangeState(soap, response, &_ns1__AddRecordingScheduleResponse::AddRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  if (checked != kResultOk) return checked;
                  if (FindRecordingSchedule(state, schedule.id)) return int{kResultScheduleExists};
                  if (state.recordingSchedules.size() >= kMaxRecordingSchedules) return int{kResultTooManySchedules};
                  state.recordingSchedules.push_back(std::move(schedule));
                  return int{kResultOk};
                });
}

int EventScheduleSoap12Service::UpdateRecordingSchedule(_ns1__UpdateRecordingSchedule *request,
                                                        _ns1__UpdateRecordingScheduleResponse &response) {
  RecordingSchedule schedule;
  const int checked = ReadRecordingSchedule(request ? request->schedule : nullptr, schedule);
  return ChangeState(soap, response, &_ns1__UpdateRecordingScheduleResponse::UpdateRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  if (checked != kResultOk) return checked;
                  RecordingSchedule *stored = FindRecordingSchedule(state, schedule.id);
                  if (!stored) return int{kResultUnknownSchedule};
                  *stored = std::move(schedule);
                  return int{kResultOk};
                });
}

int EventScheduleSoap12Service::RemoveRecordingSchedule(_ns1__RemoveRecordingSchedule *request,
                                                        _ns1__RemoveRecordingScheduleResponse &response) {
  const int id = request ? request->scheduleID : 0;
  return ChangeState(soap, response, &_ns1__RemoveRecordingScheduleResponse::RemoveRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  RecordingSchedule *stored = FindRecordingSchedule(state, id);
                  if (!stored) return int{kResultUnknownSchedule};
                  if (IsAllocated(state, id)) return int{kResultScheduleAllocated};
                  state.recordingSchedules.erase(state.recordingSchedules.begin() +
                                                 (stored - state.recordingSchedules.data()));
                  return int{kResultOk};
                });
}

int EventScheduleSoap12Service::RemoveAllRecordingSchedule(_ns1__RemoveAllRecordingSchedule *,
                                                           _ns1__RemoveAllRecordingScheduleResponse &response) {
  return ChangeState(soap, response, &_ns1__RemoveAllRecordingScheduleResponse::RemoveAllRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  if (!state.allocations.empty()) return int{kResultScheduleAllocated};
                  state.recordingSchedules.clear();
                  return int{kResultOk};
                });
}

int EventScheduleSoap12Service::AllocateRecordingSchedule(_ns1__AllocateRecordingSchedule *request,
                                                          _ns1__AllocateRecordingScheduleResponse &response) {
  const ScheduleAllocation wanted = request ? ScheduleAllocation{request->channel, request->master, request->scheduleID}
                                            : ScheduleAllocation{};
  return ChangeState(soap, response, &_ns1__AllocateRecordingScheduleResponse::AllocateRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  if (DeviceState::ChannelIndex(wanted.channel) < 0) return int{kResultUnknownChannel};
                  if (!FindRecordingSchedule(state, wanted.scheduleID)) return int{kResultUnknownSchedule};
                  if (Find(state.allocations, [&](const ScheduleAllocation &a) {
                        return a.channel == wanted.channel && a.master == wanted.master &&
                               a.scheduleID == wanted.scheduleID;
                      }))
                    return int{kResultAlreadyAllocated};
                  state.allocations.push_back(wanted);
                  return int{kResultOk};
                });
}

int EventScheduleSoap12Service::DeallocateRecordingSchedule(_ns1__DeallocateRecordingSchedule *request,
                                                            _ns1__DeallocateRecordingScheduleResponse &response) {
  const ScheduleAllocation wanted = request ? ScheduleAllocation{request->channel, request->master, request->scheduleID}
                                            : ScheduleAllocation{};
  return ChangeState(soap, response, &_ns1__DeallocateRecordingScheduleResponse::DeallocateRecordingScheduleResult,
                [&](EventScheduleState &state) {
                  ScheduleAllocation *found = Find(state.allocations, [&](const ScheduleAllocation &a) {
                    return a.channel == wanted.channel && a.master == wanted.master &&
                           a.scheduleID == wanted.scheduleID;
                  });
                  if (!found) return int{kResultNotAllocated};
                  state.allocations.erase(state.allocations.begin() + (found - state.allocations.data()));
                  return int{kResultOk};
                });
}

// ---- Event schedules and event sources ----

int EventScheduleSoap12Service::GetEventScheduleList(_ns1__GetEventScheduleList *,
                                                     _ns1__GetEventScheduleListResponse &response) {
  response.GetEventScheduleListResult = soap_new_ns1__ArrayOfEventSchedule_USCORET(soap);
  return AnswerAll(soap, response, response.GetEventScheduleListResult->EventSchedule_USCORET,
                   &EventScheduleState::eventSchedules, WireEventSchedule);
}

int EventScheduleSoap12Service::GetEventSchedule(_ns1__GetEventSchedule *request,
                                                 _ns1__GetEventScheduleResponse &response) {
  const char *source = request ? request->eventSource : nullptr;
  return AnswerOne(soap, response, response.GetEventScheduleResult, kResultUnknownEventSource,
                   [&](EventScheduleState &state) { return FindEventSchedule(state, source); }, WireEventSchedule);
}

int EventScheduleSoap12Service::SetEventSchedule(_ns1__SetEventSchedule *request,
                                                 _ns1__SetEventScheduleResponse &response) {
  const ns1__EventSchedule_USCORET *wire = request ? request->schedule : nullptr;
  return ChangeState(soap, response, &_ns1__SetEventScheduleResponse::SetEventScheduleResult,
                [&](EventScheduleState &state) {
                  if (!wire) return int{kResultMissingArgument};
                  EventSchedule *schedule = FindEventSchedule(state, wire->eventSource);
                  if (!schedule) return int{kResultUnknownEventSource};
                  return ApplyEventSchedule(*wire, *schedule);
                });
}

int EventScheduleSoap12Service::GetEventSourceList(_ns1__GetEventSourceList *,
                                                   _ns1__GetEventSourceListResponse &response) {
  response.GetEventSourceListResult = soap_new_ns1__ArrayOfString(soap);
  return AnswerAll(soap, response, response.GetEventSourceListResult->string, &EventScheduleState::eventSchedules,
                   [](struct soap *soap, const EventSchedule &schedule) { return Text(soap, schedule.eventSource); });
}

int EventScheduleSoap12Service::TriggerVAEvent(_ns1__TriggerVAEvent *request, _ns1__TriggerVAEventResponse &) {
  // The answer has no members, so a refusal can only travel as a fault.
  if (!request || DeviceState::ChannelIndex(request->channel) < 0)
    return soap_sender_fault(soap, "no such channel", nullptr);
  VAEvent event;
  event.channel = request->channel;
  event.eventType = request->eventType;
  if (const ns1__DateTime_USCORET *when = request->clientTime) {
    event.date = DateOf(when->date);
    if (when->time) event.time = {when->time->hour, when->time->minute, when->time->second};
  }
  if (Verbose(soap))
    std::fprintf(stderr, "webservice-sim: video-analysis event channel=%d type=%d client-time=%04d-%02d-%02dT%02d:%02d:%02d\n",
                 event.channel, event.eventType, event.date.year, event.date.month, event.date.day, event.time.hour,
                 event.time.minute, event.time.second);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  std::vector<VAEvent> &events = device.eventSchedule.vaEvents;
  if (events.size() >= kKeptVAEvents) events.erase(events.begin());
  events.push_back(event);
  ExchangeOf(soap).resultCode = kResultOk;
  return SOAP_OK;
}

// ---- Sensors and relays ----

int EventScheduleSoap12Service::GetSensorList(_ns1__GetSensorList *, _ns1__GetSensorListResponse &response) {
  response.GetSensorListResult = soap_new_ns1__ArrayOfSensor_USCORET(soap);
  return AnswerAll(soap, response, response.GetSensorListResult->Sensor_USCORET, &EventScheduleState::sensors,
                   WireSensor);
}

int EventScheduleSoap12Service::GetSensor(_ns1__GetSensor *request, _ns1__GetSensorResponse &response) {
  const int channel = request ? request->sensorChannel : 0;
  return AnswerOne(soap, response, response.GetSensorResult, kResultUnknownSensor,
                   [&](EventScheduleState &state) { return FindByChannel(state.sensors, channel); }, WireSensor);
}

int EventScheduleSoap12Service::SetSensor(_ns1__SetSensor *request, _ns1__SetSensorResponse &response) {
  const ns1__Sensor_USCORET *wire = request ? request->sensor : nullptr;
  return ChangeState(soap, response, &_ns1__SetSensorResponse::SetSensorResult, [&](EventScheduleState &state) {
    if (!wire) return int{kResultMissingArgument};
    Sensor *sensor = FindByChannel(state.sensors, wire->sensorChannel);
    if (!sensor) return int{kResultUnknownSensor};
    if (int code = CheckName(wire->name)) return code;
    sensor->enable = wire->enable;
    sensor->type = wire->type;
    sensor->name = wire->name;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetRelayList(_ns1__GetRelayList *, _ns1__GetRelayListResponse &response) {
  response.GetRelayListResult = soap_new_ns1__ArrayOfRelay_USCORET(soap);
  return AnswerAll(soap, response, response.GetRelayListResult->Relay_USCORET, &EventScheduleState::relays, WireRelay);
}

int EventScheduleSoap12Service::GetRelay(_ns1__GetRelay *request, _ns1__GetRelayResponse &response) {
  const int channel = request ? request->relayChannel : 0;
  return AnswerOne(soap, response, response.GetRelayResult, kResultUnknownRelay,
                   [&](EventScheduleState &state) { return FindByChannel(state.relays, channel); }, WireRelay);
}

int EventScheduleSoap12Service::SetRelay(_ns1__SetRelay *request, _ns1__SetRelayResponse &response) {
  const ns1__Relay_USCORET *wire = request ? request->relay : nullptr;
  return ChangeState(soap, response, &_ns1__SetRelayResponse::SetRelayResult, [&](EventScheduleState &state) {
    if (!wire) return int{kResultMissingArgument};
    Relay *relay = FindByChannel(state.relays, wire->relayChannel);
    if (!relay) return int{kResultUnknownRelay};
    if (int code = CheckName(wire->name)) return code;
    if (wire->controlDuration < 0 || wire->controlDuration > kMaxRelayDuration) return int{kResultOutOfRange};
    relay->controlDuration = wire->controlDuration;
    relay->type = wire->type;
    relay->name = wire->name;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::RunRelay(_ns1__RunRelay *request, _ns1__RunRelayResponse &response) {
  const int channel = request ? request->relayChannel : 0;
  const bool run = request && request->enableRun;
  const bool verbose = Verbose(soap);
  return ChangeState(soap, response, &_ns1__RunRelayResponse::RunRelayResult, [&](EventScheduleState &state) {
    Relay *relay = FindByChannel(state.relays, channel);
    if (!relay) return int{kResultUnknownRelay};
    SettleRelay(*relay);
    if (!run) {
      if (!relay->running) return int{kResultRelayIdle};
      relay->running = false;
      if (verbose) std::fprintf(stderr, "webservice-sim: relay %d off\n", channel);
      return int{kResultOk};
    }
    relay->running = true;
    relay->runEndless = relay->controlDuration == 0;
    relay->runUntil = std::chrono::steady_clock::now() + std::chrono::seconds(relay->controlDuration);
    if (verbose) std::fprintf(stderr, "webservice-sim: relay %d on for %d s\n", channel, relay->controlDuration);
    return int{kResultOk};
  });
}

// Declared by the device's schema; nothing to subscribe to here.
int EventScheduleSoap12Service::Subscribe(_ns1__Subscribe *, _ns1__SubscribeResponse &response) {
  return Reply(soap, response, kResultNotSimulated);
}

WS_SIM_REGISTER_SERVICE(EventScheduleSoap12Service);

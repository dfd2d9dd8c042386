// The EventSchedule service's exports: (operation, request type, response type).
#pragma once

#include "webservice/EventSchedule.h"

// Recording schedules, event schedules, event sources, sensors and relays
// (event_schedule_client.cpp).
#define WS_EVENT_SCHEDULE_EVENT_OPERATIONS(X)                                              \
  X(GetRecordingScheduleList, void, RecordingScheduleListRecord)                          \
  X(GetAllocatedRecordingScheduleByChannel, ChannelRecord, RecordingScheduleListRecord)   \
  X(GetAllocatedRecordingScheduleByStream, StreamRecord, RecordingScheduleListRecord)     \
  X(GetRecordingSchedule, ScheduleIdRecord, RecordingScheduleResponseRecord)              \
  X(AddRecordingSchedule, RecordingScheduleRequestRecord, CallResult)                     \
  X(UpdateRecordingSchedule, RecordingScheduleRequestRecord, CallResult)                  \
  X(RemoveRecordingSchedule, ScheduleIdRecord, CallResult)                                \
  X(RemoveAllRecordingSchedule, void, CallResult)                                         \
  X(AllocateRecordingSchedule, ScheduleAllocationRecord, CallResult)                      \
  X(DeallocateRecordingSchedule, ScheduleAllocationRecord, CallResult)                    \
  X(GetEventScheduleList, void, EventScheduleListRecord)                                  \
  X(GetEventSchedule, EventSourceRecord, EventScheduleResponseRecord)                     \
  X(SetEventSchedule, EventScheduleRequestRecord, CallResult)                             \
  X(GetEventSourceList, void, EventSourceListRecord)                                      \
  X(TriggerVAEvent, VAEventTriggerRecord, void)                                           \
  X(GetSensorList, void, SensorListRecord)                                                \
  X(GetSensor, ChannelRecord, SensorResponseRecord)                                       \
  X(SetSensor, SensorRequestRecord, CallResult)                                           \
  X(GetRelayList, void, RelayListRecord)                                                  \
  X(GetRelay, ChannelRecord, RelayResponseRecord)                                         \
  X(SetRelay, RelayRequestRecord, CallResult)                                             \
  X(RunRelay, RelayRunRecord, CallResult)

// FTP and SMTP servers, device notifications, manual recording and the SD
// card (event_schedule_storage_client.cpp).
#define WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)

#define WS_EVENT_SCHEDULE_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_EVENT_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)

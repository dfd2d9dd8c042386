// The EventSchedule service's exports: (operation, request type, response
// type, answer shape, request statements); see core/shapes.h.
#pragma once

#include "webservice/EventSchedule.h"

#define WS_SET_ALIAS(member) WS_SET(member, request->alias)
#define WS_SET_STREAM WS_SET(channel, request->channel) WS_SET(master, request->master)
#define WS_SET_ALLOCATION WS_SET_STREAM WS_SET(scheduleID, request->scheduleID)
#define WS_SCHEDULE_LIST List(CountAlways, RecordingSchedule_USCORET)

// Recording schedules, event schedules, event sources, sensors and relays
// (event_schedule_client.cpp).
#define WS_EVENT_SCHEDULE_EVENT_OPERATIONS(X)                                                                      \
  X(GetRecordingScheduleList, void, RecordingScheduleListRecord, WS_SCHEDULE_LIST, )                              \
  X(GetAllocatedRecordingScheduleByChannel, ChannelRecord, RecordingScheduleListRecord, WS_SCHEDULE_LIST,         \
    WS_SET(channel, request->channel))                                                                            \
  X(GetAllocatedRecordingScheduleByStream, StreamRecord, RecordingScheduleListRecord, WS_SCHEDULE_LIST,           \
    WS_SET_STREAM)                                                                                                \
  X(GetRecordingSchedule, ScheduleIdRecord, RecordingScheduleResponseRecord, Item(schedule),                      \
    WS_SET(scheduleID, request->scheduleID))                                                                      \
  X(AddRecordingSchedule, RecordingScheduleRequestRecord, CallResult, CallResult, WS_FILL)                        \
  X(UpdateRecordingSchedule, RecordingScheduleRequestRecord, CallResult, CallResult, WS_FILL)                     \
  X(RemoveRecordingSchedule, ScheduleIdRecord, CallResult, CallResult, WS_SET(scheduleID, request->scheduleID))   \
  X(RemoveAllRecordingSchedule, void, CallResult, CallResult, )                                                   \
  X(AllocateRecordingSchedule, ScheduleAllocationRecord, CallResult, CallResult, WS_SET_ALLOCATION)               \
  X(DeallocateRecordingSchedule, ScheduleAllocationRecord, CallResult, CallResult, WS_SET_ALLOCATION)             \
  X(GetEventScheduleList, void, EventScheduleListRecord, Custom, )                                                \
  X(GetEventSchedule, EventSourceRecord, EventScheduleResponseRecord, Stored, WS_SET(eventSource, request->eventSource))\
  X(SetEventSchedule, EventScheduleRequestRecord, CallResult, CallResult, WS_FILL)                                \
  X(GetEventSourceList, void, EventSourceListRecord, List(CountAlways, string), )                                 \
  X(TriggerVAEvent, VAEventTriggerRecord, void, Status, WS_FILL)                                                  \
  X(GetSensorList, void, SensorListRecord, List(CountAlways, Sensor_USCORET), )                                   \
  X(GetSensor, ChannelRecord, SensorResponseRecord, Item(sensor), WS_SET(sensorChannel, request->channel))        \
  X(SetSensor, SensorRequestRecord, CallResult, CallResult, WS_FILL)                                              \
  X(GetRelayList, void, RelayListRecord, List(CountAlways, Relay_USCORET), )                                      \
  X(GetRelay, ChannelRecord, RelayResponseRecord, Item(relay), WS_SET(relayChannel, request->channel))            \
  X(SetRelay, RelayRequestRecord, CallResult, CallResult, WS_FILL)                                                \
  X(RunRelay, RelayRunRecord, CallResult, CallResult,                                                             \
    WS_SET(relayChannel, request->relayChannel) WS_SET(enableRun, request->enableRun))

// FTP and SMTP servers, device notifications, manual recording and the SD
// card (event_schedule_storage_client.cpp).
#define WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)                                                                    \
  X(GetFTPServerList, void, FTPServerListRecord, List(CountAlways, FTPServer_USCORET), )                          \
  X(GetFTPServer, AliasRecord, FTPServerResponseRecord, Item(server), WS_SET_ALIAS(alias))                        \
  X(AddFTPServer, FTPServerRequestRecord, CallResult, CallResult, WS_FILL)                                        \
  X(RemoveFTPServer, AliasRecord, CallResult, CallResult, WS_SET_ALIAS(alias))                                    \
  X(UpdateFTPServer, FTPServerUpdateRecord, CallResult, CallResult, WS_SET(prevAlias, request->prevAlias) WS_FILL) \
  X(TestFTPServer, FTPServerRecord, CallResult, CallResult, WS_FILL)                                              \
  X(GetSMTPServerList, void, SMTPServerListRecord, List(CountAlways, SMTPServer_USCORET), )                       \
  X(GetSMTPServer, AliasRecord, SMTPServerResponseRecord, Item(server), WS_SET_ALIAS(alias))                      \
  X(AddSMTPServer, SMTPServerRequestRecord, CallResult, CallResult, WS_FILL)                                      \
  X(RemoveSMTPServer, AliasRecord, bool, Custom, )                                                                \
  X(UpdateSMTPServer, SMTPServerUpdateRecord, CallResult, CallResult,                                             \
    WS_SET(prevAlias, request->prevAlias) WS_FILL)                                                                \
  X(TestSMTPServer, SMTPServerRequestRecord, CallResult, CallResult, WS_FILL)                                     \
  X(GetSMTPNotification, void, SMTPNotificationRecord, Text(smtpAlias), )                                         \
  X(SetSMTPNotification, AliasRecord, CallResult, CallResult, WS_SET_ALIAS(smtpAlias))                            \
  X(GetFanFailNotification, void, FanFailNotificationRecord, List(CountAlways, EventNotify_USCORET), )            \
  X(SetFanFailNotification, EventNotifyRequestRecord, FanFailCallResult, CallResult, WS_FILL)                     \
  X(GetRecordingServerDiskFullNotification, void, EventNotifyListRecord, List(CountAlways, EventNotify_USCORET), ) \
  X(SetRecordingServerDiskFullNotification, EventNotifyRequestRecord, CallResult, CallResult, WS_FILL)            \
  X(GetTemperatureThreshold, TemperatureDeviceRecord, IntValueRecord, Value, WS_SET(device, request->device))     \
  X(SetTemperatureThreshold, TemperatureThresholdRecord, CallResult, CallResult,                                  \
    WS_SET(device, request->device) WS_SET(temperature, request->temperature))                                    \
  X(StartManualRecording, ManualRecordingRecord, CallResult, CallResult,                                          \
    WS_SET_STREAM WS_SET(frameRate, request->frameRate) WS_SET(qualityType, request->qualityType)                 \
        WS_SET(resolutionType, request->resolutionType))                                                          \
  X(StopManualRecording, ManualRecordingStopRecord, CallResult, CallResult, WS_SET_STREAM)                        \
  X(GetSDRecordingSchedule, void, SDRecordingResponseRecord, Stored, )                                            \
  X(SetSDRecordingSchedule, SDRecordingRecord, CallResult, CallResult, WS_FILL)                                   \
  X(GetSDInfo, void, SDInfoResponseRecord, Item(info), )                                                          \
  X(CommandSD, int32_t, CallResult, CallResult, WS_SET(command, *request))                                        \
  X(GetSDConfig, void, SDConfigResponseRecord, Item(config), )                                                    \
  X(SetSDConfig, SDConfigRecord, CallResult, CallResult, WS_FILL)                                                 \
  X(GetSDRecordingFiles, SDFileQueryRecord, SDFileListRecord, Stored, WS_FILL)                                     \
  X(GetSDRecordingFile, char, CallResult, CallResult, WS_SET(filename, request))                                  \
  X(RemoveSDRecordingFile, char, CallResult, CallResult, WS_SET(filename, request))

#define WS_EVENT_SCHEDULE_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_EVENT_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)

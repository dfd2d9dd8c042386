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
#define WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)                                   \
  X(GetFTPServerList, void, FTPServerListRecord)                                  \
  X(GetFTPServer, AliasRecord, FTPServerResponseRecord)                           \
  X(AddFTPServer, FTPServerRequestRecord, CallResult)                             \
  X(RemoveFTPServer, AliasRecord, CallResult)                                     \
  X(UpdateFTPServer, FTPServerUpdateRecord, CallResult)                           \
  X(TestFTPServer, FTPServerRecord, CallResult)                                   \
  X(GetSMTPServerList, void, SMTPServerListRecord)                                \
  X(GetSMTPServer, AliasRecord, SMTPServerResponseRecord)                         \
  X(AddSMTPServer, SMTPServerRequestRecord, CallResult)                           \
  X(RemoveSMTPServer, AliasRecord, bool)                                          \
  X(UpdateSMTPServer, SMTPServerUpdateRecord, CallResult)                         \
  X(TestSMTPServer, SMTPServerRequestRecord, CallResult)                          \
  X(GetSMTPNotification, void, SMTPNotificationRecord)                            \
  X(SetSMTPNotification, AliasRecord, CallResult)                                 \
  X(GetFanFailNotification, void, FanFailNotificationRecord)                      \
  X(SetFanFailNotification, EventNotifyRequestRecord, FanFailCallResult)          \
  X(GetRecordingServerDiskFullNotification, void, EventNotifyListRecord)          \
  X(SetRecordingServerDiskFullNotification, EventNotifyRequestRecord, CallResult) \
  X(GetTemperatureThreshold, TemperatureDeviceRecord, IntValueRecord)             \
  X(SetTemperatureThreshold, TemperatureThresholdRecord, CallResult)              \
  X(StartManualRecording, ManualRecordingRecord, CallResult)                      \
  X(StopManualRecording, ManualRecordingStopRecord, CallResult)                   \
  X(GetSDRecordingSchedule, void, SDRecordingResponseRecord)                      \
  X(SetSDRecordingSchedule, SDRecordingRecord, CallResult)                        \
  X(GetSDInfo, void, SDInfoResponseRecord)                                        \
  X(CommandSD, int32_t, CallResult)                                               \
  X(GetSDConfig, void, SDConfigResponseRecord)                                    \
  X(SetSDConfig, SDConfigRecord, CallResult)                                      \
  X(GetSDRecordingFiles, SDFileQueryRecord, SDFileListRecord)                     \
  X(GetSDRecordingFile, char, CallResult)                                         \
  X(RemoveSDRecordingFile, char, CallResult)

#define WS_EVENT_SCHEDULE_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_EVENT_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(X)

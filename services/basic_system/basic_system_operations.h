// The BasicSystem service's exports: (operation, request type, response type).
// A response type of void marks an export without a response argument.
#pragma once

#include "webservice/BasicSystem.h"

// Every export in the service's operation order.  Framed is the usual
// six-argument export; Unanswered has no response argument (Reboot); Probe is
// GetVersion, which tries two endpoint kinds itself.
#define WS_BASIC_SYSTEM_EXPORTS(Framed, Unanswered, Probe)                       \
  Framed(GetMaxChannel, void, IntValueRecord)                                    \
  Framed(GetChannelList, void, ChannelListRecord)                                \
  Framed(GetDateTimeConfig, void, DateTimeConfigRecord)                          \
  Framed(SetDateTimeConfig, DateTimeConfigRequestRecord, CallResult)             \
  Framed(TestNTPServer, char, CallResult)                                        \
  Framed(GetTimeZoneList, void, TimeZoneListRecord)                              \
  Framed(GetTimeZone, void, TimeZoneRecord)                                      \
  Framed(SetTimeZone, TextRequestRecord, CallResult)                             \
  Unanswered(Reboot, void, void)                                                 \
  Framed(Restore, TextRequestRecord, CallResult)                                 \
  Framed(InitFactory, void, CallResult)                                          \
  Framed(GetBackupFilename, void, BackupFilenameRecord)                          \
  Framed(UpgradeFirmware, TextRequestRecord, CallResult)                         \
  Probe(GetVersion, void, VersionRecord)                                         \
  Framed(GetLoggedDateList, void, LoggedDateListRecord)                          \
  Framed(GetLogs, TextRequestRecord, LogTextRecord)                              \
  Framed(GetReports, void, ReportRecord)                                         \
  Framed(GetMaxStreamConnection, void, IntValueRecord)                           \
  Framed(SetMaxStreamConnection, int32_t, CallResult)                            \
  Framed(GetRecordingServerList, void, RecordingServerListRecord)                \
  Framed(GetRecordingServer, TextRequestRecord, RecordingServerReplyRecord)      \
  Framed(UpdateRecordingServer, RecordingServerUpdateRecord, CallResult)         \
  Framed(AddRecordingServer, RecordingServerRecord, CallResult)                  \
  Framed(RemoveRecordingServer, char, CallResult)                                \
  Framed(TestRecordingServer, RecordingServerRecord, CallResult)                 \
  Framed(GetSpecProfile, void, ParameterListRecord)                              \
  Framed(GetFunctionMap, char, ParameterListRecord)                              \
  Framed(GetDeviceInformation, void, ParameterListRecord)

#define WS_BASIC_SYSTEM_OPERATIONS(X) WS_BASIC_SYSTEM_EXPORTS(X, X, X)

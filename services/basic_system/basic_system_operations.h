// The BasicSystem service's exports: (operation, request type, response type,
// answer shape, request statements); see core/shapes.h.  A response type of
// void marks an export without a response argument.
#pragma once

#include "webservice/BasicSystem.h"

#define WS_SET_TEXT(member) WS_SET(member, request->text)

// Every export in the service's operation order.  Framed is the usual
// six-argument export; Unanswered has no response argument (Reboot); Probe is
// GetVersion, which tries two endpoint kinds itself.
#define WS_BASIC_SYSTEM_EXPORTS(Framed, Unanswered, Probe)                                                     \
  Framed(GetMaxChannel, void, IntValueRecord, Value, )                                                         \
  Framed(GetChannelList, void, ChannelListRecord, Stored, )                                                    \
  Framed(GetDateTimeConfig, void, DateTimeConfigRecord, Record, )                                              \
  Framed(SetDateTimeConfig, DateTimeConfigRequestRecord, CallResult, CallResult, WS_FILL)                      \
  Framed(TestNTPServer, char, CallResult, CallResult, WS_SET(serverAddress, request))                          \
  Framed(GetTimeZoneList, void, TimeZoneListRecord, List(CountAlways, string), )                               \
  Framed(GetTimeZone, void, TimeZoneRecord, Text(timeZone), )                                                  \
  Framed(SetTimeZone, TextRequestRecord, CallResult, CallResult, WS_SET_TEXT(timeZone))                        \
  Unanswered(Reboot, void, void, Status, )                                                                     \
  Framed(Restore, TextRequestRecord, CallResult, CallResult, WS_SET_TEXT(filename))                            \
  Framed(InitFactory, void, CallResult, CallResult, )                                                          \
  Framed(GetBackupFilename, void, BackupFilenameRecord, Text(filename), )                                      \
  Framed(UpgradeFirmware, TextRequestRecord, CallResult, CallResult, WS_SET_TEXT(filename))                    \
  Probe(GetVersion, void, VersionRecord, Record, )                                                             \
  Framed(GetLoggedDateList, void, LoggedDateListRecord, Stored, )                                              \
  Framed(GetLogs, TextRequestRecord, LogTextRecord, Stored, WS_SET_TEXT(date))                                                \
  Framed(GetReports, void, ReportRecord, Text(report), )                                                       \
  Framed(GetMaxStreamConnection, void, IntValueRecord, Value, )                                                \
  Framed(SetMaxStreamConnection, int32_t, CallResult, CallResult, WS_SET(size, *request))                      \
  Framed(GetRecordingServerList, void, RecordingServerListRecord, List(CountAlways, RecordingServer_USCORET), ) \
  Framed(GetRecordingServer, TextRequestRecord, RecordingServerReplyRecord, Item(server), WS_SET_TEXT(alias))  \
  Framed(UpdateRecordingServer, RecordingServerUpdateRecord, CallResult, CallResult,                           \
         WS_SET(prevAlias, request->prevAlias) WS_FILL)                                                        \
  Framed(AddRecordingServer, RecordingServerRecord, CallResult, CallResult, WS_FILL)                           \
  Framed(RemoveRecordingServer, char, CallResult, CallResult, WS_SET(alias, request))                          \
  Framed(TestRecordingServer, RecordingServerRecord, CallResult, CallResult, WS_FILL)                          \
  Framed(GetSpecProfile, void, ParameterListRecord, List(CountAlways, Parameter_USCORET), )                    \
  Framed(GetFunctionMap, char, ParameterListRecord, List(CountAlways, Parameter_USCORET),                      \
         WS_SET(category, request))                                                                            \
  Framed(GetDeviceInformation, void, ParameterListRecord, List(CountAlways, Parameter_USCORET), )

#define WS_BASIC_SYSTEM_OPERATIONS(X) WS_BASIC_SYSTEM_EXPORTS(X, X, X)

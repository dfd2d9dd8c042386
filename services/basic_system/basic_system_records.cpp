// The records of BasicSystem.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(ChannelListRecord, F(channel), F(count), F(resultCode))
WSCTL_RECORD(VersionRecord, F(swVersion), F(hwVersion), F(fwVersion), F(resultCode))
WSCTL_RECORD(ParameterRecord, F(key), F(value))
WSCTL_RECORD(ParameterListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(DateTimeConfigRecord, E(dateTimeMode, DateTimeMode), F(serverAddress), E(interval, NtpInterval),
             F(year), F(month), F(day), F(hour), F(minute), F(second), F(resultCode))
WSCTL_RECORD(DateTimeConfigRequestRecord, F(config))
WSCTL_RECORD(TimeZoneRecord, F(timeZone), F(resultCode))
WSCTL_RECORD(TimeZoneListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(RecordingServerRecord, F(enable), F(alias), F(type), F(serverAddress), F(userID), F(password),
             F(folder), F(capacity), F(overwrite))
WSCTL_RECORD(RecordingServerReplyRecord, F(server), F(resultCode))
WSCTL_RECORD(RecordingServerListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(RecordingServerUpdateRecord, F(prevAlias), F(server))
WSCTL_RECORD(BackupFilenameRecord, F(filename), F(resultCode))
WSCTL_RECORD(LoggedDateListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(LogTextRecord, F(text), F(resultCode))
WSCTL_RECORD(ReportRecord, F(report), F(resultCode))

}  // namespace wsctl

// The records of EventSchedule.h for servers, device notifications,
// manual recording and the SD card.
#include "core/describe.h"

namespace wsctl {

namespace {

// The bare answer of RemoveSMTPServer.
struct BoolAnswer {
  bool result;
};

}  // namespace

WSCTL_RECORD_AS(bool, BoolAnswer, "bool", F(result))

WSCTL_RECORD(FTPServerRecord, F(alias), F(serverAddress), F(port), F(userID), F(password), F(folder))
WSCTL_RECORD(SMTPServerRecord, F(alias), F(serverAddress), F(port), F(userID), F(password), F(recipientAddress),
             F(adminAddress), F(subject), F(message), F(enableSSL))
WSCTL_RECORD(AliasRecord, F(alias))
WSCTL_RECORD(FTPServerRequestRecord, F(server))
WSCTL_RECORD(FTPServerUpdateRecord, F(prevAlias), F(server))
WSCTL_RECORD(FTPServerResponseRecord, F(server), F(resultCode))
WSCTL_RECORD(FTPServerListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(SMTPServerRequestRecord, F(server))
WSCTL_RECORD(SMTPServerUpdateRecord, F(prevAlias), F(server))
WSCTL_RECORD(SMTPServerResponseRecord, F(server), F(resultCode))
WSCTL_RECORD(SMTPServerListRecord, F(count), L(items, count), F(resultCode))

WSCTL_RECORD(SMTPNotificationRecord, F(smtpAlias), F(resultCode))
WSCTL_RECORD(EventNotifyRequestRecord, F(count), L(notifies, count))
WSCTL_RECORD(EventNotifyListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(FanFailNotificationRecord, F(resultCode), F(count), L(items, count))
WSCTL_RECORD(FanFailCallResult, F(resultCode), F(result))
WSCTL_RECORD(TemperatureDeviceRecord, E(device, TemperatureDevice))
WSCTL_RECORD(TemperatureThresholdRecord, E(device, TemperatureDevice), F(temperature))

WSCTL_RECORD(ManualRecordingRecord, F(channel), F(frameRate), E(qualityType, VideoQuality),
             E(resolutionType, Resolution), F(master))
WSCTL_RECORD(ManualRecordingStopRecord, F(channel), F(master))
WSCTL_RECORD(SDRecordingRecord, F(recordingType), F(timetableCount), L(timetable, timetableCount), F(channel),
             F(master), F(networkFailureRecording), F(recordingServerIP))
WSCTL_RECORD(SDRecordingResponseRecord, F(schedule), F(resultCode))
WSCTL_RECORD(SDInfoRecord, F(diskID), F(totalSpace), F(freeSpace), F(status), F(isReadOnly))
WSCTL_RECORD(SDInfoResponseRecord, F(info), F(resultCode))
WSCTL_RECORD(SDConfigRecord, F(overwrite), F(diskFullNotification), F(diskFullNotificationSMTPServerID))
WSCTL_RECORD(SDConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(SDFileQueryRecord, F(startYear), F(startMonth), F(startDay), F(startHour), F(startMinute),
             F(startSecond), F(endYear), F(endMonth), F(endDay), F(endHour), F(endMinute), F(endSecond))
WSCTL_RECORD(SDFileListRecord, F(count), L(names, count), F(resultCode))

}  // namespace wsctl

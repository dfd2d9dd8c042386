/* The records of EventSchedule.h for servers, device notifications, manual
 * recording and the SD card. */
SIZE(FTPServerRecord, 660); AT(FTPServerRecord, serverAddress, 256); AT(FTPServerRecord, port, 356);
AT(FTPServerRecord, userID, 360); AT(FTPServerRecord, password, 460); AT(FTPServerRecord, folder, 560);
SIZE(SMTPServerRecord, 3068); AT(SMTPServerRecord, serverAddress, 256); AT(SMTPServerRecord, port, 356);
AT(SMTPServerRecord, userID, 360); AT(SMTPServerRecord, password, 460); AT(SMTPServerRecord, recipientAddress, 560);
AT(SMTPServerRecord, adminAddress, 660); AT(SMTPServerRecord, subject, 760); AT(SMTPServerRecord, message, 1016);
AT(SMTPServerRecord, enableSSL, 3064);
SIZE(AliasRecord, 356); AT(AliasRecord, alias, 100);
SIZE(FTPServerRequestRecord, 760); AT(FTPServerRequestRecord, server, 100);
SIZE(FTPServerUpdateRecord, 1016); AT(FTPServerUpdateRecord, prevAlias, 100); AT(FTPServerUpdateRecord, server, 356);
SIZE(FTPServerResponseRecord, 664); AT(FTPServerResponseRecord, resultCode, 660);
SIZE(SMTPServerRequestRecord, 3168); AT(SMTPServerRequestRecord, server, 100);
SIZE(SMTPServerUpdateRecord, 3424); AT(SMTPServerUpdateRecord, prevAlias, 100); AT(SMTPServerUpdateRecord, server, 356);
SIZE(SMTPServerResponseRecord, 3072); AT(SMTPServerResponseRecord, resultCode, 3068);
SIZE(SMTPNotificationRecord, 260); AT(SMTPNotificationRecord, resultCode, 256);
SIZE(FanFailCallResult, 8); AT(FanFailCallResult, resultCode, 0); AT(FanFailCallResult, result, 4);
SIZE(TemperatureDeviceRecord, 104); AT(TemperatureDeviceRecord, device, 100);
SIZE(TemperatureThresholdRecord, 108); AT(TemperatureThresholdRecord, device, 100);
AT(TemperatureThresholdRecord, temperature, 104);

SIZE(ManualRecordingRecord, 20); AT(ManualRecordingRecord, channel, 0); AT(ManualRecordingRecord, frameRate, 4);
AT(ManualRecordingRecord, qualityType, 8); AT(ManualRecordingRecord, resolutionType, 12);
AT(ManualRecordingRecord, master, 16);
SIZE(ManualRecordingStopRecord, 8); AT(ManualRecordingStopRecord, master, 4);
SIZE(SDInfoRecord, 272); AT(SDInfoRecord, totalSpace, 256); AT(SDInfoRecord, freeSpace, 260);
AT(SDInfoRecord, status, 264); AT(SDInfoRecord, isReadOnly, 268);
SIZE(SDInfoResponseRecord, 276); AT(SDInfoResponseRecord, resultCode, 272);
SIZE(SDConfigRecord, 258); AT(SDConfigRecord, diskFullNotification, 1);
AT(SDConfigRecord, diskFullNotificationSMTPServerID, 2);
SIZE(SDConfigResponseRecord, 264); AT(SDConfigResponseRecord, resultCode, 260);
SIZE(SDFileQueryRecord, 52); AT(SDFileQueryRecord, startSecond, 20); AT(SDFileQueryRecord, spare, 24);
AT(SDFileQueryRecord, endYear, 28); AT(SDFileQueryRecord, endSecond, 48);

/* Records holding pointers: 8-byte pointers on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(FTPServerListRecord, 24); AT(FTPServerListRecord, items, 8); AT(FTPServerListRecord, resultCode, 16);
SIZE(SMTPServerListRecord, 24); AT(SMTPServerListRecord, items, 8); AT(SMTPServerListRecord, spare, 16);
AT(SMTPServerListRecord, resultCode, 20);
SIZE(EventNotifyRequestRecord, 112); AT(EventNotifyRequestRecord, count, 100);
AT(EventNotifyRequestRecord, notifies, 104);
SIZE(EventNotifyListRecord, 24); AT(EventNotifyListRecord, items, 8); AT(EventNotifyListRecord, resultCode, 16);
SIZE(FanFailNotificationRecord, 16); AT(FanFailNotificationRecord, resultCode, 0);
AT(FanFailNotificationRecord, count, 4); AT(FanFailNotificationRecord, items, 8);
SIZE(SDRecordingRecord, 72); AT(SDRecordingRecord, timetableCount, 4); AT(SDRecordingRecord, timetable, 8);
AT(SDRecordingRecord, channel, 16); AT(SDRecordingRecord, master, 20); AT(SDRecordingRecord, networkFailureRecording, 21);
AT(SDRecordingRecord, recordingServerIP, 22);
SIZE(SDRecordingResponseRecord, 80); AT(SDRecordingResponseRecord, resultCode, 72);
SIZE(SDFileListRecord, 24); AT(SDFileListRecord, names, 8); AT(SDFileListRecord, resultCode, 16);
#endif

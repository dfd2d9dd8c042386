/* The BasicSystem records: date, time and time zone; recording servers;
 * maintenance, logs and reports. */
SIZE(DateTimeConfigRecord, 296); AT(DateTimeConfigRecord, serverAddress, 4); AT(DateTimeConfigRecord, interval, 260);
AT(DateTimeConfigRecord, year, 264); AT(DateTimeConfigRecord, month, 268); AT(DateTimeConfigRecord, day, 272);
AT(DateTimeConfigRecord, hour, 276); AT(DateTimeConfigRecord, minute, 280); AT(DateTimeConfigRecord, second, 284);
AT(DateTimeConfigRecord, reserved, 288); AT(DateTimeConfigRecord, resultCode, 292);
SIZE(DateTimeConfigRequestRecord, 396); AT(DateTimeConfigRequestRecord, config, 100);
SIZE(TimeZoneRecord, 56); AT(TimeZoneRecord, resultCode, 52);
SIZE(TimeZoneName, 100);

SIZE(RecordingServerRecord, 828); AT(RecordingServerRecord, alias, 1); AT(RecordingServerRecord, type, 260);
AT(RecordingServerRecord, serverAddress, 264); AT(RecordingServerRecord, userID, 364);
AT(RecordingServerRecord, password, 464); AT(RecordingServerRecord, folder, 564);
AT(RecordingServerRecord, capacity, 820); AT(RecordingServerRecord, overwrite, 824);
SIZE(RecordingServerReplyRecord, 832); AT(RecordingServerReplyRecord, resultCode, 828);
SIZE(RecordingServerUpdateRecord, 1084); AT(RecordingServerUpdateRecord, server, 256);

SIZE(BackupFilenameRecord, 260); AT(BackupFilenameRecord, resultCode, 256);
SIZE(ReportRecord, 100004); AT(ReportRecord, resultCode, 100000);

/* The records holding a pointer: 8 bytes on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(TimeZoneListRecord, 24); AT(TimeZoneListRecord, items, 8); AT(TimeZoneListRecord, resultCode, 16);
SIZE(RecordingServerListRecord, 24); AT(RecordingServerListRecord, items, 8);
AT(RecordingServerListRecord, resultCode, 16);
SIZE(LoggedDateListRecord, 24); AT(LoggedDateListRecord, items, 8); AT(LoggedDateListRecord, resultCode, 16);
SIZE(LogTextRecord, 16); AT(LogTextRecord, resultCode, 8);
#endif

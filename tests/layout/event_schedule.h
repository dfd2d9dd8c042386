/* The records of EventSchedule.h. */
SIZE(RecordingScheduleRecord, 1396); AT(RecordingScheduleRecord, preAlarm, 4); AT(RecordingScheduleRecord, postAlarm, 8);
AT(RecordingScheduleRecord, repeatOption, 12); AT(RecordingScheduleRecord, startYear, 16);
AT(RecordingScheduleRecord, startDay, 24); AT(RecordingScheduleRecord, finishYear, 28);
AT(RecordingScheduleRecord, customYear, 40); AT(RecordingScheduleRecord, customDay, 48);
AT(RecordingScheduleRecord, timeTable, 52);
SIZE(RecordingScheduleRequestRecord, 1496); AT(RecordingScheduleRequestRecord, schedule, 100);
SIZE(RecordingScheduleResponseRecord, 1400); AT(RecordingScheduleResponseRecord, resultCode, 1396);
SIZE(ScheduleIdRecord, 104); AT(ScheduleIdRecord, scheduleID, 100);
SIZE(ScheduleAllocationRecord, 112); AT(ScheduleAllocationRecord, channel, 100);
AT(ScheduleAllocationRecord, master, 104); AT(ScheduleAllocationRecord, scheduleID, 108);

SIZE(EventNotifyRecord, 260); AT(EventNotifyRecord, id, 4);
SIZE(EventSourceRecord, 356); AT(EventSourceRecord, eventSource, 100);
SIZE(EventSourceNameRecord, 256);
SIZE(VAEventTriggerRecord, 132); AT(VAEventTriggerRecord, channel, 100); AT(VAEventTriggerRecord, eventType, 104);
AT(VAEventTriggerRecord, year, 108); AT(VAEventTriggerRecord, day, 116); AT(VAEventTriggerRecord, hour, 120);
AT(VAEventTriggerRecord, second, 128);

SIZE(SensorRecord, 264); AT(SensorRecord, enable, 4); AT(SensorRecord, type, 5); AT(SensorRecord, name, 6);
SIZE(SensorRequestRecord, 364); AT(SensorRequestRecord, sensor, 100);
SIZE(SensorResponseRecord, 268); AT(SensorResponseRecord, resultCode, 264);
SIZE(RelayRecord, 268); AT(RelayRecord, controlDuration, 4); AT(RelayRecord, type, 8); AT(RelayRecord, name, 9);
SIZE(RelayRequestRecord, 368); AT(RelayRequestRecord, relay, 100);
SIZE(RelayResponseRecord, 272); AT(RelayResponseRecord, resultCode, 268);
SIZE(RelayRunRecord, 108); AT(RelayRunRecord, relayChannel, 100); AT(RelayRunRecord, enableRun, 104);

/* Records holding pointers: 8-byte pointers on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(RecordingScheduleListRecord, 24); AT(RecordingScheduleListRecord, items, 8);
AT(RecordingScheduleListRecord, resultCode, 16);
SIZE(EventScheduleRecord, 336); AT(EventScheduleRecord, preAlarm, 4); AT(EventScheduleRecord, postAlarm, 8);
AT(EventScheduleRecord, channel, 12); AT(EventScheduleRecord, master, 16); AT(EventScheduleRecord, eventSource, 17);
AT(EventScheduleRecord, notifyCount, 276); AT(EventScheduleRecord, notifies, 280); AT(EventScheduleRecord, start, 288);
AT(EventScheduleRecord, finish, 304); AT(EventScheduleRecord, weekCount, 320); AT(EventScheduleRecord, weeks, 328);
SIZE(EventScheduleRequestRecord, 440); AT(EventScheduleRequestRecord, schedule, 104);
SIZE(EventScheduleResponseRecord, 344); AT(EventScheduleResponseRecord, resultCode, 336);
SIZE(EventScheduleListRecord, 24); AT(EventScheduleListRecord, items, 8); AT(EventScheduleListRecord, resultCode, 16);
SIZE(EventSourceListRecord, 24); AT(EventSourceListRecord, items, 8); AT(EventSourceListRecord, resultCode, 16);
SIZE(SensorListRecord, 24); AT(SensorListRecord, items, 8); AT(SensorListRecord, resultCode, 16);
SIZE(RelayListRecord, 24); AT(RelayListRecord, items, 8); AT(RelayListRecord, resultCode, 16);
#endif

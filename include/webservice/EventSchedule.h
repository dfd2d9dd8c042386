/*
 * WebService: the EventSchedule service (recording and event schedules, event sources, sensors, relays, notification servers, device notifications, manual recording, SD card).  Arguments and status codes as in Common.h.
 *
 * The lists of this service follow one rule, unlike the account lists:
 * resultCode is written first; when it is 0 and the device sent the list,
 * count is written, also when it is 0; an item array is allocated only for a
 * count of 1 or more and is zero-filled before it is filled (what an item
 * lacks reads as 0, empty text or NULL).  Otherwise count and items keep
 * what the caller put there: set them to 0 and NULL first.
 *
 * Every array the library stores in a record (list items and the arrays
 * nested in them) belongs to the caller.  The record's release function,
 * WebService_Free<Record>, releases them all, nested arrays first.
 */
#ifndef WEBSERVICE_EVENT_SCHEDULE_H
#define WEBSERVICE_EVENT_SCHEDULE_H

#include "Account.h"
#include "Common.h"

/* ---- Recording schedules ---- */

/* Entries of RecordingScheduleRecord.timeTable; a weekly schedule sends all
 * of them, every other repeat option the first 48. */
#define WS_RECORDING_TIME_TABLE_SIZE 336
#define WS_RECORDING_DAY_TABLE_SIZE 48

/* One recording schedule (ns1:RecordingSchedule_T).  Reads copy as many
 * time-table entries as the device sends; the rest keep their contents. */
typedef struct RecordingScheduleRecord {
  int32_t scheduleID;
  int32_t preAlarm;
  int32_t postAlarm;
  int32_t repeatOption; /* a ScheduleRepeat value */
  int32_t startYear;
  int32_t startMonth;
  int32_t startDay;
  int32_t finishYear;
  int32_t finishMonth;
  int32_t finishDay;
  int32_t customYear;
  int32_t customMonth;
  int32_t customDay;
  int32_t timeTable[WS_RECORDING_TIME_TABLE_SIZE];
} RecordingScheduleRecord;

typedef struct RecordingScheduleRequestRecord {
  char prefix[100]; /* neither read nor written */
  RecordingScheduleRecord schedule;
} RecordingScheduleRequestRecord;

typedef struct RecordingScheduleResponseRecord {
  RecordingScheduleRecord schedule;
  int32_t resultCode;
} RecordingScheduleResponseRecord;

/* A list of schedules; items is one array. */
typedef struct RecordingScheduleListRecord {
  int32_t count;
  RecordingScheduleRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} RecordingScheduleListRecord;

/* Releases what the library allocated into a RecordingScheduleListRecord
 * (items) and leaves it empty: pointers NULL, counts 0.  NULL, and a record
 * released before, are ignored. */
WS_API void WS_CALL WebService_FreeRecordingScheduleListRecord(RecordingScheduleListRecord *record);

typedef struct ScheduleIdRecord {
  char prefix[100]; /* neither read nor written */
  int32_t scheduleID;
} ScheduleIdRecord;

/* A schedule and the stream (channel, master) it is allocated to. */
typedef struct ScheduleAllocationRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  bool master;
  int32_t scheduleID;
} ScheduleAllocationRecord;

/* ---- Event schedules and event sources ---- */

/* One notification target (ns1:EventNotify_T). */
typedef struct EventNotifyRecord {
  int32_t type; /* an EventNotify value */
  char id[256];
} EventNotifyRecord;

/* One event schedule (ns1:EventSchedule_T).  It holds two arrays of its own,
 * notifies and weeks.  When the library fills the record they are arrays it
 * allocated and the caller owns, released by the release function of the
 * answer that holds the record.  When the caller fills the record for
 * SetEventSchedule they are the caller's arrays, read only. */
typedef struct EventScheduleRecord {
  int32_t ignoreInterval;
  int32_t preAlarm;
  int32_t postAlarm;
  int32_t channel; /* filled by reads; SetEventSchedule always sends 0 */
  bool master;
  char eventSource[256];
  int32_t notifyCount;
  EventNotifyRecord *notifies; /* notifyCount targets */
  TimeSlotRecord start;        /* daily window; extra is neither read nor written */
  TimeSlotRecord finish;
  int32_t weekCount;
  int32_t *weeks; /* weekCount Week values */
} EventScheduleRecord;

typedef struct EventScheduleRequestRecord {
  char prefix[100]; /* neither read nor written */
  EventScheduleRecord schedule;
} EventScheduleRequestRecord;

/* GetEventSchedule: with resultCode 0 and a schedule in the answer, notifies
 * is a new array when notifyCount is 1 or more (else untouched) and weeks is
 * always a new array, even for weekCount 0; the caller releases both (with
 * WebService_FreeEventScheduleResponseRecord).  With
 * another resultCode only resultCode is written. */
typedef struct EventScheduleResponseRecord {
  EventScheduleRecord schedule;
  int32_t resultCode;
} EventScheduleResponseRecord;

/* Releases what the library allocated into an EventScheduleResponseRecord
 * (the schedule's notifies and weeks) and leaves it empty: pointers NULL,
 * counts 0.  NULL, and a record released before, are ignored. */
WS_API void WS_CALL WebService_FreeEventScheduleResponseRecord(EventScheduleResponseRecord *record);

/* GetEventScheduleList: items is an array the caller owns, and each item's
 * notifies (when its notifyCount is 1 or more) and weeks (when its weekCount
 * is 1 or more) are further arrays the caller owns; otherwise they are NULL.
 * WebService_FreeEventScheduleListRecord releases every item's notifies and
 * weeks, then items. */
typedef struct EventScheduleListRecord {
  int32_t count;
  EventScheduleRecord *items;
  int32_t resultCode;
} EventScheduleListRecord;

/* Releases what the library allocated into an EventScheduleListRecord (every
 * item's notifies and weeks, then items) and leaves it empty: pointers NULL,
 * counts 0.  NULL, and a record released before, are ignored. */
WS_API void WS_CALL WebService_FreeEventScheduleListRecord(EventScheduleListRecord *record);

typedef struct EventSourceRecord {
  char prefix[100]; /* neither read nor written */
  char eventSource[256]; /* read up to its terminator */
} EventSourceRecord;

/* One event source's name. */
typedef struct EventSourceNameRecord {
  char name[256];
} EventSourceNameRecord;

/* GetEventSourceList: items is one array the caller owns. */
typedef struct EventSourceListRecord {
  int32_t count;
  EventSourceNameRecord *items;
  int32_t resultCode;
} EventSourceListRecord;

/* Releases what the library allocated into an EventSourceListRecord (items)
 * and leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeEventSourceListRecord(EventSourceListRecord *record);

/* A video-analysis event injected by the client, with the client's time. */
typedef struct VAEventTriggerRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  int32_t eventType;
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
} VAEventTriggerRecord;

/* ---- Sensors and relays ---- */

/* One alarm input (ns1:Sensor_T). */
typedef struct SensorRecord {
  int32_t sensorChannel;
  bool enable;
  bool type;
  char name[256];
} SensorRecord;

typedef struct SensorRequestRecord {
  char prefix[100]; /* neither read nor written */
  SensorRecord sensor;
} SensorRequestRecord;

typedef struct SensorResponseRecord {
  SensorRecord sensor;
  int32_t resultCode;
} SensorResponseRecord;

/* GetSensorList: items is one array the caller owns. */
typedef struct SensorListRecord {
  int32_t count;
  SensorRecord *items;
  int32_t resultCode;
} SensorListRecord;

/* Releases what the library allocated into a SensorListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeSensorListRecord(SensorListRecord *record);

/* One relay output (ns1:Relay_T). */
typedef struct RelayRecord {
  int32_t relayChannel;
  int32_t controlDuration;
  bool type;
  char name[256];
} RelayRecord;

typedef struct RelayRequestRecord {
  char prefix[100]; /* neither read nor written */
  RelayRecord relay;
} RelayRequestRecord;

typedef struct RelayResponseRecord {
  RelayRecord relay;
  int32_t resultCode;
} RelayResponseRecord;

/* GetRelayList: items is one array the caller owns. */
typedef struct RelayListRecord {
  int32_t count;
  RelayRecord *items;
  int32_t resultCode;
} RelayListRecord;

/* Releases what the library allocated into a RelayListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeRelayListRecord(RelayListRecord *record);

typedef struct RelayRunRecord {
  char prefix[100]; /* neither read nor written */
  int32_t relayChannel;
  bool enableRun;
} RelayRunRecord;

/* GetRecordingScheduleList: request is any non-null pointer (not read); fills a RecordingScheduleListRecord by the list rule above.  Release it with WebService_FreeRecordingScheduleListRecord. */
WS_API int WS_CALL DLL_WebServiceGetRecordingScheduleList(const char *host, const char *user, const char *password, const void *request, RecordingScheduleListRecord *response, ConnectionInfo *conn);
/* GetAllocatedRecordingScheduleByChannel: reads request->channel; fills a RecordingScheduleListRecord by the list rule above.  Release it with WebService_FreeRecordingScheduleListRecord. */
WS_API int WS_CALL DLL_WebServiceGetAllocatedRecordingScheduleByChannel(const char *host, const char *user, const char *password, const ChannelRecord *request, RecordingScheduleListRecord *response, ConnectionInfo *conn);
/* GetAllocatedRecordingScheduleByStream: reads request->channel and master; fills a RecordingScheduleListRecord by the list rule above.  Release it with WebService_FreeRecordingScheduleListRecord. */
WS_API int WS_CALL DLL_WebServiceGetAllocatedRecordingScheduleByStream(const char *host, const char *user, const char *password, const StreamRecord *request, RecordingScheduleListRecord *response, ConnectionInfo *conn);
/* GetRecordingSchedule: reads request->scheduleID; writes resultCode, and the schedule whenever the answer holds one (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetRecordingSchedule(const char *host, const char *user, const char *password, const ScheduleIdRecord *request, RecordingScheduleResponseRecord *response, ConnectionInfo *conn);
/* AddRecordingSchedule: sends request->schedule (336 time-table entries when weekly, else 48); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddRecordingSchedule(const char *host, const char *user, const char *password, const RecordingScheduleRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* UpdateRecordingSchedule: sends request->schedule as AddRecordingSchedule does; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateRecordingSchedule(const char *host, const char *user, const char *password, const RecordingScheduleRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveRecordingSchedule: reads request->scheduleID; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveRecordingSchedule(const char *host, const char *user, const char *password, const ScheduleIdRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveAllRecordingSchedule: request is any non-null pointer (not read); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveAllRecordingSchedule(const char *host, const char *user, const char *password, const void *request, CallResult *response, ConnectionInfo *conn);
/* AllocateRecordingSchedule: sends request->channel, master and scheduleID; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAllocateRecordingSchedule(const char *host, const char *user, const char *password, const ScheduleAllocationRecord *request, CallResult *response, ConnectionInfo *conn);
/* DeallocateRecordingSchedule: sends request->channel, master and scheduleID; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceDeallocateRecordingSchedule(const char *host, const char *user, const char *password, const ScheduleAllocationRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetEventScheduleList: request is any non-null pointer (not read); fills an EventScheduleListRecord whose arrays the caller then owns and releases with WebService_FreeEventScheduleListRecord (see the record). */
WS_API int WS_CALL DLL_WebServiceGetEventScheduleList(const char *host, const char *user, const char *password, const void *request, EventScheduleListRecord *response, ConnectionInfo *conn);
/* GetEventSchedule: reads request->eventSource; fills an EventScheduleResponseRecord whose arrays the caller then owns and releases with WebService_FreeEventScheduleResponseRecord (see the record). */
WS_API int WS_CALL DLL_WebServiceGetEventSchedule(const char *host, const char *user, const char *password, const EventSourceRecord *request, EventScheduleResponseRecord *response, ConnectionInfo *conn);
/* SetEventSchedule: sends request->schedule with channel 0 (the record's channel is not sent) and the caller's notifies and weeks; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetEventSchedule(const char *host, const char *user, const char *password, const EventScheduleRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetEventSourceList: request is any non-null pointer (not read); fills an EventSourceListRecord by the list rule above.  Release it with WebService_FreeEventSourceListRecord. */
WS_API int WS_CALL DLL_WebServiceGetEventSourceList(const char *host, const char *user, const char *password, const void *request, EventSourceListRecord *response, ConnectionInfo *conn);
/* TriggerVAEvent: sends the request's channel, eventType and date and time; response is any non-null pointer, never written: the status alone tells the outcome.  1-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTriggerVAEvent(const char *host, const char *user, const char *password, const VAEventTriggerRecord *request, void *response, ConnectionInfo *conn);
/* GetSensorList: request is any non-null pointer (not read); fills a SensorListRecord by the list rule above.  Release it with WebService_FreeSensorListRecord. */
WS_API int WS_CALL DLL_WebServiceGetSensorList(const char *host, const char *user, const char *password, const void *request, SensorListRecord *response, ConnectionInfo *conn);
/* GetSensor: request->channel is the sensor channel; writes resultCode, and the sensor whenever the answer holds one (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetSensor(const char *host, const char *user, const char *password, const ChannelRecord *request, SensorResponseRecord *response, ConnectionInfo *conn);
/* SetSensor: sends request->sensor; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSensor(const char *host, const char *user, const char *password, const SensorRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetRelayList: request is any non-null pointer (not read); fills a RelayListRecord by the list rule above.  Release it with WebService_FreeRelayListRecord. */
WS_API int WS_CALL DLL_WebServiceGetRelayList(const char *host, const char *user, const char *password, const void *request, RelayListRecord *response, ConnectionInfo *conn);
/* GetRelay: request->channel is the relay channel; writes resultCode, and the relay whenever the answer holds one (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetRelay(const char *host, const char *user, const char *password, const ChannelRecord *request, RelayResponseRecord *response, ConnectionInfo *conn);
/* SetRelay: sends request->relay; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetRelay(const char *host, const char *user, const char *password, const RelayRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RunRelay: sends request->relayChannel and enableRun; the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceRunRelay(const char *host, const char *user, const char *password, const RelayRunRecord *request, CallResult *response, ConnectionInfo *conn);

/* ==== FTP and SMTP servers, device notifications, manual recording and the
 * SD card ====
 *
 * Server reads (GetFTPServer, GetSMTPServer) write resultCode whatever its
 * value and then copy what the answer holds: a text the answer lacks leaves
 * its array as it was.  Server lists and the two notification lists follow
 * the list rule at the top of this header.  Each answer that holds arrays
 * (item arrays, the SD-card time table, the SD file names and the array of
 * them) has its release function, WebService_Free<Record>. */

/* ---- FTP and SMTP servers ---- */

/* One FTP server the device uploads to (ns1:FTPServer_T). */
typedef struct FTPServerRecord {
  char alias[256];
  char serverAddress[100];
  int32_t port;
  char userID[100];
  char password[100];
  char folder[100];
} FTPServerRecord;

/* One SMTP server the device sends mail through (ns1:SMTPServer_T). */
typedef struct SMTPServerRecord {
  char alias[256];
  char serverAddress[100];
  int32_t port;
  char userID[100];
  char password[100];
  char recipientAddress[100];
  char adminAddress[100];
  char subject[256];
  char message[2048];
  bool enableSSL;
} SMTPServerRecord;

/* A server named by its alias (read up to its terminator). */
typedef struct AliasRecord {
  char prefix[100]; /* neither read nor written */
  char alias[256];
} AliasRecord;

typedef struct FTPServerRequestRecord {
  char prefix[100]; /* neither read nor written */
  FTPServerRecord server;
} FTPServerRequestRecord;

/* prevAlias: the alias under which the device holds the server now. */
typedef struct FTPServerUpdateRecord {
  char prefix[100]; /* neither read nor written */
  char prevAlias[256];
  FTPServerRecord server;
} FTPServerUpdateRecord;

typedef struct FTPServerResponseRecord {
  FTPServerRecord server;
  int32_t resultCode;
} FTPServerResponseRecord;

/* GetFTPServerList: items is one array the caller owns. */
typedef struct FTPServerListRecord {
  int32_t count;
  FTPServerRecord *items;
  int32_t resultCode;
} FTPServerListRecord;

/* Releases what the library allocated into an FTPServerListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeFTPServerListRecord(FTPServerListRecord *record);

typedef struct SMTPServerRequestRecord {
  char prefix[100]; /* neither read nor written */
  SMTPServerRecord server;
} SMTPServerRequestRecord;

typedef struct SMTPServerUpdateRecord {
  char prefix[100]; /* neither read nor written */
  char prevAlias[256];
  SMTPServerRecord server;
} SMTPServerUpdateRecord;

typedef struct SMTPServerResponseRecord {
  SMTPServerRecord server;
  int32_t resultCode;
} SMTPServerResponseRecord;

/* GetSMTPServerList: items is one array the caller owns; resultCode comes
 * after a field the library neither reads nor writes. */
typedef struct SMTPServerListRecord {
  int32_t count;
  SMTPServerRecord *items;
  int32_t spare; /* neither read nor written */
  int32_t resultCode;
} SMTPServerListRecord;

/* Releases what the library allocated into an SMTPServerListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeSMTPServerListRecord(SMTPServerListRecord *record);

/* ---- Device notifications ---- */

/* The SMTP server (by alias) that sends the device's own mail. */
typedef struct SMTPNotificationRecord {
  char smtpAlias[256];
  int32_t resultCode;
} SMTPNotificationRecord;

/* The targets to notify; notifies is the caller's array of count targets. */
typedef struct EventNotifyRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t count;
  EventNotifyRecord *notifies;
} EventNotifyRequestRecord;

/* GetRecordingServerDiskFullNotification: resultCode third; items is one
 * array the caller owns. */
typedef struct EventNotifyListRecord {
  int32_t count;
  EventNotifyRecord *items;
  int32_t resultCode;
} EventNotifyListRecord;

/* Releases what the library allocated into an EventNotifyListRecord (items)
 * and leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeEventNotifyListRecord(EventNotifyListRecord *record);

/* GetFanFailNotification: resultCode first; items is one array the caller
 * owns. */
typedef struct FanFailNotificationRecord {
  int32_t resultCode;
  int32_t count;
  EventNotifyRecord *items;
} FanFailNotificationRecord;

/* Releases what the library allocated into a FanFailNotificationRecord
 * (items) and leaves it empty: pointers NULL, counts 0.  NULL, and a record
 * released before, are ignored. */
WS_API void WS_CALL WebService_FreeFanFailNotificationRecord(FanFailNotificationRecord *record);

/* SetFanFailNotification's verdict: resultCode first, then result (the
 * reverse of CallResult). */
typedef struct FanFailCallResult {
  int32_t resultCode;
  bool result;
} FanFailCallResult;

typedef struct TemperatureDeviceRecord {
  char prefix[100]; /* neither read nor written */
  int32_t device; /* a TemperatureDevice value */
} TemperatureDeviceRecord;

typedef struct TemperatureThresholdRecord {
  char prefix[100]; /* neither read nor written */
  int32_t device; /* a TemperatureDevice value */
  int32_t temperature;
} TemperatureThresholdRecord;

/* ---- Manual recording and the SD card (requests without prefix) ---- */

typedef struct ManualRecordingRecord {
  int32_t channel;
  int32_t frameRate;
  int32_t qualityType;    /* a VideoQuality value */
  int32_t resolutionType; /* a Resolution value */
  bool master;
} ManualRecordingRecord;

typedef struct ManualRecordingStopRecord {
  int32_t channel;
  bool master;
} ManualRecordingStopRecord;

/* The SD-card recording schedule (ns1:SDRecording_T).  timetable holds
 * timetableCount entries: the caller's array for SetSDRecordingSchedule, a
 * new array the caller owns after GetSDRecordingSchedule. */
typedef struct SDRecordingRecord {
  int32_t recordingType;
  int32_t timetableCount;
  int32_t *timetable;
  int32_t channel;
  bool master;
  bool networkFailureRecording;
  char recordingServerIP[50];
} SDRecordingRecord;

/* GetSDRecordingSchedule: timetableCount is written when the answer holds a
 * time table; timetable is a new array only for a count of 1 or more. */
typedef struct SDRecordingResponseRecord {
  SDRecordingRecord schedule;
  int32_t resultCode;
} SDRecordingResponseRecord;

/* Releases what the library allocated into an SDRecordingResponseRecord (the
 * schedule's timetable) and leaves it empty: pointers NULL, counts 0.  NULL,
 * and a record released before, are ignored. */
WS_API void WS_CALL WebService_FreeSDRecordingResponseRecord(SDRecordingResponseRecord *record);

/* The card's state (ns1:SDInfo_T); status values are the device's. */
typedef struct SDInfoRecord {
  char diskID[256];
  int32_t totalSpace;
  int32_t freeSpace;
  int32_t status;
  bool isReadOnly;
} SDInfoRecord;

typedef struct SDInfoResponseRecord {
  SDInfoRecord info;
  int32_t resultCode;
} SDInfoResponseRecord;

/* The card's settings (ns1:SDConfig_T). */
typedef struct SDConfigRecord {
  bool overwrite;
  bool diskFullNotification;
  char diskFullNotificationSMTPServerID[256];
} SDConfigRecord;

typedef struct SDConfigResponseRecord {
  SDConfigRecord config;
  int32_t resultCode;
} SDConfigResponseRecord;

/* The time range of GetSDRecordingFiles. */
typedef struct SDFileQueryRecord {
  int32_t startYear;
  int32_t startMonth;
  int32_t startDay;
  int32_t startHour;
  int32_t startMinute;
  int32_t startSecond;
  int32_t spare; /* neither read nor written */
  int32_t endYear;
  int32_t endMonth;
  int32_t endDay;
  int32_t endHour;
  int32_t endMinute;
  int32_t endSecond;
} SDFileQueryRecord;

/* GetSDRecordingFiles: resultCode is always written.  When the answer lists
 * one name or more (whatever resultCode), count is written and names is a
 * new array of count names, each a separate copy (NULL for a nil name);
 * WebService_FreeSDFileListRecord releases the names and the array.  An empty or
 * missing list leaves count and names as they were. */
typedef struct SDFileListRecord {
  int32_t count;
  char **names;
  int32_t resultCode;
} SDFileListRecord;

/* Releases what the library allocated into an SDFileListRecord (every name,
 * then names) and leaves it empty: pointers NULL, counts 0.  NULL, and a
 * record released before, are ignored. */
WS_API void WS_CALL WebService_FreeSDFileListRecord(SDFileListRecord *record);

/* GetFTPServerList: request is any non-null pointer (not read); fills an FTPServerListRecord by the list rule above.  Release it with WebService_FreeFTPServerListRecord. */
WS_API int WS_CALL DLL_WebServiceGetFTPServerList(const char *host, const char *user, const char *password, const void *request, FTPServerListRecord *response, ConnectionInfo *conn);
/* GetFTPServer: reads request->alias; writes resultCode, and the server's fields the answer holds (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetFTPServer(const char *host, const char *user, const char *password, const AliasRecord *request, FTPServerResponseRecord *response, ConnectionInfo *conn);
/* AddFTPServer: sends request->server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddFTPServer(const char *host, const char *user, const char *password, const FTPServerRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveFTPServer: reads request->alias; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveFTPServer(const char *host, const char *user, const char *password, const AliasRecord *request, CallResult *response, ConnectionInfo *conn);
/* UpdateFTPServer: sends request->prevAlias and the whole server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateFTPServer(const char *host, const char *user, const char *password, const FTPServerUpdateRecord *request, CallResult *response, ConnectionInfo *conn);
/* TestFTPServer: sends the server record itself (no prefix); the device's verdict goes to a CallResult.  20-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTestFTPServer(const char *host, const char *user, const char *password, const FTPServerRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSMTPServerList: request is any non-null pointer (not read); fills an SMTPServerListRecord by the list rule above (spare untouched).  Release it with WebService_FreeSMTPServerListRecord. */
WS_API int WS_CALL DLL_WebServiceGetSMTPServerList(const char *host, const char *user, const char *password, const void *request, SMTPServerListRecord *response, ConnectionInfo *conn);
/* GetSMTPServer: reads request->alias; writes resultCode, and the server's fields the answer holds (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetSMTPServer(const char *host, const char *user, const char *password, const AliasRecord *request, SMTPServerResponseRecord *response, ConnectionInfo *conn);
/* AddSMTPServer: sends request->server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddSMTPServer(const char *host, const char *user, const char *password, const SMTPServerRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveSMTPServer: reads request->alias; writes only the boolean result, one byte at response (no resultCode). */
WS_API int WS_CALL DLL_WebServiceRemoveSMTPServer(const char *host, const char *user, const char *password, const AliasRecord *request, bool *response, ConnectionInfo *conn);
/* UpdateSMTPServer: sends request->prevAlias and the whole server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateSMTPServer(const char *host, const char *user, const char *password, const SMTPServerUpdateRecord *request, CallResult *response, ConnectionInfo *conn);
/* TestSMTPServer: sends request->server; the device's verdict goes to a CallResult.  20-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTestSMTPServer(const char *host, const char *user, const char *password, const SMTPServerRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSMTPNotification: request is any non-null pointer (not read); writes resultCode, and smtpAlias when the answer holds one. */
WS_API int WS_CALL DLL_WebServiceGetSMTPNotification(const char *host, const char *user, const char *password, const void *request, SMTPNotificationRecord *response, ConnectionInfo *conn);
/* SetSMTPNotification: sends request->alias as the SMTP server of the device's mail; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSMTPNotification(const char *host, const char *user, const char *password, const AliasRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetFanFailNotification: request is any non-null pointer (not read); fills a FanFailNotificationRecord (resultCode first) by the list rule above.  Release it with WebService_FreeFanFailNotificationRecord. */
WS_API int WS_CALL DLL_WebServiceGetFanFailNotification(const char *host, const char *user, const char *password, const void *request, FanFailNotificationRecord *response, ConnectionInfo *conn);
/* SetFanFailNotification: sends the caller's count notifies; the device's verdict goes to a FanFailCallResult (resultCode first). */
WS_API int WS_CALL DLL_WebServiceSetFanFailNotification(const char *host, const char *user, const char *password, const EventNotifyRequestRecord *request, FanFailCallResult *response, ConnectionInfo *conn);
/* GetRecordingServerDiskFullNotification: request is any non-null pointer (not read); fills an EventNotifyListRecord by the list rule above.  Release it with WebService_FreeEventNotifyListRecord. */
WS_API int WS_CALL DLL_WebServiceGetRecordingServerDiskFullNotification(const char *host, const char *user, const char *password, const void *request, EventNotifyListRecord *response, ConnectionInfo *conn);
/* SetRecordingServerDiskFullNotification: sends the caller's count notifies; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetRecordingServerDiskFullNotification(const char *host, const char *user, const char *password, const EventNotifyRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetTemperatureThreshold: reads request->device; writes the temperature to value and resultCode of an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetTemperatureThreshold(const char *host, const char *user, const char *password, const TemperatureDeviceRecord *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetTemperatureThreshold: sends request->device and temperature; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetTemperatureThreshold(const char *host, const char *user, const char *password, const TemperatureThresholdRecord *request, CallResult *response, ConnectionInfo *conn);
/* StartManualRecording: sends the request's five fields (no prefix); the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceStartManualRecording(const char *host, const char *user, const char *password, const ManualRecordingRecord *request, CallResult *response, ConnectionInfo *conn);
/* StopManualRecording: sends request->channel and master (no prefix); the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceStopManualRecording(const char *host, const char *user, const char *password, const ManualRecordingStopRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSDRecordingSchedule: request is any non-null pointer (not read); fills an SDRecordingResponseRecord whose new timetable the caller owns (see the record).  Release it with WebService_FreeSDRecordingResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetSDRecordingSchedule(const char *host, const char *user, const char *password, const void *request, SDRecordingResponseRecord *response, ConnectionInfo *conn);
/* SetSDRecordingSchedule: sends the schedule with the caller's timetableCount entries (no prefix); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSDRecordingSchedule(const char *host, const char *user, const char *password, const SDRecordingRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSDInfo: request is any non-null pointer (not read); writes resultCode, and the card's state when the answer holds it (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetSDInfo(const char *host, const char *user, const char *password, const void *request, SDInfoResponseRecord *response, ConnectionInfo *conn);
/* CommandSD: request points at the int32 command code (the device's); the device's verdict goes to a CallResult.  60-second time-outs. */
WS_API int WS_CALL DLL_WebServiceCommandSD(const char *host, const char *user, const char *password, const int32_t *request, CallResult *response, ConnectionInfo *conn);
/* GetSDConfig: request is any non-null pointer (not read); writes resultCode, and the settings when the answer holds them (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetSDConfig(const char *host, const char *user, const char *password, const void *request, SDConfigResponseRecord *response, ConnectionInfo *conn);
/* SetSDConfig: sends the settings (no prefix); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSDConfig(const char *host, const char *user, const char *password, const SDConfigRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSDRecordingFiles: sends the request's start and end (spare not read); fills an SDFileListRecord whose names the caller owns (see the record).  Release it with WebService_FreeSDFileListRecord. */
WS_API int WS_CALL DLL_WebServiceGetSDRecordingFiles(const char *host, const char *user, const char *password, const SDFileQueryRecord *request, SDFileListRecord *response, ConnectionInfo *conn);
/* GetSDRecordingFile: request is the file name itself (zero-terminated); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceGetSDRecordingFile(const char *host, const char *user, const char *password, const char *request, CallResult *response, ConnectionInfo *conn);
/* RemoveSDRecordingFile: request is the file name itself (zero-terminated); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveSDRecordingFile(const char *host, const char *user, const char *password, const char *request, CallResult *response, ConnectionInfo *conn);

/* ==== end of the notification servers, device notifications, manual
 * recording and the SD card ==== */

#endif

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
 * nested in them) belongs to the caller.  Release each with
 * WebService_FreeItems (or delete[] of its type), nested arrays first.
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

/* A list of schedules; items is one array, released with
 * WebService_FreeItems(items). */
typedef struct RecordingScheduleListRecord {
  int32_t count;
  RecordingScheduleRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} RecordingScheduleListRecord;

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
 * allocated and the caller owns: release notifies and weeks with
 * WebService_FreeItems before (or without) the record that holds them.
 * When the caller fills the record for SetEventSchedule they are the
 * caller's arrays, read only. */
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
 * always a new array, even for weekCount 0; the caller releases both.  With
 * another resultCode only resultCode is written. */
typedef struct EventScheduleResponseRecord {
  EventScheduleRecord schedule;
  int32_t resultCode;
} EventScheduleResponseRecord;

/* GetEventScheduleList: items is an array the caller owns, and each item's
 * notifies (when its notifyCount is 1 or more) and weeks (when its weekCount
 * is 1 or more) are further arrays the caller owns; otherwise they are NULL.
 * Release every item's notifies and weeks, then items. */
typedef struct EventScheduleListRecord {
  int32_t count;
  EventScheduleRecord *items;
  int32_t resultCode;
} EventScheduleListRecord;

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

typedef struct RelayRunRecord {
  char prefix[100]; /* neither read nor written */
  int32_t relayChannel;
  bool enableRun;
} RelayRunRecord;

/* GetRecordingScheduleList: request is any non-null pointer (not read); fills a RecordingScheduleListRecord by the list rule above. */
WS_API int WS_CALL DLL_WebServiceGetRecordingScheduleList(const char *host, const char *user, const char *password, const void *request, RecordingScheduleListRecord *response, ConnectionInfo *conn);
/* GetAllocatedRecordingScheduleByChannel: reads request->channel; fills a RecordingScheduleListRecord by the list rule above. */
WS_API int WS_CALL DLL_WebServiceGetAllocatedRecordingScheduleByChannel(const char *host, const char *user, const char *password, const ChannelRecord *request, RecordingScheduleListRecord *response, ConnectionInfo *conn);
/* GetAllocatedRecordingScheduleByStream: reads request->channel and master; fills a RecordingScheduleListRecord by the list rule above. */
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
/* GetEventScheduleList: request is any non-null pointer (not read); fills an EventScheduleListRecord whose arrays the caller then owns (see the record). */
WS_API int WS_CALL DLL_WebServiceGetEventScheduleList(const char *host, const char *user, const char *password, const void *request, EventScheduleListRecord *response, ConnectionInfo *conn);
/* GetEventSchedule: reads request->eventSource; fills an EventScheduleResponseRecord whose arrays the caller then owns (see the record). */
WS_API int WS_CALL DLL_WebServiceGetEventSchedule(const char *host, const char *user, const char *password, const EventSourceRecord *request, EventScheduleResponseRecord *response, ConnectionInfo *conn);
/* SetEventSchedule: sends request->schedule with channel 0 (the record's channel is not sent) and the caller's notifies and weeks; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetEventSchedule(const char *host, const char *user, const char *password, const EventScheduleRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetEventSourceList: request is any non-null pointer (not read); fills an EventSourceListRecord by the list rule above. */
WS_API int WS_CALL DLL_WebServiceGetEventSourceList(const char *host, const char *user, const char *password, const void *request, EventSourceListRecord *response, ConnectionInfo *conn);
/* TriggerVAEvent: sends the request's channel, eventType and date and time; response is any non-null pointer, never written: the status alone tells the outcome.  1-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTriggerVAEvent(const char *host, const char *user, const char *password, const VAEventTriggerRecord *request, void *response, ConnectionInfo *conn);
/* GetSensorList: request is any non-null pointer (not read); fills a SensorListRecord by the list rule above. */
WS_API int WS_CALL DLL_WebServiceGetSensorList(const char *host, const char *user, const char *password, const void *request, SensorListRecord *response, ConnectionInfo *conn);
/* GetSensor: request->channel is the sensor channel; writes resultCode, and the sensor whenever the answer holds one (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetSensor(const char *host, const char *user, const char *password, const ChannelRecord *request, SensorResponseRecord *response, ConnectionInfo *conn);
/* SetSensor: sends request->sensor; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSensor(const char *host, const char *user, const char *password, const SensorRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetRelayList: request is any non-null pointer (not read); fills a RelayListRecord by the list rule above. */
WS_API int WS_CALL DLL_WebServiceGetRelayList(const char *host, const char *user, const char *password, const void *request, RelayListRecord *response, ConnectionInfo *conn);
/* GetRelay: request->channel is the relay channel; writes resultCode, and the relay whenever the answer holds one (whatever resultCode). */
WS_API int WS_CALL DLL_WebServiceGetRelay(const char *host, const char *user, const char *password, const ChannelRecord *request, RelayResponseRecord *response, ConnectionInfo *conn);
/* SetRelay: sends request->relay; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetRelay(const char *host, const char *user, const char *password, const RelayRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RunRelay: sends request->relayChannel and enableRun; the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceRunRelay(const char *host, const char *user, const char *password, const RelayRunRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

/*
 * WebService: the BasicSystem service (device identity and capabilities;
 * date, time and time zone; recording servers; reboot, restore, factory
 * initialisation, backup, firmware upgrade, logs and reports).  Arguments and
 * status codes as in Common.h.
 */
#ifndef WEBSERVICE_BASICSYSTEM_H
#define WEBSERVICE_BASICSYSTEM_H

#include "Common.h"

typedef struct ChannelListRecord {
  int32_t channel[4]; /* the first four channel numbers, in the device's order */
  int32_t count;      /* items received (at most 4 are copied) */
  int32_t resultCode;
} ChannelListRecord;

typedef struct VersionRecord {
  char swVersion[100]; /* fields absent from the answer keep their value */
  char hwVersion[100];
  char fwVersion[100];
  int32_t resultCode;
} VersionRecord;

typedef struct ParameterRecord {
  char key[256];
  char value[256];
} ParameterRecord;

/* count is written whenever resultCode is 0 and the list is present (also when
 * 0); items only when count is at least 1. */
typedef struct ParameterListRecord {
  int32_t count;
  ParameterRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} ParameterListRecord;

/* Releases what the library allocated into a ParameterListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeParameterListRecord(ParameterListRecord *record);

/* The device clock (ns1:DateTimeConfig_T).  The get copies only the parts the
 * answer carries; the set sends every field whatever the mode. */
typedef struct DateTimeConfigRecord {
  int32_t dateTimeMode;    /* a DateTimeMode value */
  char serverAddress[256]; /* the NTP server */
  int32_t interval;        /* an NtpInterval value */
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t reserved; /* neither read nor written */
  int32_t resultCode; /* written by the get; not read by the set */
} DateTimeConfigRecord;

typedef struct DateTimeConfigRequestRecord {
  char prefix[100]; /* neither read nor written */
  DateTimeConfigRecord config;
} DateTimeConfigRequestRecord;

typedef struct TimeZoneRecord {
  char timeZone[50];
  int32_t resultCode;
} TimeZoneRecord;

/* One entry of the time-zone list. */
typedef char TimeZoneName[100];

/* count is written whenever resultCode is 0 and the list is present (also when
 * 0); items only when count is at least 1. */
typedef struct TimeZoneListRecord {
  int32_t count;
  TimeZoneName *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} TimeZoneListRecord;

/* Releases what the library allocated into a TimeZoneListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeTimeZoneListRecord(TimeZoneListRecord *record);

/* One recording server (ns1:RecordingServer_T). */
typedef struct RecordingServerRecord {
  bool enable;
  char alias[256]; /* the name the device knows the server by, unique */
  int32_t type;
  char serverAddress[100];
  char userID[100];
  char password[100];
  char folder[256];
  int32_t capacity;
  bool overwrite;
} RecordingServerRecord;

typedef struct RecordingServerReplyRecord {
  RecordingServerRecord server; /* texts absent from the answer keep their value */
  int32_t resultCode;
} RecordingServerReplyRecord;

/* count is written whenever resultCode is 0 and the list is present (also when
 * 0); items only when count is at least 1. */
typedef struct RecordingServerListRecord {
  int32_t count;
  RecordingServerRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} RecordingServerListRecord;

/* Releases what the library allocated into a RecordingServerListRecord
 * (items) and leaves it empty: pointers NULL, counts 0.  NULL, and a record
 * released before, are ignored. */
WS_API void WS_CALL WebService_FreeRecordingServerListRecord(RecordingServerListRecord *record);

typedef struct RecordingServerUpdateRecord {
  char prevAlias[256];          /* the alias the device knows the server by now */
  RecordingServerRecord server; /* its new settings; the alias may change */
} RecordingServerUpdateRecord;

typedef struct BackupFilenameRecord {
  char filename[256];
  int32_t resultCode;
} BackupFilenameRecord;

/* count is written whenever resultCode is 0 and the list is present (also when
 * 0); items only when count is at least 1.  items is an array of count
 * separately duplicated texts (a null entry where the device sent none);
 * WebService_FreeLoggedDateListRecord releases the texts and the array. */
typedef struct LoggedDateListRecord {
  int32_t count;
  char **items;
  int32_t resultCode;
} LoggedDateListRecord;

/* Releases what the library allocated into a LoggedDateListRecord (items and
 * every text in it) and leaves it empty: pointers NULL, counts 0.  NULL, and
 * a record released before, are ignored. */
WS_API void WS_CALL WebService_FreeLoggedDateListRecord(LoggedDateListRecord *record);

/* text is written only when resultCode is 0 and the device sent a log: the
 * whole log, never cut, in a buffer the caller then owns and releases with
 * WebService_FreeLogTextRecord. */
typedef struct LogTextRecord {
  char *text;
  int32_t resultCode;
} LogTextRecord;

/* Releases what the library allocated into a LogTextRecord (text) and leaves
 * it empty: pointers NULL, counts 0.  NULL, and a record released before, are
 * ignored. */
WS_API void WS_CALL WebService_FreeLogTextRecord(LogTextRecord *record);

/* The report text, cut to 99,999 characters. */
typedef struct ReportRecord {
  char report[100000];
  int32_t resultCode;
} ReportRecord;

/* GetMaxChannel: request any non-null pointer (not read); fills an IntValueRecord.  1-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetMaxChannel(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* GetChannelList: request any non-null pointer (not read); fills a ChannelListRecord. */
WS_API int WS_CALL DLL_WebServiceGetChannelList(const char *host, const char *user, const char *password, const void *request, ChannelListRecord *response, ConnectionInfo *conn);
/* GetDateTimeConfig: request any non-null pointer (not read); fills the parts of a DateTimeConfigRecord the answer carries (reserved untouched). */
WS_API int WS_CALL DLL_WebServiceGetDateTimeConfig(const char *host, const char *user, const char *password, const void *request, DateTimeConfigRecord *response, ConnectionInfo *conn);
/* SetDateTimeConfig: sends the whole of request->config whatever the mode; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetDateTimeConfig(const char *host, const char *user, const char *password, const DateTimeConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* TestNTPServer: request is the zero-terminated NTP server address to try; the outcome goes to a CallResult.  20-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTestNTPServer(const char *host, const char *user, const char *password, const char *request, CallResult *response, ConnectionInfo *conn);
/* GetTimeZoneList: request any non-null pointer (not read); fills a TimeZoneListRecord whose items array the caller then owns and releases with WebService_FreeTimeZoneListRecord.  30-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetTimeZoneList(const char *host, const char *user, const char *password, const void *request, TimeZoneListRecord *response, ConnectionInfo *conn);
/* GetTimeZone: request any non-null pointer (not read); fills a TimeZoneRecord (name cut to 49 characters). */
WS_API int WS_CALL DLL_WebServiceGetTimeZone(const char *host, const char *user, const char *password, const void *request, TimeZoneRecord *response, ConnectionInfo *conn);
/* SetTimeZone: request->text is the zone name; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetTimeZone(const char *host, const char *user, const char *password, const TextRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* Reboot: five arguments, no response; request any non-null pointer (not read).  Returns the status of the exchange; the device's
 * resultCode is not handed over. */
WS_API int WS_CALL DLL_WebServiceReboot(const char *host, const char *user, const char *password, const void *request, ConnectionInfo *conn);
/* Restore: request->text is the backup file name; the device's verdict goes to a CallResult.  180-second time-outs. */
WS_API int WS_CALL DLL_WebServiceRestore(const char *host, const char *user, const char *password, const TextRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* InitFactory: request any non-null pointer (not read); the device's verdict goes to a CallResult.  180-second time-outs. */
WS_API int WS_CALL DLL_WebServiceInitFactory(const char *host, const char *user, const char *password, const void *request, CallResult *response, ConnectionInfo *conn);
/* GetBackupFilename: request any non-null pointer (not read); fills a BackupFilenameRecord.  180-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetBackupFilename(const char *host, const char *user, const char *password, const void *request, BackupFilenameRecord *response, ConnectionInfo *conn);
/* UpgradeFirmware: request->text is the firmware file name; the device's verdict goes to a CallResult.  180-second time-outs. */
WS_API int WS_CALL DLL_WebServiceUpgradeFirmware(const char *host, const char *user, const char *password, const TextRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetVersion: request any non-null pointer (not read); fills a VersionRecord.  Tries endpoint kind 0, then kind 1 when that fails or reports no
 * software version, and writes the kind it used last into conn->endpointKind.  Both attempts write into the same record, which is not
 * cleared between them: when the second fails, the record keeps what the first answer carried.  Returns the last attempt's status.
 * 5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetVersion(const char *host, const char *user, const char *password, const void *request, VersionRecord *response, ConnectionInfo *conn);
/* GetLoggedDateList: request any non-null pointer (not read); fills a LoggedDateListRecord whose array and texts the caller then owns and releases with WebService_FreeLoggedDateListRecord.  30-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetLoggedDateList(const char *host, const char *user, const char *password, const void *request, LoggedDateListRecord *response, ConnectionInfo *conn);
/* GetLogs: request->text is the date; fills a LogTextRecord whose text buffer the caller then owns and releases with WebService_FreeLogTextRecord.  30-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetLogs(const char *host, const char *user, const char *password, const TextRequestRecord *request, LogTextRecord *response, ConnectionInfo *conn);
/* GetReports: request any non-null pointer (not read); fills a ReportRecord.  30-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetReports(const char *host, const char *user, const char *password, const void *request, ReportRecord *response, ConnectionInfo *conn);
/* GetMaxStreamConnection: request any non-null pointer (not read); fills an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetMaxStreamConnection(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetMaxStreamConnection: request points to the new limit; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetMaxStreamConnection(const char *host, const char *user, const char *password, const int32_t *request, CallResult *response, ConnectionInfo *conn);
/* GetRecordingServerList: request any non-null pointer (not read); fills a RecordingServerListRecord whose items array the caller then owns and releases with WebService_FreeRecordingServerListRecord. */
WS_API int WS_CALL DLL_WebServiceGetRecordingServerList(const char *host, const char *user, const char *password, const void *request, RecordingServerListRecord *response, ConnectionInfo *conn);
/* GetRecordingServer: request->text is the alias; fills a RecordingServerReplyRecord. */
WS_API int WS_CALL DLL_WebServiceGetRecordingServer(const char *host, const char *user, const char *password, const TextRequestRecord *request, RecordingServerReplyRecord *response, ConnectionInfo *conn);
/* UpdateRecordingServer: sends request->prevAlias and the whole of request->server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateRecordingServer(const char *host, const char *user, const char *password, const RecordingServerUpdateRecord *request, CallResult *response, ConnectionInfo *conn);
/* AddRecordingServer: sends the whole server; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddRecordingServer(const char *host, const char *user, const char *password, const RecordingServerRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveRecordingServer: request is the zero-terminated alias; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveRecordingServer(const char *host, const char *user, const char *password, const char *request, CallResult *response, ConnectionInfo *conn);
/* TestRecordingServer: asks the device to try the whole server; the outcome goes to a CallResult.  20-second time-outs. */
WS_API int WS_CALL DLL_WebServiceTestRecordingServer(const char *host, const char *user, const char *password, const RecordingServerRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetSpecProfile: request any non-null pointer (not read); fills a ParameterListRecord whose items array the caller then owns and releases with WebService_FreeParameterListRecord. */
WS_API int WS_CALL DLL_WebServiceGetSpecProfile(const char *host, const char *user, const char *password, const void *request, ParameterListRecord *response, ConnectionInfo *conn);
/* GetFunctionMap: request is the zero-terminated category; fills a ParameterListRecord whose items array the caller then owns and releases with WebService_FreeParameterListRecord. */
WS_API int WS_CALL DLL_WebServiceGetFunctionMap(const char *host, const char *user, const char *password, const char *request, ParameterListRecord *response, ConnectionInfo *conn);
/* GetDeviceInformation: request any non-null pointer (not read); fills a ParameterListRecord whose items array the caller then owns and releases with WebService_FreeParameterListRecord. */
WS_API int WS_CALL DLL_WebServiceGetDeviceInformation(const char *host, const char *user, const char *password, const void *request, ParameterListRecord *response, ConnectionInfo *conn);

#endif

/*
 * WebService: the Account service (user accounts, user levels, login session
 * settings).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_ACCOUNT_H
#define WEBSERVICE_ACCOUNT_H

#include "Common.h"

/* One user account (ns1:User_T). */
typedef struct UserRecord {
  char userID[100];
  char password[100];
  int32_t userLevel; /* a UserLevel value */
} UserRecord;

typedef struct UserRequestRecord {
  char prefix[100]; /* neither read nor written */
  UserRecord user;  /* GetUser and RemoveUser read only user.userID */
} UserRequestRecord;

typedef struct UserResponseRecord {
  char userID[100];
  char password[100];
  int32_t userLevel;
  char spare[100]; /* never written */
  int32_t resultCode;
} UserResponseRecord;

/* count and items are written only when resultCode is 0 and the device listed
 * at least one user: set them to 0 and NULL before the call. */
typedef struct UserListRecord {
  int32_t count;
  UserRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} UserListRecord;

/* Releases what the library allocated into a UserListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeUserListRecord(UserListRecord *record);

typedef struct TimeSlotRecord {
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t extra; /* neither read nor written */
} TimeSlotRecord;

typedef struct SessionConfigRecord {
  bool enableAnonymous;
  TimeSlotRecord maxRTPStreamTime[4];
} SessionConfigRecord;

typedef struct SessionConfigRequestRecord {
  char prefix[100]; /* neither read nor written */
  SessionConfigRecord config;
} SessionConfigRequestRecord;

typedef struct SessionConfigResponseRecord {
  SessionConfigRecord config;
  int32_t resultCode;
} SessionConfigResponseRecord;

/* GetUserList: request is any non-null pointer (not read); fills a UserListRecord whose items array the caller then owns and releases with WebService_FreeUserListRecord. */
WS_API int WS_CALL DLL_WebServiceGetUserList(const char *host, const char *user, const char *password, const void *request, UserListRecord *response, ConnectionInfo *conn);
/* GetUser: reads request->user.userID; fills a UserResponseRecord (spare untouched). */
WS_API int WS_CALL DLL_WebServiceGetUser(const char *host, const char *user, const char *password, const UserRequestRecord *request, UserResponseRecord *response, ConnectionInfo *conn);
/* AddUser: sends request->user; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddUser(const char *host, const char *user, const char *password, const UserRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* UpdateUser: sends request->user; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateUser(const char *host, const char *user, const char *password, const UserRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveUser: reads request->user.userID; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveUser(const char *host, const char *user, const char *password, const UserRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetUserCount: request is any non-null pointer (not read); the count goes to an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetUserCount(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* GetUserLevel: request is the zero-terminated client address to ask about; the UserLevel goes to an IntValueRecord.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetUserLevel(const char *host, const char *user, const char *password, const char *request, IntValueRecord *response, ConnectionInfo *conn);
/* GetSessionConfig: request is any non-null pointer (not read); fills a SessionConfigResponseRecord (extra fields untouched). */
WS_API int WS_CALL DLL_WebServiceGetSessionConfig(const char *host, const char *user, const char *password, const void *request, SessionConfigResponseRecord *response, ConnectionInfo *conn);
/* SetSessionConfig: sends request->config with exactly four time slots; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetSessionConfig(const char *host, const char *user, const char *password, const SessionConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

/*
 * WebService: the Utility service (audio client connection, display language).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_UTILITY_H
#define WEBSERVICE_UTILITY_H

#include "Common.h"

/* The audio endpoint the device is to connect to as an audio client. */
typedef struct AudioClientRecord {
  char prefix[100]; /* neither read nor written */
  char url[100];
  int32_t port;
  char userID[100];
  char password[100];
  bool enableTcp; /* any nonzero byte is sent as true */
} AudioClientRecord;

typedef struct LanguageRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t language; /* a Language value */
} LanguageRequestRecord;

/* ConnectClientForAudio: sends url, port, userID, password and enableTcp; the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceConnectClientForAudio(const char *host, const char *user, const char *password, const AudioClientRecord *request, CallResult *response, ConnectionInfo *conn);
/* DisconnectClientForAudio: request is any non-null pointer (not read); the device's verdict goes to a CallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceDisconnectClientForAudio(const char *host, const char *user, const char *password, const void *request, CallResult *response, ConnectionInfo *conn);
/* GetLanguage: request is any non-null pointer (not read); the Language goes to an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetLanguage(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetLanguage: sends request->language as its symbol (a value outside the table as its number); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetLanguage(const char *host, const char *user, const char *password, const LanguageRequestRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

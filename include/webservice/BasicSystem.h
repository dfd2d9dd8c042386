/*
 * WebService: the BasicSystem service, device identity and capabilities.
 * Arguments and status codes as in Common.h.
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

/* GetMaxChannel: request any non-null pointer (not read); fills an IntValueRecord.  1-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetMaxChannel(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* GetChannelList: request any non-null pointer (not read); fills a ChannelListRecord. */
WS_API int WS_CALL DLL_WebServiceGetChannelList(const char *host, const char *user, const char *password, const void *request, ChannelListRecord *response, ConnectionInfo *conn);
/* GetVersion: request any non-null pointer (not read); fills a VersionRecord.  Tries endpoint kind 0, then kind 1 when that fails or reports no
 * software version, and writes the kind it used last into conn->endpointKind.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetVersion(const char *host, const char *user, const char *password, const void *request, VersionRecord *response, ConnectionInfo *conn);
/* GetSpecProfile: request any non-null pointer (not read); fills a ParameterListRecord whose items array the caller then owns. */
WS_API int WS_CALL DLL_WebServiceGetSpecProfile(const char *host, const char *user, const char *password, const void *request, ParameterListRecord *response, ConnectionInfo *conn);
/* GetFunctionMap: request is the zero-terminated category; fills a ParameterListRecord whose items array the caller then owns. */
WS_API int WS_CALL DLL_WebServiceGetFunctionMap(const char *host, const char *user, const char *password, const char *request, ParameterListRecord *response, ConnectionInfo *conn);
/* GetDeviceInformation: request any non-null pointer (not read); fills a ParameterListRecord whose items array the caller then owns. */
WS_API int WS_CALL DLL_WebServiceGetDeviceInformation(const char *host, const char *user, const char *password, const void *request, ParameterListRecord *response, ConnectionInfo *conn);
/* GetMaxStreamConnection: request any non-null pointer (not read); fills an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetMaxStreamConnection(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetMaxStreamConnection: request points to the new limit; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetMaxStreamConnection(const char *host, const char *user, const char *password, const int32_t *request, CallResult *response, ConnectionInfo *conn);

#endif

/*
 * WebService: the Factory service (default settings, pass-through PTZ and audio, serial number, factory reset).  Arguments and status codes as in Common.h.
 *
 * Unlike every other service, this one takes its texts as Latin-1: a byte of
 * 0x80 or more in a request goes out as the UTF-8 form of that Latin-1
 * character (0xE9 as 0xC3 0xA9), and a character of the answer up to 255
 * comes back as one byte.  A character above 255 in an answer has no Latin-1
 * form: it comes back as whatever the SOAP runtime makes of it, still within
 * the field and terminated.
 */
#ifndef WEBSERVICE_FACTORY_H
#define WEBSERVICE_FACTORY_H

#include "BasicSystem.h"
#include "Common.h"

/* Factory identity and password with a text: the settings (SetDefaultSetting)
 * or the raw PTZ command (SendPTZCommandByPass).  text is read up to its
 * terminator; declare a larger record of the same start to hold a longer one. */
typedef struct FactoryCommandRecord {
  char id[256];
  char password[256];
  char text[1];
} FactoryCommandRecord;

/* The keys of the default settings to read: count pointers to zero-terminated
 * names.  A count of 0 sends an empty key list (keys is not read). */
typedef struct KeyListRecord {
  int32_t count;
  const char *const *keys;
} KeyListRecord;

typedef struct FactoryTextRecord {
  char text[256]; /* written only when the answer holds the text, cut to 255 bytes */
  int32_t resultCode;
} FactoryTextRecord;

/* SetDefaultSetting: sends id, password and text as the settings; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetDefaultSetting(const char *host, const char *user, const char *password, const FactoryCommandRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetDefaultSetting: sends the keys in order (-1 when count is negative, or positive with keys null); fills a ParameterListRecord whose items array the caller then owns and releases with WebService_FreeParameterListRecord. */
WS_API int WS_CALL DLL_WebServiceGetDefaultSetting(const char *host, const char *user, const char *password, const KeyListRecord *request, ParameterListRecord *response, ConnectionInfo *conn);
/* SendPTZCommandByPass: sends id, password and text as the command; the PTZ head's answer goes to a FactoryTextRecord. */
WS_API int WS_CALL DLL_WebServiceSendPTZCommandByPass(const char *host, const char *user, const char *password, const FactoryCommandRecord *request, FactoryTextRecord *response, ConnectionInfo *conn);
/* AudioBypassStart: request points to the int32 audio channel; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAudioBypassStart(const char *host, const char *user, const char *password, const int32_t *request, CallResult *response, ConnectionInfo *conn);
/* AudioBypassStop: request points to the int32 audio channel; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAudioBypassStop(const char *host, const char *user, const char *password, const int32_t *request, CallResult *response, ConnectionInfo *conn);
/* GetSerial: request is any non-null pointer (not read); the serial number goes to a FactoryTextRecord. */
WS_API int WS_CALL DLL_WebServiceGetSerial(const char *host, const char *user, const char *password, const void *request, FactoryTextRecord *response, ConnectionInfo *conn);
/* ResetFactory: request is any non-null pointer (not read); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceResetFactory(const char *host, const char *user, const char *password, const void *request, CallResult *response, ConnectionInfo *conn);

#endif

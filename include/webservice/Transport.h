/*
 * WebService: HTTP transport extensions for applications.
 *
 * These are process-wide settings the application makes once, typically at
 * start-up; every later call uses them.  They are not part of the device
 * operations and are named WebService_* rather than DLL_WebService*.
 *
 * HTTPS.  Certificates are verified against the system trust store
 * (/etc/ssl/certs on Debian: add your authority with update-ca-certificates)
 * or against a CA file named with WebService_SetCAFile.  The store is loaded
 * once and shared by all calls, and TLS sessions are resumed across calls.
 * Any change of trust settings (WebService_SetCAFile,
 * WebService_SetResolveCallback) empties the session cache: a session is only
 * resumed under the settings it was verified with.  A certificate that names
 * another host is accepted (device certificates rarely carry their address).
 *
 * Windows (WebService.dll, WinInet): certificates are verified against the
 * Windows certificate store; WebService_SetCAFile refuses any file (-1) and
 * accepts NULL (0).  Without a resolve callback a retryable error goes to the
 * platform dialog (InternetErrorDlg).  See the README's platform table.
 *
 * A device with a self-signed or expired certificate fails with status 29
 * unless a resolve callback answers WS_RESOLVE_RETRY for that error: the
 * request is then sent again once, accepting that certificate for that one
 * request only.
 *
 * Retries.  One request is sent again only on a resolve callback's
 * WS_RESOLVE_RETRY (a 401 or 407 is never resent without one), at most
 * WS_RESOLVE_MAX_RETRIES times and never past the call's own time budget
 * (its connect, send and receive time-outs added up); then the status of the
 * last answer stands.
 *
 * Version probe.  DLL_WebServiceGetVersion makes a second attempt over plain
 * http on port 81 when its first attempt fails or answers an empty software
 * version.  When the first attempt used https (useHttps set), no second
 * attempt is made: it would send the user name and password in clear to
 * whoever broke the TLS connection.  The first attempt's status is returned
 * and endpointKind stays 0.  WebService_AllowPlainHttpProbe(1) restores the
 * plain-http second attempt for old devices that need it.
 *
 * Platform error numbers returned by the exports (12000..12999; WS_ERROR_*
 * and WS_STATUS_* in Common.h):
 *   12002 time-out                      12005 invalid URL
 *   12006 unrecognised scheme           12007 host name not resolved
 *   12029 cannot connect                12030 connection aborted
 *   12031 connection reset              12152 invalid server response
 *   12014 credentials refused (401/407) 12037 certificate date invalid
 *   12038 certificate host invalid      12045 unknown certificate authority
 *   12157 TLS channel error             12004 internal error
 * The send-phase ones reach a resolve callback; the export then returns 29.
 */
#ifndef WEBSERVICE_TRANSPORT_H
#define WEBSERVICE_TRANSPORT_H

#include <stddef.h>

#include "Common.h"

/* Resends of one request that resolve decisions can cause at most. */
#define WS_RESOLVE_MAX_RETRIES 3

typedef enum WebServiceResolveAnswer {
  WS_RESOLVE_NO_RETRY = 0,
  WS_RESOLVE_RETRY = 1,
  WS_RESOLVE_ASK = 2 /* fall back to the library's own decision (no retry) */
} WebServiceResolveAnswer;

/* Called, on the calling thread, when a request met a retryable error
 * (12014 for HTTP 401/407, 12037, 12038, 12039, 12043, 12045).  url is the
 * request's URL, valid during the callback.  Returns a WebServiceResolveAnswer. */
typedef int (*WebServiceResolveCallback)(int error, const char *url, void *context);

/* Installs (or, with NULL, removes) the process-wide resolve callback. */
WS_API void WS_CALL WebService_SetResolveCallback(WebServiceResolveCallback callback, void *context);

/* Names a PEM file of extra trusted authorities, used besides the system
 * store; NULL removes it.  The path is copied.  Returns 0, or -1 when the file
 * cannot be read. */
WS_API int WS_CALL WebService_SetCAFile(const char *path);

/* The exchange trace: the one way for an application to see why a call
 * failed.  Once a callback is installed, every attempt of every call (a
 * retried request and each endpoint the version probe tries are attempts of
 * their own) is handed to it after its answer arrived or the attempt failed,
 * on the calling thread.  The Authorization value and the text of every
 * password field of the request body are replaced by WS_TRACE_MASK.  Tracing
 * changes no status and no record; with no callback installed it costs one
 * pointer test per attempt. */
#define WS_TRACE_MASK "********"

typedef struct WebServiceExchange {
  const char *url;            /* the request's URL */
  int httpStatus;             /* the answer's HTTP status, 0 when none arrived */
  int error;                  /* platform error number (12xxx) of the attempt, 0 when answered */
  const char *requestHeaders; /* "Name: value" lines, each ending in CRLF */
  const char *requestBody;
  size_t requestBodyLength;
  const char *answerHeaders;  /* the status line and header lines as received */
  const char *answerBody;
  size_t answerBodyLength;
} WebServiceExchange;

/* Every field, and the record itself, is valid during the callback only. */
typedef void (*WebServiceTraceCallback)(const WebServiceExchange *exchange, void *context);

/* Installs (or, with NULL, removes) the process-wide trace callback. */
WS_API void WS_CALL WebService_SetTraceCallback(WebServiceTraceCallback callback, void *context);

/* Allows (nonzero) or forbids (0, the default) the version probe's
 * plain-http second attempt after a first attempt over https; process-wide. */
WS_API void WS_CALL WebService_AllowPlainHttpProbe(int allow);

/* Releases one item array or text that an export allocated (NULL is
 * ignored); kept for existing callers.  The record's WebService_Free<Record>
 * releases everything a response record holds, nested arrays and texts
 * included. */
WS_API void WS_CALL WebService_FreeItems(void *items);

#endif

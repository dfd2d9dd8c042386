/*
 * WebService: records shared by every service, status codes and the calling
 * convention of the exports.
 *
 * Every export takes the device's host (name or dotted IPv4), an HTTP Basic
 * user name and password (either may be null: then no credentials are sent),
 * a request, a response and a ConnectionInfo, and returns a status:
 *
 *   0              the exchange succeeded; the device's own verdict is in the
 *                  response record (result, resultCode)
 *   -1             a required pointer was null, the endpoint could not be
 *                  formed, or the device answered with no body at all (as
 *                  it does when it refuses the credentials with HTTP 401)
 *   1, 2           the device answered with a SOAP client or server fault
 *   3              the answer was not the operation's response element
 *   4, 5           the answer held a value of the wrong type, or bad XML
 *   20             out of memory, or the answer was too large
 *   29             the HTTP exchange failed: a send error or time-out, an
 *                  unreadable status, or a certificate nobody accepted
 *   12000..12999   the HTTP client's own error (see Transport.h)
 *
 * On any nonzero status the response record is left exactly as it was.
 * The library reads the caller's texts in place and never keeps them; item
 * arrays that list exports allocate belong to the caller (release them with
 * WebService_FreeItems, see Transport.h).
 */
#ifndef WEBSERVICE_COMMON_H
#define WEBSERVICE_COMMON_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
#define WS_EXTERN_C extern "C"
#else
#define WS_EXTERN_C extern
#endif

#if defined(_WIN32)
#define WS_CALL __cdecl
#else
#define WS_CALL
#endif

#if defined(WEBSERVICE_BUILDING) && !defined(_WIN32)
#define WS_API WS_EXTERN_C __attribute__((visibility("default")))
#else
#define WS_API WS_EXTERN_C
#endif

/* Selects the URL form of every call. */
typedef enum EndpointKind {
  ENDPOINT_KIND_SOAP_PATH = 0, /* "http[s]://host:port/soap" */
  ENDPOINT_KIND_PORT_81 = 1,   /* "http://host:81" (port and useHttps ignored) */
  ENDPOINT_KIND_ROOT = 2       /* "http://host:port" (useHttps ignored) */
} EndpointKind;

typedef struct ConnectionInfo {
  int32_t reserved;     /* neither read nor written by the library */
  int32_t useHttps;     /* nonzero: kind 0 uses https */
  int32_t port;         /* TCP port for kinds 0 and 2 */
  int32_t endpointKind; /* an EndpointKind; GetVersion writes it */
} ConnectionInfo;

/* Response of most Set, Add, Update, Remove and Test exports. */
typedef struct CallResult {
  bool result; /* the operation's boolean result; only this byte is written */
  int32_t resultCode;
} CallResult;

/* Response of exports that return one integer or enumeration value. */
typedef struct IntValueRecord {
  int32_t value;
  int32_t resultCode;
} IntValueRecord;

/* Request of exports addressed by channel. */
typedef struct ChannelRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
} ChannelRecord;

/* Request of exports addressed by stream. */
typedef struct StreamRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  bool master; /* true: the channel's master stream */
} StreamRecord;

/* Request of exports whose request is one text.  The text follows prefix and
 * is read up to its terminator; declare a larger record of the same start to
 * hold a longer text. */
typedef struct TextRequestRecord {
  char prefix[100]; /* neither read nor written */
  char text[1];
} TextRequestRecord;

#endif

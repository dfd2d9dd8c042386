/*
 * WebService: records shared by every service, status codes and the calling
 * convention of the exports.
 *
 * Every export takes the device's host (name or dotted IPv4), an HTTP Basic
 * user name and password (either may be null: then no credentials are sent),
 * a request, a response and a ConnectionInfo, and returns a status: 0 when
 * the exchange succeeded (the device's own verdict is then in the response
 * record: result, resultCode), otherwise one of the statuses of
 * WS_STATUS_TABLE and WS_PLATFORM_ERROR_TABLE below, each named WS_STATUS_<name>;
 * WebService_StatusName and WebService_StatusText give its name and meaning.
 *
 * On any nonzero status the response record is left exactly as it was.
 * The library reads the caller's texts in place and never keeps them; item
 * arrays and texts that exports allocate into a response record belong to
 * the caller: each such record type has one release function,
 * WebService_Free<Record> (WebService_FreeUserListRecord, ...), that releases
 * all of it, nested arrays first, and leaves the record empty.
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

#if defined(WEBSERVICE_BUILDING) && defined(_WIN32)
#define WS_API WS_EXTERN_C __declspec(dllexport) /* exported undecorated (cdecl) */
#elif defined(WEBSERVICE_BUILDING)
#define WS_API WS_EXTERN_C __attribute__((visibility("default")))
#else
#define WS_API WS_EXTERN_C
#endif

/* Every status an export returns besides the platform's error numbers:
 * X(name, value, text).  The SOAP runtime's codes keep the runtime's values. */
#define WS_STATUS_TABLE(X)                                                                         \
  X(NO_INPUT, -1, "the device sent no answer body (as when it refuses the credentials), "         \
                  "or a required argument is missing")                                             \
  X(OK, 0, "success")                                                                              \
  X(CLIENT_FAULT, 1, "the device answered with a SOAP client fault")                               \
  X(SERVER_FAULT, 2, "the device answered with a SOAP server fault")                               \
  X(UNEXPECTED_ELEMENT, 3, "the answer is not the operation's response element")                   \
  X(WRONG_TYPE, 4, "the answer holds a value of the wrong type")                                   \
  X(BAD_XML, 5, "the answer is not well-formed XML")                                               \
  X(MISSING_ELEMENT, 6, "the answer lacks an element where one must be")                           \
  X(MUST_UNDERSTAND, 8, "the answer carries a header marked mustUnderstand")                       \
  X(UNKNOWN_NAMESPACE, 9, "the answer uses a namespace the library does not know")                 \
  X(INTERNAL_ERROR, 11, "the SOAP runtime met an internal error")                                  \
  X(FAULT, 12, "the device answered with a SOAP fault")                                            \
  X(OUT_OF_MEMORY, 20, "out of memory, or the answer is too large")                                \
  X(NIL_VALUE, 23, "the answer holds a nil value where one is required")                           \
  X(DUPLICATE_ID, 24, "the answer holds one id twice")                                             \
  X(MISSING_ID, 25, "the answer refers to an id it does not hold")                                 \
  X(BAD_REFERENCE, 26, "the answer refers to a value of another type")                             \
  X(HTTP_ERROR, 29, "the HTTP exchange failed (send error, time-out, certificate or credentials)") \
  X(VERSION_MISMATCH, 39, "the answer's envelope is not a SOAP envelope")                          \
  X(TOO_MANY_ITEMS, 44, "the answer lists more items than the library accepts")                    \
  X(TOO_LONG, 45, "the answer holds a text longer than the library accepts")                       \
  X(BAD_UTF8, 48, "the answer holds text that is not UTF-8")                                       \
  X(TOO_DEEP, 50, "the answer's elements are nested deeper than the library accepts")              \
  X(EMPTY_VALUE, 52, "the answer holds an empty element where a value must be")                    \
  X(END_TAG_MISMATCH, 53, "the answer's end tag does not match its element")

/* The HTTP client's own error numbers (12000..12999), each named
 * WS_STATUS_<name> and WS_ERROR_<name>. */
#define WS_PLATFORM_ERROR_TABLE(X)                                                          \
  X(TIMEOUT, 12002, "the HTTP client timed out")                                            \
  X(INTERNAL, 12004, "the HTTP client met an internal error")                               \
  X(INVALID_URL, 12005, "the device URL is invalid")                                        \
  X(UNRECOGNIZED_SCHEME, 12006, "the URL scheme is not http or https")                      \
  X(NAME_NOT_RESOLVED, 12007, "the host name could not be resolved")                        \
  X(INCORRECT_PASSWORD, 12014, "the device refused the user name or password")              \
  X(CANNOT_CONNECT, 12029, "the device refused or did not accept the connection")           \
  X(CONNECTION_ABORTED, 12030, "the connection was aborted")                                \
  X(CONNECTION_RESET, 12031, "the connection was reset")                                    \
  X(SEC_CERT_DATE_INVALID, 12037, "the device's certificate has expired or is not yet valid") \
  X(SEC_CERT_CN_INVALID, 12038, "the device's certificate names another host")              \
  X(HTTP_TO_HTTPS_ON_REDIR, 12039, "the device redirects from http to https")               \
  X(POST_IS_NON_SECURE, 12043, "the request would go out unencrypted")                      \
  X(INVALID_CA, 12045, "the device's certificate is signed by an unknown authority")        \
  X(INVALID_SERVER_RESPONSE, 12152, "the device's HTTP answer is invalid")                  \
  X(SECURITY_CHANNEL_ERROR, 12157, "the TLS handshake failed")

#define WS_STATUS_ENUMERATOR(name, value, text) WS_STATUS_##name = value,
#define WS_ERROR_ENUMERATOR(name, value, text) WS_ERROR_##name = value,
typedef enum WebServiceStatus {
  WS_STATUS_TABLE(WS_STATUS_ENUMERATOR)
  WS_PLATFORM_ERROR_TABLE(WS_STATUS_ENUMERATOR)
} WebServiceStatus;
enum WebServicePlatformError { WS_PLATFORM_ERROR_TABLE(WS_ERROR_ENUMERATOR) };

/* The name of a status ("WS_STATUS_TIMEOUT"), or "WS_STATUS_UNKNOWN" for a
 * number outside the tables; a static text. */
WS_API const char *WS_CALL WebService_StatusName(int status);

/* The meaning of a status, as a static English text. */
WS_API const char *WS_CALL WebService_StatusText(int status);

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

// Status mapping and the small process-wide helpers of the public API.
#include <cstring>
#include <new>

#include "service_client.h"
#include "webservice/Transport.h"

// The runtime's codes pass through unchanged: the table must keep its values.
static_assert(WS_STATUS_NO_INPUT == SOAP_EOF && WS_STATUS_CLIENT_FAULT == SOAP_CLI_FAULT &&
              WS_STATUS_SERVER_FAULT == SOAP_SVR_FAULT && WS_STATUS_UNEXPECTED_ELEMENT == SOAP_TAG_MISMATCH &&
              WS_STATUS_WRONG_TYPE == SOAP_TYPE && WS_STATUS_BAD_XML == SOAP_SYNTAX_ERROR &&
              WS_STATUS_MISSING_ELEMENT == SOAP_NO_TAG && WS_STATUS_MUST_UNDERSTAND == SOAP_MUSTUNDERSTAND &&
              WS_STATUS_UNKNOWN_NAMESPACE == SOAP_NAMESPACE && WS_STATUS_INTERNAL_ERROR == SOAP_FATAL_ERROR &&
              WS_STATUS_FAULT == SOAP_FAULT && WS_STATUS_OUT_OF_MEMORY == SOAP_EOM &&
              WS_STATUS_NIL_VALUE == SOAP_NULL && WS_STATUS_DUPLICATE_ID == SOAP_DUPLICATE_ID &&
              WS_STATUS_MISSING_ID == SOAP_MISSING_ID && WS_STATUS_BAD_REFERENCE == SOAP_HREF &&
              WS_STATUS_HTTP_ERROR == SOAP_HTTP_ERROR && WS_STATUS_VERSION_MISMATCH == SOAP_VERSIONMISMATCH &&
              WS_STATUS_TOO_MANY_ITEMS == SOAP_OCCURS && WS_STATUS_TOO_LONG == SOAP_LENGTH &&
              WS_STATUS_BAD_UTF8 == SOAP_UTF_ERROR && WS_STATUS_TOO_DEEP == SOAP_LEVEL &&
              WS_STATUS_EMPTY_VALUE == SOAP_EMPTY && WS_STATUS_END_TAG_MISMATCH == SOAP_END_TAG,
              "a status of the table differs from the runtime's code");

namespace ws {

namespace {
// The fault class of a received fault: "Client"/"Sender" or "Server"/"Receiver",
// with or without a prefix.
int FaultStatus(struct soap *soap) {
  const char **code = soap_faultcode(soap);
  if (!code || !*code) return WS_STATUS_FAULT;
  const char *name = std::strrchr(*code, ':');
  name = name ? name + 1 : *code;
  if (!std::strcmp(name, "Client") || !std::strcmp(name, "Sender")) return WS_STATUS_CLIENT_FAULT;
  if (!std::strcmp(name, "Server") || !std::strcmp(name, "Receiver")) return WS_STATUS_SERVER_FAULT;
  return WS_STATUS_FAULT;
}
}  // namespace

int MapRuntimeStatus(struct soap *soap, int status) {
  switch (status) {
    case SOAP_OK:
      // A body holding neither the response element nor a fault ends the
      // generated call with 0 before the envelope is read to its end.
      return soap->level ? WS_STATUS_UNEXPECTED_ELEMENT : WS_STATUS_OK;
    case SOAP_FAULT:
      return FaultStatus(soap);
    case SOAP_NO_DATA:
    case SOAP_NO_METHOD:
      return WS_STATUS_UNEXPECTED_ELEMENT;
    default:
      return status;
  }
}

}  // namespace ws

WS_API void WS_CALL WebService_FreeItems(void *items) { ::operator delete[](items); }

namespace {
bool IsPlatformError(int status) { return status >= 12000 && status <= 12999; }
}  // namespace

#define WS_STATUS_NAME_CASE(name, value, text) \
  case value:                                  \
    return "WS_STATUS_" #name;
#define WS_STATUS_TEXT_CASE(name, value, text) \
  case value:                                  \
    return text;

WS_API const char *WS_CALL WebService_StatusName(int status) {
  switch (status) {
    WS_STATUS_TABLE(WS_STATUS_NAME_CASE)
    WS_PLATFORM_ERROR_TABLE(WS_STATUS_NAME_CASE)
  }
  return "WS_STATUS_UNKNOWN";
}

WS_API const char *WS_CALL WebService_StatusText(int status) {
  switch (status) {
    WS_STATUS_TABLE(WS_STATUS_TEXT_CASE)
    WS_PLATFORM_ERROR_TABLE(WS_STATUS_TEXT_CASE)
  }
  return IsPlatformError(status) ? "the HTTP client failed" : "the SOAP runtime reported an error";
}

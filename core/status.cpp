// Status mapping and the small process-wide helpers of the public API.
#include <cstring>
#include <new>

#include "service_client.h"
#include "webservice/Transport.h"

namespace ws {

namespace {
// The fault class of a received fault: "Client"/"Sender" or "Server"/"Receiver",
// with or without a prefix.
int FaultStatus(struct soap *soap) {
  const char **code = soap_faultcode(soap);
  if (!code || !*code) return SOAP_FAULT;
  const char *name = std::strrchr(*code, ':');
  name = name ? name + 1 : *code;
  if (!std::strcmp(name, "Client") || !std::strcmp(name, "Sender")) return SOAP_CLI_FAULT;
  if (!std::strcmp(name, "Server") || !std::strcmp(name, "Receiver")) return SOAP_SVR_FAULT;
  return SOAP_FAULT;
}
}  // namespace

int MapRuntimeStatus(struct soap *soap, int status) {
  switch (status) {
    case SOAP_OK:
      // A body holding neither the response element nor a fault ends the
      // generated call with 0 before the envelope is read to its end.
      return soap->level ? SOAP_TAG_MISMATCH : 0;
    case SOAP_FAULT:
      return FaultStatus(soap);
    case SOAP_NO_DATA:
    case SOAP_NO_METHOD:
      return SOAP_TAG_MISMATCH;
    default:
      return status;
  }
}

}  // namespace ws

WS_API void WS_CALL WebService_FreeItems(void *items) { ::operator delete[](items); }

WS_API const char *WS_CALL WebService_StatusText(int status) {
  if (status >= 12000 && status <= 12999) {
    switch (status) {
      case WS_ERROR_TIMEOUT: return "the HTTP client timed out";
      case WS_ERROR_INVALID_URL: return "the device URL is invalid";
      case WS_ERROR_UNRECOGNIZED_SCHEME: return "the URL scheme is not http or https";
      case WS_ERROR_NAME_NOT_RESOLVED: return "the host name could not be resolved";
      case WS_ERROR_CANNOT_CONNECT: return "the device refused or did not accept the connection";
      case WS_ERROR_CONNECTION_ABORTED: return "the connection was aborted";
      case WS_ERROR_CONNECTION_RESET: return "the connection was reset";
      case WS_ERROR_INVALID_SERVER_RESPONSE: return "the device's HTTP answer is invalid";
      case WS_ERROR_SEC_CERT_DATE_INVALID: return "the device's certificate has expired or is not yet valid";
      case WS_ERROR_SEC_CERT_CN_INVALID: return "the device's certificate names another host";
      case WS_ERROR_INVALID_CA: return "the device's certificate is signed by an unknown authority";
      case WS_ERROR_SECURITY_CHANNEL_ERROR: return "the TLS handshake failed";
      default: return "the HTTP client failed";
    }
  }
  switch (status) {
    case 0: return "success";
    case -1: return "the device sent no answer body (as when it refuses the credentials), or a required argument is missing";
    case 1: return "the device answered with a SOAP client fault";
    case 2: return "the device answered with a SOAP server fault";
    case 3: return "the answer is not the operation's response element";
    case 4: return "the answer holds a value of the wrong type";
    case 5: return "the answer is not well-formed XML";
    case 12: return "the device answered with a SOAP fault";
    case 20: return "out of memory, or the answer is too large";
    case 29: return "the HTTP exchange failed (send error, time-out, certificate or credentials)";
    case 44: return "the answer lists more items than the library accepts";
    default: return "the SOAP runtime reported an error";
  }
}

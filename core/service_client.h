// ServiceClient: the per-call client of one service.  It derives from the
// service's generated proxy, owns the SOAP context for the length of one call
// and carries the endpoint, credential and time-out rules.
#pragma once

#include <cstdio>
#include <cstring>

#include "base_namespace.h"
#include "records.h"
#include "shapes.h"
#include "soapH.h"
#include "timeouts.h"
#include "transport/http_transport.h"
#include "webservice/Common.h"

extern struct Namespace namespaces[];

namespace ws {

// Request flags of every request: accept a certificate naming another host.
constexpr unsigned kRequestFlags = 0x1000;
// Credentials whose lengths add up to this or more are not sent.
constexpr size_t kMaxCredentialLength = 761;
constexpr size_t kEndpointSize = 256;
// Guards against answers too large to be a device's: 64 MiB of XML.
constexpr unsigned long long kMaxAnswerBytes = 64ull << 20;

// Maps what the runtime reports onto the library's status codes.
int MapRuntimeStatus(struct soap *soap, int status);

// Whether host is a host and nothing more: a name or dotted IPv4 address
// (letters, digits, '-', '.', '_') or an IPv6 literal in brackets.  Anything
// that would add credentials, a port, a path, a query or a fragment to the
// URL is refused.
inline bool IsHostText(const char *host) {
  auto isHex = [](char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); };
  auto isNameChar = [](char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '-' || c == '.' || c == '_';
  };
  if (!host || !*host) return false;
  if (*host == '[') {
    const char *c = host + 1;
    while (isHex(*c) || *c == ':' || *c == '.') ++c;
    return c > host + 1 && c[0] == ']' && c[1] == '\0';
  }
  for (const char *c = host; *c; ++c)
    if (!isNameChar(*c)) return false;
  return true;
}

enum class TextMode { Utf8, Latin1 };

// The SOAP context of one call, initialised once: the proxy's own
// constructor would create it with soap_new, which initialises it twice.
// Everything the call allocated in it, its plug-ins and their connections go
// with it.  Throws std::bad_alloc when memory is short.
class CallContext {
 protected:
  CallContext() : context_(new struct soap) {}
  ~CallContext() {
    soap_destroy(context_);
    soap_end(context_);
    delete context_;
  }
  CallContext(const CallContext &) = delete;
  CallContext &operator=(const CallContext &) = delete;

  struct soap *const context_;
};

template <class Proxy>
class ServiceClient : private CallContext, public Proxy {
 public:
  explicit ServiceClient(TextMode mode = TextMode::Utf8) : Proxy(context_) {
    struct soap *soap = this->soap;
    soap_set_namespaces(soap, namespaces);
    // The runtime keeps the whole request and sends it once it is written:
    // one serialisation pass instead of a counting pass and a writing pass
    // (the transport buffers the body anyway).
    soap_set_omode(soap, SOAP_IO_STORE);
    this->soap_endpoint = nullptr;
    soap->send_timeout = soap->recv_timeout = soap->connect_timeout = kDefaultTimeout;
    soap->recv_maxlength = kMaxAnswerBytes;
    RegisterHttpTransport(soap, kRequestFlags);
    if (mode == TextMode::Utf8) soap_set_mode(soap, SOAP_C_UTFSTRING);
  }

  bool HasContext() const { return this->soap != nullptr; }

  // Replaces the connect, send and receive time-outs of this call.
  void SetTimeouts(int seconds) {
    struct soap *soap = this->soap;
    soap->send_timeout = soap->recv_timeout = soap->connect_timeout = seconds;
    RegisterHttpTransport(soap, kRequestFlags);
  }

  // Formats the URL selected by conn and stores the credentials.  Returns 0,
  // or -1 when the host text is not a host, the endpoint kind is unknown or
  // the URL would not fit.
  int BuildEndpoint(const char *host, const char *user, const char *password,
                    const ConnectionInfo *conn) {
    if (!IsHostText(host)) return WS_STATUS_NO_INPUT;
    char *url = static_cast<char *>(soap_malloc(this->soap, kEndpointSize));
    if (!url) return this->soap->error;
    int length = -1;
    switch (conn->endpointKind) {
      case ENDPOINT_KIND_SOAP_PATH:
        length = std::snprintf(url, kEndpointSize, conn->useHttps ? "https://%s:%d/soap" : "http://%s:%d/soap",
                               host, static_cast<int>(conn->port));
        break;
      case ENDPOINT_KIND_PORT_81:
        length = std::snprintf(url, kEndpointSize, "http://%s:81", host);
        break;
      case ENDPOINT_KIND_ROOT:
        length = std::snprintf(url, kEndpointSize, "http://%s:%d", host, static_cast<int>(conn->port));
        break;
      default:
        break;
    }
    if (length < 0 || static_cast<size_t>(length) >= kEndpointSize) return WS_STATUS_NO_INPUT;
    this->soap_endpoint = url;
    const bool sendCredentials =
        user && password && std::strlen(user) + std::strlen(password) < kMaxCredentialLength;
    this->soap->userid = sendCredentials ? user : nullptr;
    this->soap->passwd = sendCredentials ? password : nullptr;
    return 0;
  }

  void ReleaseEndpoint() { this->soap_endpoint = nullptr; }

 protected:
  // Sends one request through the proxy operation op and maps the status.
  template <class Request, class Response>
  int Invoke(int (Proxy::*op)(const char *, const char *, Request *, Response &), const char *action,
             Request *request, Response &response) {
    int status = (this->*op)(this->soap_endpoint, action, request, response);
    return MapRuntimeStatus(this->soap, status);
  }

  // Sends wire through op and stores the answer by shape; result(answer) is
  // the answer's <Op>Result member, for the shapes that read one.
  template <class Request, class Answer, class Response, class Shape, class Result>
  int Exchange(int (Proxy::*op)(const char *, const char *, Request *, Answer &), Request *wire, Response *response,
               Shape shape, Result result) {
    Answer answer;
    if (int status = Invoke(op, nullptr, wire, answer)) return status;
    return shape(answer, result, response);
  }
};

// A key/value pair of the device's, into any record with key and value texts.
template <class Item>
void Copy(Item &item, const ns1__Parameter_USCORET &pair) {
  CopyKeyValue(item, pair);
}

// Declares the conversion method of one export inside a service client:
// Call<Op>, named apart from the proxy's own Op so that it hides nothing.
#define WS_DECLARE_CONVERSION(Op, Request, Response, ...) int Call##Op(const Request *request, Response *response);

}  // namespace ws

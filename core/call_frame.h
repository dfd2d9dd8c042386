// The one call frame behind every export: argument checks, the service
// client, time-outs, endpoint, conversion, release and status.
#pragma once

#include <new>
#include <type_traits>

#include "service_client.h"
#include "timeouts.h"
#include "webservice/Common.h"

// Returns WS_STATUS_NO_INPUT from the enclosing function when a required
// pointer is null.
#define WS_CHECK_ARG(arg)                    \
  do {                                       \
    if (!(arg)) return WS_STATUS_NO_INPUT;   \
  } while (0)

namespace ws {

inline bool IsKnownEndpointKind(const ConnectionInfo *conn) {
  return conn->endpointKind >= ENDPOINT_KIND_SOAP_PATH && conn->endpointKind <= ENDPOINT_KIND_ROOT;
}

// Runs body(client) inside a freshly built client of the given service, with
// every failure turned into a status; nothing escapes as an exception.
template <class Client, class Body>
int WithClient(int timeout, Body body) noexcept {
  try {
    Client client;
    if (!client.HasContext()) return WS_STATUS_OUT_OF_MEMORY;
    if (timeout != kDefaultTimeout) client.SetTimeouts(timeout);
    return body(client);
  } catch (...) {
    return WS_STATUS_OUT_OF_MEMORY;
  }
}

// One exchange: the frame of every export.  An export without a response
// argument (hasResponse false) requires only host, request and conn, and its
// conversion gets a null response.
template <bool hasResponse = true, class Client, class Request, class Response>
int RunCall(int timeout, const char *host, const char *user, const char *password,
            const Request *request, Response *response, ConnectionInfo *conn,
            int (Client::*convert)(const Request *, Response *)) noexcept {
  WS_CHECK_ARG(host);
  WS_CHECK_ARG(request);
  if constexpr (hasResponse) WS_CHECK_ARG(response);
  WS_CHECK_ARG(conn);
  if (!IsKnownEndpointKind(conn)) return WS_STATUS_NO_INPUT;
  return WithClient<Client>(timeout, [&](Client &client) -> int {
    if (client.BuildEndpoint(host, user, password, conn) != 0) return WS_STATUS_NO_INPUT;
    int status = (client.*convert)(request, response);
    client.ReleaseEndpoint();
    return status;
  });
}

}  // namespace ws

// Defines DLL_WebService<Op> on the frame, with Op's time-out from the table.
#define WS_DEFINE_EXPORT(Client, Op, Request, Response)                                           \
  WS_API int WS_CALL DLL_WebService##Op(const char *host, const char *user, const char *password, \
                                        const Request *request, Response *response,               \
                                        ConnectionInfo *conn) {                                   \
    return ws::RunCall(std::integral_constant<int, ws::TimeoutFor(#Op)>::value, host, user,       \
                       password, request, response, conn, &Client::Call##Op);                     \
  }

// Defines DLL_WebService<Op> without a response argument: five arguments,
// the status of the exchange as its result.
#define WS_DEFINE_EXPORT_WITHOUT_RESPONSE(Client, Op, Request, Response)                                 \
  WS_API int WS_CALL DLL_WebService##Op(const char *host, const char *user, const char *password,        \
                                        const Request *request, ConnectionInfo *conn) {                  \
    return ws::RunCall<false>(std::integral_constant<int, ws::TimeoutFor(#Op)>::value, host, user,       \
                              password, request, static_cast<void *>(nullptr), conn, &Client::Call##Op); \
  }

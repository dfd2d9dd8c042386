// GET <path>?wsdl: the description of every service the simulator serves, one
// WSDL, with each service's address set to the URL the client asked.
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "sim/service.h"

namespace ws {
extern const char kDeviceDescription[];
}

namespace sim {
namespace {

bool IsDescriptionQuery(std::string_view query) {
  return query.size() == 4 && strncasecmp(query.data(), "wsdl", 4) == 0;
}

// scheme://host[:port]/path as the client addressed it: the host of the Host
// line (which the runtime notes in soap->endpoint), or the address the
// connection arrived at when there is none.
std::string AddressOf(struct soap *soap, std::string_view path) {
  std::string_view endpoint = soap->endpoint;
  const size_t scheme = endpoint.find("://");
  std::string host(scheme == std::string_view::npos ? std::string_view() : endpoint.substr(scheme + 3));
  host.resize(std::min(host.find('/'), host.size()));
  if (host.empty()) {
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    char name[NI_MAXHOST], port[NI_MAXSERV];
    if (!getsockname(soap->socket, reinterpret_cast<sockaddr *>(&local), &length) &&
        !getnameinfo(reinterpret_cast<sockaddr *>(&local), length, name, sizeof name, port, sizeof port,
                     NI_NUMERICHOST | NI_NUMERICSERV))
      host = (local.ss_family == AF_INET6 ? "[" + std::string(name) + "]" : std::string(name)) + ":" + port;
  }
  return (ExchangeOf(soap).tls ? "https://" : "http://") + host + std::string(path);
}

std::string WithAddress(std::string text, const std::string &address) {
  const std::string key = "<SOAP:address location=\"";
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    const size_t value = at + key.size();
    const size_t end = text.find('"', value);
    if (end == std::string::npos) break;
    text.replace(value, end - value, address);
  }
  return text;
}

}  // namespace

int ServeDescription(struct soap *soap) {
  const std::string_view listenerPath = ExchangeOf(soap).kind == EndpointKind::kSoapPath ? "/soap" : "/";
  const std::string_view path = soap->path;
  const size_t query = path.find('?');
  if (query == std::string_view::npos || path.substr(0, query) != listenerPath ||
      !IsDescriptionQuery(path.substr(query + 1)))
    return SOAP_GET_METHOD;
  const std::string body = WithAddress(ws::kDeviceDescription, AddressOf(soap, listenerPath));
  char head[160];
  const int length = std::snprintf(head, sizeof head,
                                   "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
                                   "Content-Length: %zu\r\nConnection: close\r\n\r\n",
                                   body.size());
  if (soap->fsend(soap, head, static_cast<size_t>(length)) || soap->fsend(soap, body.data(), body.size()))
    return soap->error = SOAP_EOF;
  ExchangeOf(soap).status = 200;
  return SOAP_OK;
}

}  // namespace sim

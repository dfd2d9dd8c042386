// Another SOAP user in the same process as the library: a module built the
// ordinary way, its generated code and global namespace table bound to the
// shared runtime, every symbol visible.
#include <cstdio>

#include "Echo.nsmap"
#include "soapH.h"

// Sends text to the echo service on 127.0.0.1:port; 0 and the answer copied
// into answer, or the runtime's error code.
extern "C" int OtherSoapUserEcho(int port, const char *text, char *answer, size_t size) {
  struct soap *soap = soap_new();
  if (!soap) return SOAP_EOM;
  soap->connect_timeout = soap->send_timeout = soap->recv_timeout = 10;
  char url[64];
  std::snprintf(url, sizeof url, "http://127.0.0.1:%d/", port);
  char *result = nullptr;
  int status = soap_call_ns__echo(soap, url, nullptr, const_cast<char *>(text), &result);
  if (status == SOAP_OK) std::snprintf(answer, size, "%s", result ? result : "");
  soap_destroy(soap);
  soap_end(soap);
  soap_free(soap);
  return status;
}

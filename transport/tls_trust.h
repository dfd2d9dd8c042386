// Process-wide decisions of the transport: the application's resolve
// callback and the plain-http probe permission (resolve_settings.cpp), and
// the trust settings (the platform's).
#pragma once

#ifndef _WIN32
#include <curl/curl.h>

#include <memory>
#endif

namespace ws {

// Asks the application's resolve callback about a retryable error; answers
// WS_RESOLVE_ASK when none is installed.
int AskResolveCallback(int error, const char *url);

// Whether the application allowed a plain-http version probe after an https
// attempt.
bool PlainHttpProbeAllowed();

// Called after the application set a resolve callback: on Linux the trust
// settings start a new generation (the callback may have vouched for
// certificates, so sessions made so far are not resumed); WinInet has none.
void ResolveCallbackChanged();

#ifndef _WIN32  // WinInet keeps its own trust: the Windows certificate store
// One generation of trust settings: the certificate store and a TLS session
// cache holding only sessions verified under that store.  A request takes the
// current generation when it opens and keeps it until it closes; any change
// of trust settings starts a new generation, so a session is never resumed
// under settings other than those it was made with.
class Trust {
 public:
  virtual ~Trust() = default;
  // Installs the store into an OpenSSL SSL_CTX, loading it on first use.
  virtual CURLcode Install(void *sslContext) = 0;
  // Attaches the request to the session cache (null detaches it).
  virtual void Share(CURL *request) = 0;
};

std::shared_ptr<Trust> CurrentTrust();
#endif

}  // namespace ws

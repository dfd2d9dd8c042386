// Process-wide decisions of the transport: the application's resolve
// callback and the shared certificate store.
#pragma once

#include <curl/curl.h>

namespace ws {

// Asks the application's resolve callback about a retryable error; answers
// WS_RESOLVE_ASK when none is installed.
int AskResolveCallback(int error, const char *url);

// Installs the process-wide trust store into an OpenSSL SSL_CTX, loading it
// on first use.
CURLcode UseSharedTrustStore(void *sslContext);

// Lets a request resume TLS sessions of earlier requests to the same device
// (a session is only resumed under the same verification settings).
void ShareTlsSessions(CURL *request);

}  // namespace ws

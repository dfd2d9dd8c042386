// The trust store is loaded once per process (loading it costs tens of
// milliseconds) and shared by every TLS handshake; the application may add an
// authority file.  Neither holds anything about a device or a call.
#include "tls_trust.h"

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <mutex>
#include <string>

#include "webservice/Transport.h"

namespace ws {

namespace {

std::mutex gMutex;
WebServiceResolveCallback gCallback = nullptr;
void *gCallbackContext = nullptr;
std::string gCAFile;
X509_STORE *gStore = nullptr;

X509_STORE *LoadStore() {
  X509_STORE *store = X509_STORE_new();
  if (!store) return nullptr;
  X509_STORE_set_default_paths(store);
  if (!gCAFile.empty() && X509_STORE_load_locations(store, gCAFile.c_str(), nullptr) != 1) {
    X509_STORE_free(store);
    return nullptr;
  }
  return store;
}

// libcurl needs its global set-up before any thread uses it; the TLS session
// cache is shared by all requests of the process.
struct CurlGlobal {
  std::mutex sessionsMutex;
  CURLSH *sessions = nullptr;
  CurlGlobal() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    sessions = curl_share_init();
    if (!sessions) return;
    curl_share_setopt(sessions, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(sessions, CURLSHOPT_LOCKFUNC, Lock);
    curl_share_setopt(sessions, CURLSHOPT_UNLOCKFUNC, Unlock);
    curl_share_setopt(sessions, CURLSHOPT_USERDATA, this);
  }
  static void Lock(CURL *, curl_lock_data, curl_lock_access, void *self) {
    static_cast<CurlGlobal *>(self)->sessionsMutex.lock();
  }
  static void Unlock(CURL *, curl_lock_data, void *self) { static_cast<CurlGlobal *>(self)->sessionsMutex.unlock(); }
} gCurlGlobal;

}  // namespace

int AskResolveCallback(int error, const char *url) {
  WebServiceResolveCallback callback;
  void *context;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    callback = gCallback;
    context = gCallbackContext;
  }
  return callback ? callback(error, url, context) : WS_RESOLVE_ASK;
}

void ShareTlsSessions(CURL *request) {
  if (gCurlGlobal.sessions) curl_easy_setopt(request, CURLOPT_SHARE, gCurlGlobal.sessions);
}

CURLcode UseSharedTrustStore(void *sslContext) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gStore) gStore = LoadStore();
  if (!gStore) return CURLE_SSL_CACERT_BADFILE;
  SSL_CTX_set1_cert_store(static_cast<SSL_CTX *>(sslContext), gStore);
  return CURLE_OK;
}

}  // namespace ws

WS_API void WS_CALL WebService_SetResolveCallback(WebServiceResolveCallback callback, void *context) {
  std::lock_guard<std::mutex> lock(ws::gMutex);
  ws::gCallback = callback;
  ws::gCallbackContext = context;
}

WS_API int WS_CALL WebService_SetCAFile(const char *path) {
  std::lock_guard<std::mutex> lock(ws::gMutex);
  std::string previous = ws::gCAFile;
  ws::gCAFile = path ? path : "";
  X509_STORE *store = ws::LoadStore();
  if (!store) {
    ws::gCAFile = previous;
    return -1;
  }
  X509_STORE_free(ws::gStore);
  ws::gStore = store;
  return 0;
}

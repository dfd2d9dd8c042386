// The trust store is loaded once per trust generation (loading it costs tens
// of milliseconds) and shared by every TLS handshake of that generation; the
// application may add an authority file.  Nothing here holds anything about
// a device or a call.
#include "tls_trust.h"

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <mutex>
#include <string>

#include "webservice/Transport.h"

namespace ws {

namespace {

// libcurl needs its global set-up before any thread uses it.
struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
} gCurlGlobal;

X509_STORE *LoadStore(const std::string &caFile) {
  X509_STORE *store = X509_STORE_new();
  if (!store) return nullptr;
  X509_STORE_set_default_paths(store);
  if (!caFile.empty() && X509_STORE_load_locations(store, caFile.c_str(), nullptr) != 1) {
    X509_STORE_free(store);
    return nullptr;
  }
  return store;
}

class Generation final : public Trust {
 public:
  // store may be null: it is then loaded on the first handshake.
  Generation(std::string caFile, X509_STORE *store) : caFile_(std::move(caFile)), store_(store) {
    if (store_) X509_STORE_up_ref(store_);
    sessions_ = curl_share_init();
    if (!sessions_) return;
    curl_share_setopt(sessions_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(sessions_, CURLSHOPT_LOCKFUNC, Lock);
    curl_share_setopt(sessions_, CURLSHOPT_UNLOCKFUNC, Unlock);
    curl_share_setopt(sessions_, CURLSHOPT_USERDATA, this);
  }
  // Runs once no request holds the generation any more: none is attached.
  ~Generation() override {
    if (sessions_) curl_share_cleanup(sessions_);
    X509_STORE_free(store_);
  }

  CURLcode Install(void *sslContext) override {
    std::lock_guard<std::mutex> lock(storeMutex_);
    if (!store_) store_ = LoadStore(caFile_);
    if (!store_) return CURLE_SSL_CACERT_BADFILE;
    SSL_CTX_set1_cert_store(static_cast<SSL_CTX *>(sslContext), store_);
    return CURLE_OK;
  }

  void Share(CURL *request) override {
    if (sessions_) curl_easy_setopt(request, CURLOPT_SHARE, sessions_);
  }

  const std::string &caFile() const { return caFile_; }

  X509_STORE *LoadedStore() {
    std::lock_guard<std::mutex> lock(storeMutex_);
    return store_;
  }

 private:
  static void Lock(CURL *, curl_lock_data, curl_lock_access, void *self) {
    static_cast<Generation *>(self)->sessionsMutex_.lock();
  }
  static void Unlock(CURL *, curl_lock_data, void *self) { static_cast<Generation *>(self)->sessionsMutex_.unlock(); }

  const std::string caFile_;
  std::mutex storeMutex_;
  X509_STORE *store_;
  std::mutex sessionsMutex_;
  CURLSH *sessions_ = nullptr;
};

std::mutex gMutex;
std::shared_ptr<Generation> gTrust;  // null until first used

// Starts a new generation; the old one ends with its last request.  Call
// with gMutex held.
void Renew(std::string caFile, X509_STORE *store) { gTrust = std::make_shared<Generation>(std::move(caFile), store); }

}  // namespace

void ResolveCallbackChanged() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gTrust) Renew(gTrust->caFile(), gTrust->LoadedStore());
}

std::shared_ptr<Trust> CurrentTrust() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gTrust) Renew("", nullptr);
  return gTrust;
}

}  // namespace ws

WS_API int WS_CALL WebService_SetCAFile(const char *path) {
  std::string caFile = path ? path : "";
  X509_STORE *store = ws::LoadStore(caFile);
  if (!store) return -1;
  std::lock_guard<std::mutex> lock(ws::gMutex);
  ws::Renew(caFile, store);
  X509_STORE_free(store);  // the generation holds its own reference
  return 0;
}

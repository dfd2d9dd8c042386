// The process-wide decisions every platform's transport asks about: the
// application's resolve callback and the plain-http probe permission.
#include <mutex>

#include "tls_trust.h"
#include "webservice/Transport.h"

namespace ws {

namespace {
std::mutex gMutex;
WebServiceResolveCallback gCallback = nullptr;
void *gCallbackContext = nullptr;
bool gPlainHttpProbe = false;
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

bool PlainHttpProbeAllowed() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gPlainHttpProbe;
}

}  // namespace ws

WS_API void WS_CALL WebService_SetResolveCallback(WebServiceResolveCallback callback, void *context) {
  {
    std::lock_guard<std::mutex> lock(ws::gMutex);
    ws::gCallback = callback;
    ws::gCallbackContext = context;
  }
  ws::ResolveCallbackChanged();
}

WS_API void WS_CALL WebService_AllowPlainHttpProbe(int allow) {
  std::lock_guard<std::mutex> lock(ws::gMutex);
  ws::gPlainHttpProbe = allow != 0;
}

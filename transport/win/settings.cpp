// Process-wide decisions of the Windows transport: the application's resolve
// callback and the plain-http probe permission.  Trust is WinInet's own: the
// Windows certificate store, so WebService_SetCAFile names no file here.
#include <mutex>

#include "transport/tls_trust.h"
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
  std::lock_guard<std::mutex> lock(ws::gMutex);
  ws::gCallback = callback;
  ws::gCallbackContext = context;
}

// WinInet verifies certificates against the Windows certificate store and
// offers no way to add a file of authorities per process: a file is refused
// (-1) and changes nothing; NULL (no extra file) is accepted.  Add the
// authority to the store instead (certutil -addstore Root ca.pem).
WS_API int WS_CALL WebService_SetCAFile(const char *path) { return path ? -1 : 0; }

WS_API void WS_CALL WebService_AllowPlainHttpProbe(int allow) {
  std::lock_guard<std::mutex> lock(ws::gMutex);
  ws::gPlainHttpProbe = allow != 0;
}

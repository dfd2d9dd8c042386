// Trust settings of the Windows transport: WinInet's own, the Windows
// certificate store, so WebService_SetCAFile names no file here and a new
// resolve callback leaves nothing to renew.
#include "transport/tls_trust.h"
#include "webservice/Transport.h"

namespace ws {

void ResolveCallbackChanged() {}

}  // namespace ws

// WinInet verifies certificates against the Windows certificate store and
// offers no way to add a file of authorities per process: a file is refused
// (-1) and changes nothing; NULL (no extra file) is accepted.  Add the
// authority to the store instead (certutil -addstore Root ca.pem).
WS_API int WS_CALL WebService_SetCAFile(const char *path) { return path ? -1 : 0; }

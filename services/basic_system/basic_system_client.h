// Client of the BasicSystem service: one conversion method per export.
#pragma once

#include "basic_system_operations.h"
#include "core/service_client.h"
#include "soapBasicSystemSoap12Proxy.h"

namespace ws {

class BasicSystemClient : public ServiceClient<BasicSystemSoap12Proxy> {
 public:
  using Proxy = BasicSystemSoap12Proxy;
  WS_BASIC_SYSTEM_OPERATIONS(WS_DECLARE_CONVERSION)

  // The two-attempt endpoint probe of GetVersion: kind 0, then kind 1 when the
  // first attempt fails or reports no software version.  Both attempts write
  // into response; writes the kind used last into conn.
  int ProbeVersion(const char *host, const char *user, const char *password, const void *request,
                   VersionRecord *response, ConnectionInfo *conn);

};

}  // namespace ws

// Client of the Factory service: one conversion method per export.  Its
// texts travel as Latin-1, not in the UTF-8 string mode of the other clients.
#pragma once

#include "core/service_client.h"
#include "factory_operations.h"
#include "soapFactorySoap12Proxy.h"

namespace ws {

class FactoryClient : public ServiceClient<FactorySoap12Proxy> {
 public:
  using Proxy = FactorySoap12Proxy;
  FactoryClient() : ServiceClient(TextMode::Latin1) {}
  WS_FACTORY_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

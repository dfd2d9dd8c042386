// Client of the Network service: one conversion method per export.
#pragma once

#include "core/service_client.h"
#include "network_operations.h"
#include "soapNetworkSoap12Proxy.h"

namespace ws {

class NetworkClient : public ServiceClient<NetworkSoap12Proxy> {
 public:
  using Proxy = NetworkSoap12Proxy;
  WS_NETWORK_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

// Client of the Utility service: one conversion method per export.
#pragma once

#include "core/service_client.h"
#include "soapUtilitySoap12Proxy.h"
#include "utility_operations.h"

namespace ws {

class UtilityClient : public ServiceClient<UtilitySoap12Proxy> {
 public:
  using Proxy = UtilitySoap12Proxy;
  WS_UTILITY_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

// Client of the Account service: one conversion method per export.
#pragma once

#include "account_operations.h"
#include "core/service_client.h"
#include "soapAccountSoap12Proxy.h"

namespace ws {

class AccountClient : public ServiceClient<AccountSoap12Proxy> {
 public:
  using Proxy = AccountSoap12Proxy;
  WS_ACCOUNT_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

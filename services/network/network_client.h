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

 private:
  // An operation whose answer is one boolean and a result code.
  template <class Request, class Response>
  int InvokeForBoolValue(int (Proxy::*op)(const char *, const char *, Request *, Response &), const char *action,
                         Request *request, bool Response::*value, BoolValueRecord *out) {
    Response answer;
    if (int status = this->Invoke(op, action, request, answer)) return status;
    out->value = answer.*value;
    out->resultCode = answer.resultCode;
    return 0;
  }
};

}  // namespace ws

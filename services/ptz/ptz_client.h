// Client of the PTZ service: one conversion method per export.
#pragma once

#include "core/service_client.h"
#include "ptz_operations.h"
#include "soapPTZSoap12Proxy.h"

namespace ws {

class PTZClient : public ServiceClient<PTZSoap12Proxy> {
 public:
  using Proxy = PTZSoap12Proxy;
  WS_PTZ_OPERATIONS(WS_DECLARE_CONVERSION)

 private:
  // An operation whose answer carries resultCode alone, stored into *out.
  template <class Request, class Response>
  int InvokeForResultCode(int (Proxy::*op)(const char *, const char *, Request *, Response &), const char *action,
                          Request *request, int32_t *out) {
    Response answer;
    if (int status = Invoke(op, action, request, answer)) return status;
    *out = answer.resultCode;
    return 0;
  }
};

}  // namespace ws

#include "factory_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

// The key element is always sent, empty for a count of 0; a null key goes
// out empty.
void Fill(_ns1__GetDefaultSetting &wire, const KeyListRecord &request, Outgoing &out) {
  wire.key = out.New<ns1__ArrayOfString>();
  for (int32_t i = 0; i < request.count; ++i) wire.key->string.push_back(Send(request.keys[i] ? request.keys[i] : ""));
}

}  // namespace

#define WS_FACTORY_CONVERSION(...) WS_DEFINE_CONVERSION(FactoryClient, __VA_ARGS__)
WS_FACTORY_OPERATIONS(WS_FACTORY_CONVERSION)

}  // namespace ws

#define WS_FACTORY_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::FactoryClient, Op, Request, Response)
WS_FACTORY_OPERATIONS(WS_FACTORY_EXPORT)

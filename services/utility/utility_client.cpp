#include "utility_client.h"

#include "core/call_frame.h"

namespace ws {

#define WS_UTILITY_CONVERSION(...) WS_DEFINE_CONVERSION(UtilityClient, __VA_ARGS__)
WS_UTILITY_OPERATIONS(WS_UTILITY_CONVERSION)

}  // namespace ws

#define WS_UTILITY_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::UtilityClient, Op, Request, Response)
WS_UTILITY_OPERATIONS(WS_UTILITY_EXPORT)

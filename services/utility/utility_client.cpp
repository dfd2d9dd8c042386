#include "utility_client.h"

#include "core/call_frame.h"

namespace ws {

int UtilityClient::CallConnectClientForAudio(const AudioClientRecord *request, CallResult *response) {
  _ns1__ConnectClientForAudio wire;
  wire.url = SendText(request->url);
  wire.port = request->port;
  wire.userID = SendText(request->userID);
  wire.password = SendText(request->password);
  // The caller's byte may hold any value; every nonzero one means TCP.
  wire.enableTcp = *reinterpret_cast<const unsigned char *>(&request->enableTcp) != 0;
  return WS_INVOKE_FOR_CALL_RESULT(ConnectClientForAudio, &wire, response);
}

int UtilityClient::CallDisconnectClientForAudio(const void *, CallResult *response) {
  _ns1__DisconnectClientForAudio wire;
  return WS_INVOKE_FOR_CALL_RESULT(DisconnectClientForAudio, &wire, response);
}

int UtilityClient::CallGetLanguage(const void *, IntValueRecord *response) {
  _ns1__GetLanguage wire;
  return WS_INVOKE_FOR_INT_VALUE(GetLanguage, &wire, response);
}

int UtilityClient::CallSetLanguage(const LanguageRequestRecord *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(SetLanguage, WS_REQUEST_WITH(SetLanguage, language, request->language), response);
}

}  // namespace ws

#define WS_UTILITY_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::UtilityClient, Op, Request, Response)
WS_UTILITY_OPERATIONS(WS_UTILITY_EXPORT)

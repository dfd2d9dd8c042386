#include "factory_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

// SetDefaultSetting and SendPTZCommandByPass: identity and password first,
// then the record's text as the operation's own member.
template <class Wire>
Wire &WithFactoryCommand(Wire &wire, char *Wire::*text, const FactoryCommandRecord &record) {
  wire.id = SendText(record.id);
  wire.password = SendText(record.password);
  wire.*text = SendText(record.text);
  return wire;
}

// A text answer: the result code always, the text only when it came.
int StoreFactoryText(FactoryTextRecord *response, const char *text, int resultCode) {
  response->resultCode = resultCode;
  CopyTextIfPresent(response->text, text);
  return 0;
}

}  // namespace

int FactoryClient::CallSetDefaultSetting(const FactoryCommandRecord *request, CallResult *response) {
  _ns1__SetDefaultSetting wire;
  return WS_INVOKE_FOR_CALL_RESULT(
      SetDefaultSetting, &WithFactoryCommand(wire, &_ns1__SetDefaultSetting::settings, *request), response);
}

int FactoryClient::CallGetDefaultSetting(const KeyListRecord *request, ParameterListRecord *response) {
  if (request->count < 0 || (request->count > 0 && !request->keys)) return WS_STATUS_NO_INPUT;
  // The key element is always sent, empty for a count of 0.
  ns1__ArrayOfString keys;
  keys.string.reserve(static_cast<size_t>(request->count));
  for (int32_t i = 0; i < request->count; ++i)
    keys.string.push_back(SendText(request->keys[i] ? request->keys[i] : ""));
  _ns1__GetDefaultSetting wire;
  wire.key = &keys;
  _ns1__GetDefaultSettingResponse answer;
  if (int status = WS_INVOKE(GetDefaultSetting, &wire, answer)) return status;
  ns1__ArrayOfParameter_USCORET *list = answer.GetDefaultSettingResult;
  return FillListCountAlways(response, answer.resultCode, list ? &list->Parameter_USCORET : nullptr,
                             [](ParameterRecord &item, const ns1__Parameter_USCORET &parameter) {
                               CopyTextIfPresent(item.key, parameter.key);
                               CopyTextIfPresent(item.value, parameter.value);
                             });
}

int FactoryClient::CallSendPTZCommandByPass(const FactoryCommandRecord *request, FactoryTextRecord *response) {
  _ns1__SendPTZCommandByPass wire;
  _ns1__SendPTZCommandByPassResponse answer;
  if (int status = WS_INVOKE(SendPTZCommandByPass,
                             &WithFactoryCommand(wire, &_ns1__SendPTZCommandByPass::command, *request), answer))
    return status;
  return StoreFactoryText(response, answer.SendPTZCommandByPassResult, answer.resultCode);
}

int FactoryClient::CallAudioBypassStart(const int32_t *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(AudioBypassStart, WS_REQUEST_WITH(AudioBypassStart, audioChannel, *request),
                                   response);
}

int FactoryClient::CallAudioBypassStop(const int32_t *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(AudioBypassStop, WS_REQUEST_WITH(AudioBypassStop, audioChannel, *request), response);
}

int FactoryClient::CallGetSerial(const void *, FactoryTextRecord *response) {
  _ns1__GetSerial wire;
  _ns1__GetSerialResponse answer;
  if (int status = WS_INVOKE(GetSerial, &wire, answer)) return status;
  return StoreFactoryText(response, answer.GetSerialResult, answer.resultCode);
}

int FactoryClient::CallResetFactory(const void *, CallResult *response) {
  _ns1__ResetFactory wire;
  return WS_INVOKE_FOR_CALL_RESULT(ResetFactory, &wire, response);
}

}  // namespace ws

#define WS_FACTORY_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::FactoryClient, Op, Request, Response)
WS_FACTORY_OPERATIONS(WS_FACTORY_EXPORT)

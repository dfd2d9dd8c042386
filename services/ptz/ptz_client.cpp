#include "ptz_client.h"

#include <vector>

#include "core/call_frame.h"

// Calls Op, whose answer has no result member, and stores its resultCode.
#define WS_INVOKE_FOR_RESULT_CODE(Op, request, out) \
  InvokeForResultCode(&Proxy::Op, WS_ACTION(Op), request, out)

namespace ws {

namespace {

// A caller's item list is usable when count is not negative and the items
// are there for a positive count.
template <class Record>
bool IsItemList(const Record &record) {
  return record.count >= 0 && (record.count == 0 || record.items);
}

// The wire form of a caller's key/value list; the texts stay the caller's.
class ParameterList {
 public:
  explicit ParameterList(const ChannelParameterRecord &record) : pairs_(record.count) {
    for (int i = 0; i < record.count; ++i) {
      pairs_[i].key = SendText(record.items[i].key);
      pairs_[i].value = SendText(record.items[i].value);
      list_.Parameter_USCORET.push_back(&pairs_[i]);
    }
  }
  ns1__ArrayOfParameter_USCORET *get() { return &list_; }

 private:
  std::vector<ns1__Parameter_USCORET> pairs_;
  ns1__ArrayOfParameter_USCORET list_;
};

void FillPreset(ns1__Preset_USCORET &wire, const PresetRecord &preset) {
  wire.alias = SendText(preset.alias);
  wire.sequence = preset.sequence;
  wire.presetSpeed = preset.presetSpeed;
  wire.parkTime = preset.parkTime;
}

void CopyPreset(PresetRecord &item, const ns1__Preset_USCORET &preset) {
  CopyTextIfPresent(item.alias, preset.alias);
  item.sequence = preset.sequence;
  item.presetSpeed = preset.presetSpeed;
  item.parkTime = preset.parkTime;
}

template <class ListRecord>
int FillPresetList(ListRecord *response, int resultCode, const ns1__ArrayOfPreset_USCORET *list) {
  return FillListCountAlways(response, resultCode, list ? &list->Preset_USCORET : nullptr, CopyPreset);
}

void CopyRange(IntRangeRecord &range, const ns1__IntRange_USCORET *wire) {
  if (!wire) return;
  range.min = wire->min;
  range.max = wire->max;
}

// The channel and parameter list of ControlPTZ, Stop and SetPTZConfiguration.
template <class Wire>
Wire &WithParameters(Wire &wire, ParameterList &list, const ChannelParameterRecord &record) {
  wire.channel = record.channel;
  wire.param = list.get();
  return wire;
}

}  // namespace

int PTZClient::CallGetPTZProtocolList(const void *, PTZProtocolListRecord *response) {
  _ns1__GetPTZProtocolList wire;
  _ns1__GetPTZProtocolListResponse answer;
  if (int status = WS_INVOKE(GetPTZProtocolList, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.resultCode != 0 || !answer.GetPTZProtocolListResult) return 0;
  const std::vector<char *> &names = answer.GetPTZProtocolListResult->string;
  if (names.size() > 0x7fffffff) return WS_STATUS_OUT_OF_MEMORY;
  if (!names.empty()) {
    char **copies = DuplicateTexts(names);
    if (!copies) return WS_STATUS_OUT_OF_MEMORY;
    response->names = copies;
  }
  response->count = static_cast<int>(names.size());
  return 0;
}

int PTZClient::CallGetPTZProtocol(const ChannelRecord *request, TextResultRecord *response) {
  _ns1__GetPTZProtocol wire;
  wire.channel = request->channel;
  _ns1__GetPTZProtocolResponse answer;
  if (int status = WS_INVOKE(GetPTZProtocol, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  CopyTextIfPresent(response->text, answer.GetPTZProtocolResult);
  return 0;
}

int PTZClient::CallSetPTZProtocol(const ChannelTextRecord *request, PTZCallResult *response) {
  _ns1__SetPTZProtocol wire;
  wire.channel = request->channel;
  wire.protocolName = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(SetPTZProtocol, &wire, response);
}

int PTZClient::CallAddPTZProtocol(const TextRequestRecord *request, PTZCallResult *response) {
  _ns1__AddPTZProtocol wire;
  wire.filename = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(AddPTZProtocol, &wire, response);
}

int PTZClient::CallRemovePTZProtocol(const TextRequestRecord *request, PTZCallResult *response) {
  _ns1__RemovePTZProtocol wire;
  wire.protocolName = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(RemovePTZProtocol, &wire, response);
}

int PTZClient::CallGetPTZProtocolInfo(const TextRequestRecord *request, PTZProtocolResponseRecord *response) {
  _ns1__GetPTZProtocolInfo wire;
  wire.protocolName = SendText(request->text);
  _ns1__GetPTZProtocolInfoResponse answer;
  if (int status = WS_INVOKE(GetPTZProtocolInfo, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__PTZProtocol_USCORET *info = answer.GetPTZProtocolInfoResult;
  if (!info) return 0;
  PTZProtocolRecord &protocol = response->protocol;
  CopyTextIfPresent(protocol.name, info->name);
  CopyRange(protocol.presetIDRange, info->presetIDRange);
  CopyRange(protocol.panSpeedRange, info->panSpeedRange);
  CopyRange(protocol.tiltSpeedRange, info->tiltSpeedRange);
  CopyRange(protocol.zoomSpeedRange, info->zoomSpeedRange);
  CopyRange(protocol.focusSpeedRange, info->focusSpeedRange);
  CopyRange(protocol.cameraIDRange, info->cameraIDRange);
  CopyRange(protocol.presetSpeedRange, info->presetSpeedRange);
  CopyRange(protocol.parkTimeRange, info->parkTimeRange);
  return 0;
}

int PTZClient::CallGetPTZCommandList(const char *request, ParameterListRecord *response) {
  _ns1__GetPTZCommandList wire;
  wire.protocolName = SendText(request);
  return WS_INVOKE_FOR_PARAMETER_LIST(GetPTZCommandList, &wire, response);
}

int PTZClient::CallControlPTZ(const ChannelParameterRecord *request, int32_t *response) {
  if (!IsItemList(*request)) return WS_STATUS_NO_INPUT;
  ParameterList list(*request);
  _ns1__ControlPTZ wire;
  return WS_INVOKE_FOR_RESULT_CODE(ControlPTZ, &WithParameters(wire, list, *request), response);
}

int PTZClient::CallStop(const ChannelParameterRecord *request, int32_t *response) {
  if (!IsItemList(*request)) return WS_STATUS_NO_INPUT;
  ParameterList list(*request);
  _ns1__Stop wire;
  return WS_INVOKE_FOR_RESULT_CODE(Stop, &WithParameters(wire, list, *request), response);
}

int PTZClient::CallGetPresetList(const ChannelRecord *request, PresetListRecord *response) {
  _ns1__GetPresetList wire;
  wire.channel = request->channel;
  _ns1__GetPresetListResponse answer;
  if (int status = WS_INVOKE(GetPresetList, &wire, answer)) return status;
  return FillPresetList(response, answer.resultCode, answer.GetPresetListResult);
}

int PTZClient::CallAddPreset(const PresetRequestRecord *request, PTZCallResult *response) {
  ns1__Preset_USCORET preset;
  FillPreset(preset, request->preset);
  _ns1__AddPreset wire;
  wire.channel = request->channel;
  wire.preset = &preset;
  return WS_INVOKE_FOR_CALL_RESULT(AddPreset, &wire, response);
}

int PTZClient::CallGotoPreset(const ChannelTextRecord *request, int32_t *response) {
  _ns1__GotoPreset wire;
  wire.channel = request->channel;
  wire.alias = SendText(request->text);
  return WS_INVOKE_FOR_RESULT_CODE(GotoPreset, &wire, response);
}

int PTZClient::CallRemovePreset(const ChannelTextRecord *request, PTZCallResult *response) {
  _ns1__RemovePreset wire;
  wire.channel = request->channel;
  wire.alias = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(RemovePreset, &wire, response);
}

int PTZClient::CallGetPresetTour(const int32_t *request, PresetTourListRecord *response) {
  _ns1__GetPresetTourResponse answer;
  if (int status = WS_INVOKE(GetPresetTour, WS_REQUEST_WITH(GetPresetTour, channel, *request), answer)) return status;
  return FillPresetList(response, answer.resultCode, answer.GetPresetTourResult);
}

int PTZClient::CallSetPresetTour(const PresetTourRecord *request, PTZCallResult *response) {
  if (!IsItemList(*request)) return WS_STATUS_NO_INPUT;
  std::vector<ns1__Preset_USCORET> presets(request->count);
  ns1__ArrayOfPreset_USCORET tour;
  for (int i = 0; i < request->count; ++i) {
    FillPreset(presets[i], request->items[i]);
    tour.Preset_USCORET.push_back(&presets[i]);
  }
  _ns1__SetPresetTour wire;
  wire.channel = request->channel;
  wire.presetList = &tour;
  return WS_INVOKE_FOR_CALL_RESULT(SetPresetTour, &wire, response);
}

int PTZClient::CallPlayPresetTour(const int32_t *request, int32_t *response) {
  return WS_INVOKE_FOR_RESULT_CODE(PlayPresetTour, WS_REQUEST_WITH(PlayPresetTour, channel, *request), response);
}

int PTZClient::CallStopPresetTour(const ChannelRecord *request, int32_t *response) {
  return WS_INVOKE_FOR_RESULT_CODE(StopPresetTour, WS_REQUEST_WITH(StopPresetTour, channel, request->channel),
                                   response);
}

int PTZClient::CallStartPatternRecording(const ChannelRecord *request, PTZCallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(StartPatternRecording,
                                   WS_REQUEST_WITH(StartPatternRecording, channel, request->channel), response);
}

int PTZClient::CallStopPatternRecording(const ChannelRecord *request, PTZCallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(StopPatternRecording,
                                   WS_REQUEST_WITH(StopPatternRecording, channel, request->channel), response);
}

int PTZClient::CallPlayRecordedPattern(const ChannelRecord *request, int32_t *response) {
  return WS_INVOKE_FOR_RESULT_CODE(PlayRecordedPattern, WS_REQUEST_WITH(PlayRecordedPattern, channel, request->channel),
                                   response);
}

int PTZClient::CallStopRecordedPattern(const ChannelRecord *request, int32_t *response) {
  return WS_INVOKE_FOR_RESULT_CODE(StopRecordedPattern, WS_REQUEST_WITH(StopRecordedPattern, channel, request->channel),
                                   response);
}

int PTZClient::CallGetPTZConfiguration(const ChannelRecord *request, PTZConfigurationListRecord *response) {
  return WS_INVOKE_FOR_PARAMETER_LIST(GetPTZConfiguration,
                                      WS_REQUEST_WITH(GetPTZConfiguration, channel, request->channel), response);
}

int PTZClient::CallSetPTZConfiguration(const ChannelParameterRecord *request, PTZCallResult *response) {
  if (!IsItemList(*request)) return WS_STATUS_NO_INPUT;
  ParameterList list(*request);
  _ns1__SetPTZConfiguration wire;
  return WS_INVOKE_FOR_CALL_RESULT(SetPTZConfiguration, &WithParameters(wire, list, *request), response);
}

int PTZClient::CallGetPTZPort(const ChannelRecord *request, PortConfigResponseRecord *response) {
  _ns1__GetPTZPortResponse answer;
  if (int status = WS_INVOKE(GetPTZPort, WS_REQUEST_WITH(GetPTZPort, channel, request->channel), answer)) return status;
  response->resultCode = answer.resultCode;
  if (const ns1__PortConfig_USCORET *port = answer.GetPTZPortResult)
    response->port = {port->baudRate, port->dataBit, port->parity, port->stopBit};
  return 0;
}

int PTZClient::CallSetPTZPort(const PortConfigRequestRecord *request, PTZCallResult *response) {
  const PortConfigRecord &record = request->port;
  ns1__PortConfig_USCORET port;
  port.baudRate = record.baudRate;
  port.dataBit = record.dataBit;
  port.parity = record.parity;
  port.stopBit = record.stopBit;
  _ns1__SetPTZPort wire;
  wire.channel = request->channel;
  wire.port = &port;
  return WS_INVOKE_FOR_CALL_RESULT(SetPTZPort, &wire, response);
}

int PTZClient::CallPTZByPass(const ChannelTextRecord *request, TextResultRecord *response) {
  _ns1__PTZByPass wire;
  wire.channel = request->channel;
  wire.command = SendText(request->text);
  _ns1__PTZByPassResponse answer;
  if (int status = WS_INVOKE(PTZByPass, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  CopyTextIfPresent(response->text, answer.PTZByPassResult);
  return 0;
}

int PTZClient::CallOSDMenu(const OSDMenuRecord *request, PTZCallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(OSDMenu, WS_REQUEST_WITH(OSDMenu, osdMenu, request->osdMenu), response);
}

}  // namespace ws

#define WS_PTZ_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::PTZClient, Op, Request, Response)
WS_PTZ_OPERATIONS(WS_PTZ_EXPORT)

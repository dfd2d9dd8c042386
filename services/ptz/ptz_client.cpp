#include "ptz_client.h"

#include <vector>

#include "core/call_frame.h"

namespace ws {

namespace {

// ControlPTZ, Stop and SetPTZConfiguration: the channel and its key/value
// list; the texts stay the caller's.
template <class Wire>
void Fill(Wire &wire, const ChannelParameterRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  wire.param = out.New<ns1__ArrayOfParameter_USCORET>();
  SendItems(out, wire.param->Parameter_USCORET, request.items, request.count,
            [](ns1__Parameter_USCORET &pair, const ParameterRecord &item) {
              pair.key = Send(item.key);
              pair.value = Send(item.value);
            });
}

void FillPreset(ns1__Preset_USCORET &wire, const PresetRecord &preset) {
  wire.alias = Send(preset.alias);
  wire.sequence = preset.sequence;
  wire.presetSpeed = preset.presetSpeed;
  wire.parkTime = preset.parkTime;
}

void Fill(_ns1__AddPreset &wire, const PresetRequestRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  FillPreset(out.Element(wire.preset), request.preset);
}

void Fill(_ns1__SetPresetTour &wire, const PresetTourRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  wire.presetList = out.New<ns1__ArrayOfPreset_USCORET>();
  SendItems(out, wire.presetList->Preset_USCORET, request.items, request.count, FillPreset);
}

void Copy(PresetRecord &item, const ns1__Preset_USCORET &preset) {
  CopyTextIfPresent(item.alias, preset.alias);
  item.sequence = preset.sequence;
  item.presetSpeed = preset.presetSpeed;
  item.parkTime = preset.parkTime;
}

void Fill(_ns1__SetPTZPort &wire, const PortConfigRequestRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  wire.port = out.New<ns1__PortConfig_USCORET>();
  wire.port->baudRate = request.port.baudRate;
  wire.port->dataBit = request.port.dataBit;
  wire.port->parity = request.port.parity;
  wire.port->stopBit = request.port.stopBit;
}

void Copy(PortConfigRecord &port, const ns1__PortConfig_USCORET &wire) {
  port = {wire.baudRate, wire.dataBit, wire.parity, wire.stopBit};
}

void CopyRange(IntRangeRecord &range, const ns1__IntRange_USCORET *wire) {
  if (!wire) return;
  range.min = wire->min;
  range.max = wire->max;
}

void Copy(PTZProtocolRecord &protocol, const ns1__PTZProtocol_USCORET &info) {
  CopyTextIfPresent(protocol.name, info.name);
  CopyRange(protocol.presetIDRange, info.presetIDRange);
  CopyRange(protocol.panSpeedRange, info.panSpeedRange);
  CopyRange(protocol.tiltSpeedRange, info.tiltSpeedRange);
  CopyRange(protocol.zoomSpeedRange, info.zoomSpeedRange);
  CopyRange(protocol.focusSpeedRange, info.focusSpeedRange);
  CopyRange(protocol.cameraIDRange, info.cameraIDRange);
  CopyRange(protocol.presetSpeedRange, info.presetSpeedRange);
  CopyRange(protocol.parkTimeRange, info.parkTimeRange);
}

int Store(PTZProtocolListRecord &record, const _ns1__GetPTZProtocolListResponse &answer) {
  if (answer.resultCode != 0 || !answer.GetPTZProtocolListResult) return 0;
  const std::vector<char *> &names = answer.GetPTZProtocolListResult->string;
  if (!names.empty()) {
    char **copies = DuplicateTexts(names);
    if (!copies) return WS_STATUS_OUT_OF_MEMORY;
    record.names = copies;
  }
  record.count = static_cast<int>(names.size());
  return 0;
}

}  // namespace

#define WS_PTZ_CONVERSION(...) WS_DEFINE_CONVERSION(PTZClient, __VA_ARGS__)
WS_PTZ_OPERATIONS(WS_PTZ_CONVERSION)

}  // namespace ws

#define WS_PTZ_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::PTZClient, Op, Request, Response)
WS_PTZ_OPERATIONS(WS_PTZ_EXPORT)

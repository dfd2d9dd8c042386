// The PTZ service's exports: (operation, request type, response type, answer
// shape, request statements); see core/shapes.h.
#pragma once

#include "webservice/PTZ.h"

#define WS_SET_CHANNEL WS_SET(channel, request->channel)
#define WS_SET_CHANNEL_TEXT(member) WS_SET_CHANNEL WS_SET(member, request->text)
// A caller's item list is usable when count is not negative and the items
// are there for a positive count.
#define WS_REQUIRE_ITEMS WS_REQUIRE(request->count >= 0 && (request->count == 0 || request->items))

#define WS_PTZ_OPERATIONS(X)                                                                                     \
  X(GetPTZProtocolList, void, PTZProtocolListRecord, Stored, )                                                   \
  X(GetPTZProtocol, ChannelRecord, TextResultRecord, Text(text), WS_SET_CHANNEL)                                  \
  X(SetPTZProtocol, ChannelTextRecord, PTZCallResult, CallResult, WS_SET_CHANNEL_TEXT(protocolName))              \
  X(AddPTZProtocol, TextRequestRecord, PTZCallResult, CallResult, WS_SET(filename, request->text))                \
  X(RemovePTZProtocol, TextRequestRecord, PTZCallResult, CallResult, WS_SET(protocolName, request->text))         \
  X(GetPTZProtocolInfo, TextRequestRecord, PTZProtocolResponseRecord, Item(protocol),                             \
    WS_SET(protocolName, request->text))                                                                          \
  X(GetPTZCommandList, char, ParameterListRecord, List(CountAlways, Parameter_USCORET),                           \
    WS_SET(protocolName, request))                                                                                \
  X(ControlPTZ, ChannelParameterRecord, int32_t, ResultCode, WS_REQUIRE_ITEMS WS_FILL)                            \
  X(Stop, ChannelParameterRecord, int32_t, ResultCode, WS_REQUIRE_ITEMS WS_FILL)                                  \
  X(GetPresetList, ChannelRecord, PresetListRecord, List(CountAlways, Preset_USCORET), WS_SET_CHANNEL)            \
  X(AddPreset, PresetRequestRecord, PTZCallResult, CallResult, WS_FILL)                                           \
  X(GotoPreset, ChannelTextRecord, int32_t, ResultCode, WS_SET_CHANNEL_TEXT(alias))                               \
  X(RemovePreset, ChannelTextRecord, PTZCallResult, CallResult, WS_SET_CHANNEL_TEXT(alias))                       \
  X(GetPresetTour, int32_t, PresetTourListRecord, List(CountAlways, Preset_USCORET), WS_SET(channel, *request))   \
  X(SetPresetTour, PresetTourRecord, PTZCallResult, CallResult, WS_REQUIRE_ITEMS WS_FILL)                         \
  X(PlayPresetTour, int32_t, int32_t, ResultCode, WS_SET(channel, *request))                                      \
  X(StopPresetTour, ChannelRecord, int32_t, ResultCode, WS_SET_CHANNEL)                                           \
  X(StartPatternRecording, ChannelRecord, PTZCallResult, CallResult, WS_SET_CHANNEL)                              \
  X(StopPatternRecording, ChannelRecord, PTZCallResult, CallResult, WS_SET_CHANNEL)                               \
  X(PlayRecordedPattern, ChannelRecord, int32_t, ResultCode, WS_SET_CHANNEL)                                      \
  X(StopRecordedPattern, ChannelRecord, int32_t, ResultCode, WS_SET_CHANNEL)                                      \
  X(GetPTZConfiguration, ChannelRecord, PTZConfigurationListRecord, List(CountAlways, Parameter_USCORET),         \
    WS_SET_CHANNEL)                                                                                               \
  X(SetPTZConfiguration, ChannelParameterRecord, PTZCallResult, CallResult, WS_REQUIRE_ITEMS WS_FILL)             \
  X(GetPTZPort, ChannelRecord, PortConfigResponseRecord, Item(port), WS_SET_CHANNEL)                              \
  X(SetPTZPort, PortConfigRequestRecord, PTZCallResult, CallResult, WS_FILL)                                      \
  X(PTZByPass, ChannelTextRecord, TextResultRecord, Text(text), WS_SET_CHANNEL_TEXT(command))                     \
  X(OSDMenu, OSDMenuRecord, PTZCallResult, CallResult, WS_SET(osdMenu, request->osdMenu))

// The PTZ service's exports: (operation, request type, response type).
#pragma once

#include "webservice/PTZ.h"

#define WS_PTZ_OPERATIONS(X)                                          \
  X(GetPTZProtocolList, void, PTZProtocolListRecord)                  \
  X(GetPTZProtocol, ChannelRecord, TextResultRecord)                  \
  X(SetPTZProtocol, ChannelTextRecord, PTZCallResult)                 \
  X(AddPTZProtocol, TextRequestRecord, PTZCallResult)                 \
  X(RemovePTZProtocol, TextRequestRecord, PTZCallResult)              \
  X(GetPTZProtocolInfo, TextRequestRecord, PTZProtocolResponseRecord) \
  X(GetPTZCommandList, char, ParameterListRecord)                     \
  X(ControlPTZ, ChannelParameterRecord, int32_t)                      \
  X(Stop, ChannelParameterRecord, int32_t)                            \
  X(GetPresetList, ChannelRecord, PresetListRecord)                   \
  X(AddPreset, PresetRequestRecord, PTZCallResult)                    \
  X(GotoPreset, ChannelTextRecord, int32_t)                           \
  X(RemovePreset, ChannelTextRecord, PTZCallResult)                   \
  X(GetPresetTour, int32_t, PresetTourListRecord)                     \
  X(SetPresetTour, PresetTourRecord, PTZCallResult)                   \
  X(PlayPresetTour, int32_t, int32_t)                                 \
  X(StopPresetTour, ChannelRecord, int32_t)                           \
  X(StartPatternRecording, ChannelRecord, PTZCallResult)              \
  X(StopPatternRecording, ChannelRecord, PTZCallResult)               \
  X(PlayRecordedPattern, ChannelRecord, int32_t)                      \
  X(StopRecordedPattern, ChannelRecord, int32_t)                      \
  X(GetPTZConfiguration, ChannelRecord, PTZConfigurationListRecord)   \
  X(SetPTZConfiguration, ChannelParameterRecord, PTZCallResult)       \
  X(GetPTZPort, ChannelRecord, PortConfigResponseRecord)              \
  X(SetPTZPort, PortConfigRequestRecord, PTZCallResult)               \
  X(PTZByPass, ChannelTextRecord, TextResultRecord)                   \
  X(OSDMenu, OSDMenuRecord, PTZCallResult)

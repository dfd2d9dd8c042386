// The records of PTZ.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(PTZCallResult, F(resultCode), F(result))
WSCTL_RECORD(ChannelTextRecord, F(channel), F(text))
WSCTL_RECORD(ChannelParameterRecord, F(channel), F(count), L(items, count))
WSCTL_RECORD(PTZProtocolListRecord, F(resultCode), F(count), L(names, count))
WSCTL_RECORD(TextResultRecord, F(resultCode), F(text))
WSCTL_RECORD(IntRangeRecord, F(min), F(max))
WSCTL_RECORD(PTZProtocolRecord, F(name), F(presetIDRange), F(panSpeedRange), F(tiltSpeedRange), F(zoomSpeedRange),
             F(focusSpeedRange), F(cameraIDRange), F(presetSpeedRange), F(parkTimeRange))
WSCTL_RECORD(PTZProtocolResponseRecord, F(resultCode), F(protocol))
WSCTL_RECORD(PTZConfigurationListRecord, F(resultCode), F(count), L(items, count))
WSCTL_RECORD(PortConfigRecord, F(baudRate), F(dataBit), E(parity, Parity), F(stopBit))
WSCTL_RECORD(PortConfigRequestRecord, F(channel), F(port))
WSCTL_RECORD(PortConfigResponseRecord, F(resultCode), F(port))
WSCTL_RECORD(OSDMenuRecord, E(osdMenu, OsdMenu))
WSCTL_RECORD(PresetRecord, F(alias), F(sequence), F(presetSpeed), F(parkTime))
WSCTL_RECORD(PresetListRecord, F(resultCode), F(count), L(items, count))
WSCTL_RECORD(PresetRequestRecord, F(channel), F(preset))
WSCTL_RECORD(PresetTourRecord, F(channel), F(count), L(items, count))
WSCTL_RECORD(PresetTourListRecord, F(count), L(items, count), F(resultCode))

}  // namespace wsctl

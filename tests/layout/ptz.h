/* PTZ.h: resultCode leads most responses; PresetTourRecord has no prefix. */
SIZE(PTZCallResult, 8); AT(PTZCallResult, resultCode, 0); AT(PTZCallResult, result, 4);
SIZE(ChannelTextRecord, 360); AT(ChannelTextRecord, channel, 100); AT(ChannelTextRecord, text, 104);
SIZE(TextResultRecord, 260); AT(TextResultRecord, text, 4);
SIZE(IntRangeRecord, 8); AT(IntRangeRecord, max, 4);
SIZE(PTZProtocolRecord, 164); AT(PTZProtocolRecord, presetIDRange, 100); AT(PTZProtocolRecord, panSpeedRange, 108);
AT(PTZProtocolRecord, tiltSpeedRange, 116); AT(PTZProtocolRecord, zoomSpeedRange, 124);
AT(PTZProtocolRecord, focusSpeedRange, 132); AT(PTZProtocolRecord, cameraIDRange, 140);
AT(PTZProtocolRecord, presetSpeedRange, 148); AT(PTZProtocolRecord, parkTimeRange, 156);
SIZE(PTZProtocolResponseRecord, 168); AT(PTZProtocolResponseRecord, protocol, 4);
SIZE(PortConfigRecord, 16); AT(PortConfigRecord, dataBit, 4); AT(PortConfigRecord, parity, 8); AT(PortConfigRecord, stopBit, 12);
SIZE(PortConfigRequestRecord, 120); AT(PortConfigRequestRecord, channel, 100); AT(PortConfigRequestRecord, port, 104);
SIZE(PortConfigResponseRecord, 20); AT(PortConfigResponseRecord, port, 4);
SIZE(OSDMenuRecord, 104); AT(OSDMenuRecord, osdMenu, 100);
SIZE(PresetRecord, 112); AT(PresetRecord, sequence, 100); AT(PresetRecord, presetSpeed, 104); AT(PresetRecord, parkTime, 108);
SIZE(PresetRequestRecord, 216); AT(PresetRequestRecord, channel, 100); AT(PresetRequestRecord, preset, 104);

/* The records that hold a pointer: 8 bytes on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(ChannelParameterRecord, 120); AT(ChannelParameterRecord, channel, 100); AT(ChannelParameterRecord, count, 104);
AT(ChannelParameterRecord, items, 112);
SIZE(PTZProtocolListRecord, 16); AT(PTZProtocolListRecord, count, 4); AT(PTZProtocolListRecord, names, 8);
SIZE(PTZConfigurationListRecord, 16); AT(PTZConfigurationListRecord, count, 4); AT(PTZConfigurationListRecord, items, 8);
SIZE(PresetListRecord, 16); AT(PresetListRecord, count, 4); AT(PresetListRecord, items, 8);
SIZE(PresetTourRecord, 16); AT(PresetTourRecord, channel, 0); AT(PresetTourRecord, count, 4); AT(PresetTourRecord, items, 8);
SIZE(PresetTourListRecord, 24); AT(PresetTourListRecord, items, 8); AT(PresetTourListRecord, resultCode, 16);
#endif

CHECK(ptz_enum_values, WS_PARITY_ODD == 2 && WS_OSD_MENU_SELECT == 6 && WS_OSD_MENU_BACK == 7);

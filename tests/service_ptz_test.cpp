// The PTZ exports: what they send and copy against a scripted device, their
// time-outs, and every export end to end against the simulator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

ChannelRecord Channel(int32_t channel) {
  ChannelRecord record = Pattern<ChannelRecord>();
  record.channel = channel;
  return record;
}

ChannelTextRecord ChannelText(int32_t channel, const char *text) {
  ChannelTextRecord record = Pattern<ChannelTextRecord>();
  record.channel = channel;
  std::snprintf(record.text, sizeof record.text, "%s", text);
  return record;
}

PresetRecord Preset(const char *alias, int32_t sequence = 0, int32_t speed = 0, int32_t park = 0) {
  PresetRecord preset{};
  std::snprintf(preset.alias, sizeof preset.alias, "%s", alias);
  preset.sequence = sequence;
  preset.presetSpeed = speed;
  preset.parkTime = park;
  return preset;
}

// ---- against a scripted device ----

using PtzWire = ServiceWire;

// A negative count, or a count without items, is refused before sending
// (the golden exchanges hold the lists that travel).
TEST_F(PtzWire, ItemListsWithoutItemsAreRefused) {
  PTZCallResult result{};
  PresetTourRecord setTour{5, -1, nullptr};
  EXPECT_EQ(-1, Call(DLL_WebServiceSetPresetTour, &setTour, &result));
  ChannelParameterRecord control = Pattern<ChannelParameterRecord>();
  control.count = 2;
  control.items = nullptr;
  int32_t code = -1;
  EXPECT_EQ(-1, Call(DLL_WebServiceStop, &control, &code));
  EXPECT_EQ(-1, Call(DLL_WebServiceControlPTZ, &control, &code));
  EXPECT_TRUE(device.Requests().empty());
}

// Each name is its own strdup copy and the array a new[] one: the caller
// releases them with free and delete[] (AddressSanitizer checks the pairing).
// An empty list leaves the caller's array pointer alone.  (The golden
// exchanges hold the lists' copy rules.)
TEST_F(PtzWire, ProtocolNamesAreTheCallersCopies) {
  PTZProtocolListRecord list{-1, 0, nullptr};
  AnswerFrom("GetPTZProtocolList", "names with a nil one");
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZProtocolList, &kAnyRequest, &list));
  ASSERT_EQ(3, list.count);
  EXPECT_EQ(nullptr, list.names[1]);
  for (int i = 0; i < list.count; ++i) std::free(list.names[i]);
  delete[] list.names;

  char *callers[1] = {nullptr};
  list = {-1, 9, callers};
  AnswerFrom("GetPTZProtocolList", "empty list: count 0");
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZProtocolList, &kAnyRequest, &list));
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(callers, list.names);
}

// ---- end to end against the simulator ----

class PtzSim : public ServiceSim {
 protected:
  template <class Request>
  int32_t Code(int (*fn)(const char *, const char *, const char *, const Request *, int32_t *, ConnectionInfo *),
               const Request *request) {
    int32_t code = -1;
    EXPECT_EQ(0, Call(fn, request, &code));
    return code;
  }
  int32_t Control(int32_t channel, std::vector<ParameterRecord> parameters) {
    ChannelParameterRecord request{};
    request.channel = channel;
    request.count = static_cast<int32_t>(parameters.size());
    request.items = parameters.data();
    return Code(DLL_WebServiceControlPTZ, &request);
  }
  // The channel's configuration and head state, by key.
  std::map<std::string, std::string> State(int32_t channel) {
    ChannelRecord request = Channel(channel);
    PTZConfigurationListRecord list{-1, 0, nullptr};
    std::map<std::string, std::string> state;
    EXPECT_EQ(0, Call(DLL_WebServiceGetPTZConfiguration, &request, &list));
    for (int i = 0; i < list.count; ++i) state[list.items[i].key] = list.items[i].value;
    delete[] list.items;
    return state;
  }
  std::string Position(int32_t channel) {
    std::map<std::string, std::string> state = State(channel);
    return state["pan"] + "/" + state["tilt"] + "/" + state["zoom"];
  }
};

// A user's session: store a preset, look elsewhere, come back; then a tour.
TEST_F(PtzSim, PresetAndTourScenario) {
  EXPECT_EQ("0/0/1", Position(1));
  EXPECT_EQ(0, Control(1, {{"command", "RIGHT"}, {"speed", "30"}}));
  EXPECT_EQ(0, Control(1, {{"command", "UP"}, {"speed", "20"}}));
  PresetRequestRecord entrance{};
  entrance.channel = 1;
  entrance.preset = Preset("entrance", 1, 10, 5);
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddPreset, &entrance));
  EXPECT_EQ(405, Verdict(DLL_WebServiceAddPreset, &entrance));

  EXPECT_EQ(0, Control(1, {{"command", "LEFT"}, {"speed", "50"}}));  // pan wraps around
  EXPECT_EQ(0, Control(1, {{"command", "ZOOM_IN"}, {"speed", "3"}}));
  EXPECT_EQ("340/20/4", Position(1));
  EXPECT_EQ("ZOOM_IN", State(1)["motion"]);
  ChannelParameterRecord stop{};
  stop.channel = 1;
  EXPECT_EQ(0, Code(DLL_WebServiceStop, &stop));
  EXPECT_EQ("idle", State(1)["motion"]);
  PresetRequestRecord yard{};
  yard.channel = 1;
  yard.preset = Preset("yard", 2, 10, 5);
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddPreset, &yard));

  ChannelTextRecord gotoEntrance = ChannelText(1, "entrance");
  EXPECT_EQ(0, Code(DLL_WebServiceGotoPreset, &gotoEntrance));
  EXPECT_EQ("30/20/1", Position(1));

  PresetRecord stops[2] = {Preset("yard", 1, 8, 3), Preset("entrance", 2, 8, 3)};
  PresetTourRecord tour{1, 2, stops};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPresetTour, &tour));
  const int32_t one = 1;
  PresetTourListRecord got{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPresetTour, &one, &got));
  ASSERT_EQ(2, got.count);
  EXPECT_STREQ("yard", got.items[0].alias);
  EXPECT_STREQ("entrance", got.items[1].alias);
  EXPECT_EQ(8, got.items[1].presetSpeed);
  delete[] got.items;
  EXPECT_EQ(0, Code(DLL_WebServicePlayPresetTour, &one));
  EXPECT_EQ("playing", State(1)["presetTour"]);
  EXPECT_EQ("340/20/4", Position(1));  // at the first stop
  ChannelRecord channel = Channel(1);
  EXPECT_EQ(0, Code(DLL_WebServiceStopPresetTour, &channel));
  EXPECT_EQ("stopped", State(1)["presetTour"]);

  // Tours name existing presets only; a removed preset leaves the tour.
  stops[1] = Preset("nowhere");
  EXPECT_EQ(406, Verdict(DLL_WebServiceSetPresetTour, &tour));
  ChannelTextRecord removeYard = ChannelText(1, "yard");
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemovePreset, &removeYard));
  EXPECT_EQ(404, Verdict(DLL_WebServiceRemovePreset, &removeYard));
  EXPECT_EQ(404, Code(DLL_WebServiceGotoPreset, &removeYard));
  PresetListRecord presets{-1, 0, nullptr};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPresetList, &channel, &presets));
  ASSERT_EQ(1, presets.count);
  EXPECT_STREQ("entrance", presets.items[0].alias);
  EXPECT_EQ(5, presets.items[0].parkTime);
  delete[] presets.items;
  tour.count = 0;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPresetTour, &tour));
  EXPECT_EQ(407, Code(DLL_WebServicePlayPresetTour, &one));
}

TEST_F(PtzSim, ProtocolsConfigurationPortMenuAndPatterns) {
  PTZProtocolListRecord protocols{-1, 0, nullptr};
  TextRequest file("/protocols/custom-head.ptz");
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddPTZProtocol, file.get()));
  EXPECT_EQ(401, Verdict(DLL_WebServiceAddPTZProtocol, file.get()));
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZProtocolList, &kAnyRequest, &protocols));
  ASSERT_EQ(3, protocols.count);
  EXPECT_STREQ("custom-head", protocols.names[2]);
  for (int i = 0; i < protocols.count; ++i) std::free(protocols.names[i]);
  delete[] protocols.names;

  ChannelTextRecord useCustom = ChannelText(2, "custom-head");
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPTZProtocol, &useCustom));
  ChannelRecord two = Channel(2);
  TextResultRecord inUse{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZProtocol, &two, &inUse));
  EXPECT_STREQ("custom-head", inUse.text);
  TextRequest custom("custom-head");
  EXPECT_EQ(402, Verdict(DLL_WebServiceRemovePTZProtocol, custom.get()));
  ChannelTextRecord useB = ChannelText(2, "SIM-SERIAL-B");
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPTZProtocol, &useB));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemovePTZProtocol, custom.get()));
  EXPECT_EQ(400, Verdict(DLL_WebServiceRemovePTZProtocol, custom.get()));
  EXPECT_EQ(400, Verdict(DLL_WebServiceSetPTZProtocol, &useCustom));

  // SIM-SERIAL-B knows no diagonal moves and tops out at speed 32.
  TextRequest b("SIM-SERIAL-B");
  PTZProtocolResponseRecord info{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZProtocolInfo, b.get(), &info));
  EXPECT_STREQ("SIM-SERIAL-B", info.protocol.name);
  EXPECT_EQ(32, info.protocol.panSpeedRange.max);
  ParameterListRecord commands{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZCommandList, "SIM-SERIAL-B", &commands));
  EXPECT_EQ(6, commands.count);
  delete[] commands.items;
  EXPECT_EQ(403, Control(2, {{"command", "LEFT_UP"}, {"speed", "1"}}));
  EXPECT_EQ(5, Control(2, {{"command", "LEFT"}, {"speed", "33"}}));
  EXPECT_EQ(3, Control(9, {{"command", "LEFT"}, {"speed", "1"}}));
  EXPECT_EQ(411, Control(2, {{"command", "LEFT"}, {"bogus", "1"}}));

  // Configuration: the step follows panSpeed; state keys are read only.
  ParameterRecord setting{"panSpeed", "7"};
  ChannelParameterRecord set{};
  set.channel = 2;
  set.count = 1;
  set.items = &setting;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPTZConfiguration, &set));
  EXPECT_EQ(0, Control(2, {{"command", "RIGHT"}}));
  EXPECT_EQ("7", State(2)["pan"]);
  setting = {"pan", "100"};
  EXPECT_EQ(411, Verdict(DLL_WebServiceSetPTZConfiguration, &set));
  setting = {"panSpeed", "0"};
  EXPECT_EQ(5, Verdict(DLL_WebServiceSetPTZConfiguration, &set));

  PortConfigRequestRecord port{};
  port.channel = 2;
  port.port = {19200, 7, WS_PARITY_ODD, 2};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetPTZPort, &port));
  PortConfigResponseRecord gotPort{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPTZPort, &two, &gotPort));
  EXPECT_EQ(0, std::memcmp(&port.port, &gotPort.port, sizeof gotPort.port));
  port.port.baudRate = 1234;
  EXPECT_EQ(5, Verdict(DLL_WebServiceSetPTZPort, &port));

  ChannelTextRecord raw = ChannelText(2, "RAW 7 <a&b>");
  TextResultRecord echo{};
  ASSERT_EQ(0, Call(DLL_WebServicePTZByPass, &raw, &echo));
  EXPECT_STREQ("ACK RAW 7 <a&b>", echo.text);

  OSDMenuRecord menu{};
  for (auto [key, expected] : std::vector<std::pair<int32_t, int32_t>>{
           {WS_OSD_MENU_UP, 410}, {WS_OSD_MENU_OPEN, 0}, {WS_OSD_MENU_SELECT, 0}, {WS_OSD_MENU_DOWN, 0},
           {WS_OSD_MENU_BACK, 0}, {WS_OSD_MENU_RIGHT, 0}, {WS_OSD_MENU_BACK, 0}, {WS_OSD_MENU_LEFT, 410}, {8, 5}}) {
    menu.osdMenu = key;
    EXPECT_EQ(expected, Verdict(DLL_WebServiceOSDMenu, &menu)) << "key " << key;
  }
  EXPECT_EQ("closed", State(2)["osdMenu"]);

  // A recorded pattern replays its steps once.
  EXPECT_EQ(409, Code(DLL_WebServicePlayRecordedPattern, &two));
  EXPECT_EQ(408, Verdict(DLL_WebServiceStopPatternRecording, &two));
  EXPECT_EQ(0, Verdict(DLL_WebServiceStartPatternRecording, &two));
  EXPECT_EQ(0, Control(2, {{"command", "RIGHT"}, {"speed", "5"}}));
  EXPECT_EQ(0, Control(2, {{"command", "UP"}, {"speed", "4"}}));
  EXPECT_EQ("recording", State(2)["pattern"]);
  EXPECT_EQ(0, Verdict(DLL_WebServiceStopPatternRecording, &two));
  EXPECT_EQ("12/4/1", Position(2));
  EXPECT_EQ(0, Code(DLL_WebServicePlayRecordedPattern, &two));
  EXPECT_EQ("17/8/1", Position(2));
  EXPECT_EQ("playing", State(2)["pattern"]);
  EXPECT_EQ(0, Code(DLL_WebServiceStopRecordedPattern, &two));
  EXPECT_EQ("idle", State(2)["pattern"]);

  // Unknown channels are refused everywhere.
  ChannelRecord nine = Channel(9);
  PresetListRecord none{-1, 0, nullptr};
  ASSERT_EQ(0, Call(DLL_WebServiceGetPresetList, &nine, &none));
  EXPECT_EQ(3, none.resultCode);
  EXPECT_EQ(nullptr, none.items);
}

}  // namespace

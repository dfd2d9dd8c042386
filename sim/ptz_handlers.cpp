// PTZ service: protocols, direct control, configuration, serial port,
// pass-through, on-screen menu, presets, preset tours and patterns.  The
// head model is described in sim/ptz_state.h.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapPTZSoap12Service.h"
#include "webservice/Enums.h"

using namespace sim;

namespace {

// The longest alias and protocol name the device keeps (the records hold 99).
constexpr size_t kMaxName = 99;
constexpr int kMenuRows = 8;
constexpr int kMenuDepth = 2;
constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// The direction of each ControlPTZ command, per axis.
struct Move {
  const char *command;
  int pan, tilt, zoom;
  bool diagonal;
  const char *meaning;  // the value GetPTZCommandList lists beside the command
};
const Move kMoves[] = {
    {"LEFT", -1, 0, 0, false, "pan left"},          {"RIGHT", 1, 0, 0, false, "pan right"},
    {"UP", 0, 1, 0, false, "tilt up"},              {"DOWN", 0, -1, 0, false, "tilt down"},
    {"LEFT_UP", -1, 1, 0, true, "pan left, tilt up"}, {"LEFT_DOWN", -1, -1, 0, true, "pan left, tilt down"},
    {"RIGHT_UP", 1, 1, 0, true, "pan right, tilt up"}, {"RIGHT_DOWN", 1, -1, 0, true, "pan right, tilt down"},
    {"ZOOM_IN", 0, 0, 1, false, "zoom in"},         {"ZOOM_OUT", 0, 0, -1, false, "zoom out"},
};

const Move *FindMove(const PtzProtocol &protocol, const std::string &command) {
  for (const Move &move : kMoves)
    if (command == move.command && (protocol.diagonals || !move.diagonal)) return &move;
  return nullptr;
}

// Marks a boolean result true and reports success.
ResultCode Done(bool &result) {
  result = true;
  return kResultOk;
}

PtzState &Ptz(DeviceState &device) {
  if (device.ptz.heads.empty()) device.ptz.heads.resize(DeviceState::kChannels);
  return device.ptz;
}

PtzProtocol *FindProtocol(PtzState &ptz, const char *name) {
  for (PtzProtocol &protocol : ptz.protocols)
    if (name && protocol.name == name) return &protocol;
  return nullptr;
}

template <class Item>
Item *FindAlias(std::vector<Item> &items, const char *alias) {
  for (Item &item : items)
    if (alias && item.alias == alias) return &item;
  return nullptr;
}

// A whole decimal number within [low, high], or false.
bool ParseInt(const char *text, int low, int high, int *out) {
  if (!text || !*text) return false;
  errno = 0;
  char *end;
  long value = std::strtol(text, &end, 10);
  if (*end || errno || value < low || value > high) return false;
  *out = static_cast<int>(value);
  return true;
}

std::string *FindSetting(PtzHead &head, const std::string &key) {
  for (auto &setting : head.configuration)
    if (setting.first == key) return &setting.second;
  return nullptr;
}

int SettingInt(PtzHead &head, const char *key) {
  const std::string *value = FindSetting(head, key);
  int number = 1;
  return value && ParseInt(value->c_str(), 1, 1 << 20, &number) ? number : 1;
}

bool IsSpeedSetting(const std::string &key) { return key == "panSpeed" || key == "tiltSpeed" || key == "zoomSpeed"; }

// One step of the head; speed 0 takes each axis's speed setting.
void Step(PtzHead &head, const Move &move, int speed) {
  PtzPosition &p = head.position;
  p.pan = ((p.pan + move.pan * (speed ? speed : SettingInt(head, "panSpeed"))) % 360 + 360) % 360;
  p.tilt = std::clamp(p.tilt + move.tilt * (speed ? speed : SettingInt(head, "tiltSpeed")), -90, 90);
  p.zoom = std::clamp(p.zoom + move.zoom * (speed ? speed : SettingInt(head, "zoomSpeed")), 1, 30);
}

// Going somewhere on purpose ends a playing tour or pattern.
void Interrupt(PtzHead &head) {
  head.touring = false;
  if (head.pattern == PatternState::kPlaying) head.pattern = PatternState::kIdle;
}

// Runs change(ptz, head) for the request's channel under the device's lock
// and answers its result code; an unknown channel is refused unchanged.
template <class Request, class Response, class Change>
int WithHead(struct soap *soap, const Request *request, Response &response, Change change) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  const int index = DeviceState::ChannelIndex(request ? request->channel : 0);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  PtzState &ptz = Ptz(device);
  return Reply(soap, response, change(ptz, ptz.heads[index]));
}

// Runs change(ptz) under the device's lock and answers its result code.
template <class Response, class Change>
int WithPtz(struct soap *soap, Response &response, Change change) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  return Reply(soap, response, change(Ptz(device)));
}

char *Text(struct soap *soap, const std::string &text) { return soap_strdup(soap, text.c_str()); }

ns1__ArrayOfParameter_USCORET *WireParameters(struct soap *soap, const PtzParameters &parameters) {
  ns1__ArrayOfParameter_USCORET *list = soap_new_ns1__ArrayOfParameter_USCORET(soap);
  for (const auto &p : parameters)
    list->Parameter_USCORET.push_back(soap_new_set_ns1__Parameter_USCORET(soap, Text(soap, p.first), Text(soap, p.second)));
  return list;
}

ns1__ArrayOfPreset_USCORET *WirePresets(struct soap *soap, const std::vector<PtzPreset> &presets) {
  ns1__ArrayOfPreset_USCORET *list = soap_new_ns1__ArrayOfPreset_USCORET(soap);
  for (const PtzPreset &preset : presets)
    list->Preset_USCORET.push_back(soap_new_set_ns1__Preset_USCORET(soap, Text(soap, preset.alias), preset.sequence,
                                                                     preset.presetSpeed, preset.parkTime));
  return list;
}

ns1__IntRange_USCORET *Range(struct soap *soap, int min, int max) {
  return soap_new_set_ns1__IntRange_USCORET(soap, min, max);
}

const char *PatternName(PatternState state) {
  switch (state) {
    case PatternState::kRecording: return "recording";
    case PatternState::kPlaying: return "playing";
    default: return "idle";
  }
}

// The settings of a parameter list, checked whole before any is stored.
ResultCode ApplySettings(PtzHead &head, const PtzProtocol *protocol, const ns1__ArrayOfParameter_USCORET *list) {
  if (!list) return kResultMissingArgument;
  for (const ns1__Parameter_USCORET *p : list->Parameter_USCORET) {
    if (!p || !p->key || !FindSetting(head, p->key)) return kResultPtzUnknownKey;
    int speed;
    if (IsSpeedSetting(p->key) && !ParseInt(p->value, 1, protocol ? protocol->maxSpeed : 64, &speed))
      return kResultOutOfRange;
  }
  for (const ns1__Parameter_USCORET *p : list->Parameter_USCORET) *FindSetting(head, p->key) = p->value ? p->value : "";
  return kResultOk;
}

// ControlPTZ's parameters: "command" (required) and "speed" (optional).
ResultCode Control(PtzState &ptz, PtzHead &head, const ns1__ArrayOfParameter_USCORET *list) {
  const PtzProtocol *protocol = FindProtocol(ptz, head.protocol.c_str());
  if (!list || !protocol) return kResultMissingArgument;
  const char *command = nullptr;
  int speed = 0;
  for (const ns1__Parameter_USCORET *p : list->Parameter_USCORET) {
    if (p && p->key && !std::strcmp(p->key, "command")) {
      command = p->value;
    } else if (p && p->key && !std::strcmp(p->key, "speed")) {
      if (!ParseInt(p->value, 1, protocol->maxSpeed, &speed)) return kResultOutOfRange;
    } else {
      return kResultPtzUnknownKey;
    }
  }
  if (!command) return kResultMissingArgument;
  const Move *move = FindMove(*protocol, command);
  if (!move) return kResultPtzUnknownCommand;
  Interrupt(head);
  Step(head, *move, speed);
  head.motion = move->command;
  if (head.pattern == PatternState::kRecording) head.recorded.push_back({move->command, speed});
  return kResultOk;
}

}  // namespace

int PTZSoap12Service::GetPTZProtocolList(_ns1__GetPTZProtocolList *, _ns1__GetPTZProtocolListResponse &response) {
  return WithPtz(soap, response, [&](PtzState &ptz) {
    response.GetPTZProtocolListResult = soap_new_ns1__ArrayOfString(soap);
    for (const PtzProtocol &protocol : ptz.protocols)
      response.GetPTZProtocolListResult->string.push_back(Text(soap, protocol.name));
    return kResultOk;
  });
}

int PTZSoap12Service::GetPTZProtocol(_ns1__GetPTZProtocol *request, _ns1__GetPTZProtocolResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    response.GetPTZProtocolResult = Text(soap, head.protocol);
    return kResultOk;
  });
}

int PTZSoap12Service::SetPTZProtocol(_ns1__SetPTZProtocol *request, _ns1__SetPTZProtocolResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &ptz, PtzHead &head) {
    const PtzProtocol *protocol = FindProtocol(ptz, request->protocolName);
    if (!protocol) return kResultPtzUnknownProtocol;
    head.protocol = protocol->name;
    return Done(response.SetPTZProtocolResult);
  });
}

int PTZSoap12Service::AddPTZProtocol(_ns1__AddPTZProtocol *request, _ns1__AddPTZProtocolResponse &response) {
  // The protocol is named after its file: the base name without extension.
  std::string name = request && request->filename ? request->filename : "";
  name.erase(0, name.find_last_of("/\\") + 1);
  name = name.substr(0, name.find('.'));
  return WithPtz(soap, response, [&](PtzState &ptz) {
    if (name.empty()) return kResultMissingArgument;
    if (name.size() > kMaxName) return kResultTooLong;
    if (FindProtocol(ptz, name.c_str())) return kResultPtzProtocolExists;
    ptz.protocols.push_back({name, true, 64});
    return Done(response.AddPTZProtocolResult);
  });
}

int PTZSoap12Service::RemovePTZProtocol(_ns1__RemovePTZProtocol *request,
                                        _ns1__RemovePTZProtocolResponse &response) {
  return WithPtz(soap, response, [&](PtzState &ptz) {
    const PtzProtocol *protocol = FindProtocol(ptz, request ? request->protocolName : nullptr);
    if (!protocol) return kResultPtzUnknownProtocol;
    for (const PtzHead &head : ptz.heads)
      if (head.protocol == protocol->name) return kResultPtzProtocolInUse;
    ptz.protocols.erase(ptz.protocols.begin() + (protocol - ptz.protocols.data()));
    return Done(response.RemovePTZProtocolResult);
  });
}

int PTZSoap12Service::GetPTZProtocolInfo(_ns1__GetPTZProtocolInfo *request,
                                         _ns1__GetPTZProtocolInfoResponse &response) {
  return WithPtz(soap, response, [&](PtzState &ptz) {
    const PtzProtocol *protocol = FindProtocol(ptz, request ? request->protocolName : nullptr);
    if (!protocol) return kResultPtzUnknownProtocol;
    const int top = protocol->maxSpeed;
    response.GetPTZProtocolInfoResult = soap_new_set_ns1__PTZProtocol_USCORET(
        soap, Text(soap, protocol->name), Range(soap, 1, 255), Range(soap, 1, top), Range(soap, 1, top),
        Range(soap, 1, 8), Range(soap, 1, 8), Range(soap, 1, 255), Range(soap, 1, top), Range(soap, 0, 3600));
    return kResultOk;
  });
}

int PTZSoap12Service::GetPTZCommandList(_ns1__GetPTZCommandList *request,
                                        _ns1__GetPTZCommandListResponse &response) {
  return WithPtz(soap, response, [&](PtzState &ptz) {
    const PtzProtocol *protocol = FindProtocol(ptz, request ? request->protocolName : nullptr);
    if (!protocol) return kResultPtzUnknownProtocol;
    PtzParameters commands;
    for (const Move &move : kMoves)
      if (FindMove(*protocol, move.command)) commands.emplace_back(move.command, move.meaning);
    response.GetPTZCommandListResult = WireParameters(soap, commands);
    return kResultOk;
  });
}

int PTZSoap12Service::ControlPTZ(_ns1__ControlPTZ *request, _ns1__ControlPTZResponse &response) {
  return WithHead(soap, request, response,
                  [&](PtzState &ptz, PtzHead &head) { return Control(ptz, head, request->param); });
}

int PTZSoap12Service::Stop(_ns1__Stop *request, _ns1__StopResponse &response) {
  // Any parameters are accepted; the head simply stops.
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    head.motion = "idle";
    return kResultOk;
  });
}

int PTZSoap12Service::GetPresetList(_ns1__GetPresetList *request, _ns1__GetPresetListResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    response.GetPresetListResult = WirePresets(soap, head.presets);
    return kResultOk;
  });
}

int PTZSoap12Service::AddPreset(_ns1__AddPreset *request, _ns1__AddPresetResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    const ns1__Preset_USCORET *preset = request->preset;
    if (!preset || !preset->alias || !*preset->alias) return kResultMissingArgument;
    if (std::strlen(preset->alias) > kMaxName) return kResultTooLong;
    if (FindAlias(head.presets, preset->alias)) return kResultPtzPresetExists;
    // Kept in sequence order, as the head numbers its preset slots.
    const auto at = std::upper_bound(head.presets.begin(), head.presets.end(), preset->sequence,
                                     [](int sequence, const PtzPreset &stored) { return sequence < stored.sequence; });
    head.presets.insert(at, {preset->alias, preset->sequence, preset->presetSpeed, preset->parkTime, head.position});
    return Done(response.AddPresetResult);
  });
}

int PTZSoap12Service::GotoPreset(_ns1__GotoPreset *request, _ns1__GotoPresetResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    const PtzPreset *preset = FindAlias(head.presets, request->alias);
    if (!preset) return kResultPtzUnknownPreset;
    Interrupt(head);
    head.position = preset->position;
    head.motion = "idle";
    return kResultOk;
  });
}

int PTZSoap12Service::RemovePreset(_ns1__RemovePreset *request, _ns1__RemovePresetResponse &response) {
  // A removed preset leaves the tour too; a tour left empty stops.
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    const PtzPreset *preset = FindAlias(head.presets, request->alias);
    if (!preset) return kResultPtzUnknownPreset;
    const std::string alias = preset->alias;
    head.presets.erase(head.presets.begin() + (preset - head.presets.data()));
    head.tour.erase(std::remove_if(head.tour.begin(), head.tour.end(),
                                   [&](const PtzPreset &stop) { return stop.alias == alias; }),
                    head.tour.end());
    if (head.tour.empty()) head.touring = false;
    return Done(response.RemovePresetResult);
  });
}

int PTZSoap12Service::GetPresetTour(_ns1__GetPresetTour *request, _ns1__GetPresetTourResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    response.GetPresetTourResult = WirePresets(soap, head.tour);
    return kResultOk;
  });
}

int PTZSoap12Service::SetPresetTour(_ns1__SetPresetTour *request, _ns1__SetPresetTourResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    if (!request->presetList) return kResultMissingArgument;
    std::vector<PtzPreset> tour;
    for (const ns1__Preset_USCORET *stop : request->presetList->Preset_USCORET) {
      const PtzPreset *preset = stop ? FindAlias(head.presets, stop->alias) : nullptr;
      if (!preset) return kResultPtzTourUnknownPreset;
      tour.push_back({preset->alias, stop->sequence, stop->presetSpeed, stop->parkTime, preset->position});
    }
    head.tour = std::move(tour);
    if (head.tour.empty()) head.touring = false;
    return Done(response.SetPresetTourResult);
  });
}

int PTZSoap12Service::PlayPresetTour(_ns1__PlayPresetTour *request, _ns1__PlayPresetTourResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    if (head.tour.empty()) return kResultPtzNoTour;
    const PtzPreset *first = FindAlias(head.presets, head.tour.front().alias.c_str());
    Interrupt(head);
    if (first) head.position = first->position;
    head.motion = "idle";
    head.touring = true;
    return kResultOk;
  });
}

int PTZSoap12Service::StopPresetTour(_ns1__StopPresetTour *request, _ns1__StopPresetTourResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    head.touring = false;
    return kResultOk;
  });
}

int PTZSoap12Service::StartPatternRecording(_ns1__StartPatternRecording *request,
                                            _ns1__StartPatternRecordingResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    head.pattern = PatternState::kRecording;
    head.recorded.clear();
    return Done(response.StartPatternRecordingResult);
  });
}

int PTZSoap12Service::StopPatternRecording(_ns1__StopPatternRecording *request,
                                           _ns1__StopPatternRecordingResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    if (head.pattern != PatternState::kRecording) return kResultPtzNotRecording;
    head.pattern = PatternState::kIdle;
    head.hasPattern = true;
    return Done(response.StopPatternRecordingResult);
  });
}

int PTZSoap12Service::PlayRecordedPattern(_ns1__PlayRecordedPattern *request,
                                          _ns1__PlayRecordedPatternResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &ptz, PtzHead &head) {
    if (!head.hasPattern || head.pattern == PatternState::kRecording) return kResultPtzNoPattern;
    const PtzProtocol *protocol = FindProtocol(ptz, head.protocol.c_str());
    Interrupt(head);
    for (const PtzStep &step : head.recorded)
      if (const Move *move = protocol ? FindMove(*protocol, step.command) : nullptr) Step(head, *move, step.speed);
    head.pattern = PatternState::kPlaying;
    return kResultOk;
  });
}

int PTZSoap12Service::StopRecordedPattern(_ns1__StopRecordedPattern *request,
                                          _ns1__StopRecordedPatternResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    if (head.pattern == PatternState::kPlaying) head.pattern = PatternState::kIdle;
    return kResultOk;
  });
}

int PTZSoap12Service::GetPTZConfiguration(_ns1__GetPTZConfiguration *request,
                                          _ns1__GetPTZConfigurationResponse &response) {
  // The settings, then the head's state (read only).
  return WithHead(soap, request, response, [&](PtzState &ptz, PtzHead &head) {
    PtzParameters parameters = head.configuration;
    parameters.insert(parameters.end(), {{"pan", std::to_string(head.position.pan)},
                                         {"tilt", std::to_string(head.position.tilt)},
                                         {"zoom", std::to_string(head.position.zoom)},
                                         {"motion", head.motion},
                                         {"presetTour", head.touring ? "playing" : "stopped"},
                                         {"pattern", PatternName(head.pattern)},
                                         {"osdMenu", ptz.menuOpen ? "open" : "closed"}});
    response.GetPTZConfigurationResult = WireParameters(soap, parameters);
    return kResultOk;
  });
}

int PTZSoap12Service::SetPTZConfiguration(_ns1__SetPTZConfiguration *request,
                                          _ns1__SetPTZConfigurationResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &ptz, PtzHead &head) {
    const ResultCode status = ApplySettings(head, FindProtocol(ptz, head.protocol.c_str()), request->param);
    return status == kResultOk ? Done(response.SetPTZConfigurationResult) : status;
  });
}

int PTZSoap12Service::GetPTZPort(_ns1__GetPTZPort *request, _ns1__GetPTZPortResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    response.GetPTZPortResult =
        soap_new_set_ns1__PortConfig_USCORET(soap, head.baudRate, head.dataBit, head.parity, head.stopBit);
    return kResultOk;
  });
}

int PTZSoap12Service::SetPTZPort(_ns1__SetPTZPort *request, _ns1__SetPTZPortResponse &response) {
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &head) {
    const ns1__PortConfig_USCORET *port = request->port;
    if (!port) return kResultMissingArgument;
    const bool knownRate = std::find(std::begin(kBaudRates), std::end(kBaudRates), port->baudRate) != std::end(kBaudRates);
    if (!knownRate || port->dataBit < 5 || port->dataBit > 8 || port->parity < WS_PARITY_NONE ||
        port->parity > WS_PARITY_ODD || port->stopBit < 1 || port->stopBit > 2)
      return kResultOutOfRange;
    head.baudRate = port->baudRate;
    head.dataBit = port->dataBit;
    head.parity = port->parity;
    head.stopBit = port->stopBit;
    return Done(response.SetPTZPortResult);
  });
}

int PTZSoap12Service::PTZByPass(_ns1__PTZByPass *request, _ns1__PTZByPassResponse &response) {
  // The head acknowledges a raw command by echoing it: "ACK " + command.
  return WithHead(soap, request, response, [&](PtzState &, PtzHead &) {
    if (!request->command) return kResultMissingArgument;
    response.PTZByPassResult = Text(soap, std::string("ACK ") + request->command);
    return kResultOk;
  });
}

int PTZSoap12Service::OSDMenu(_ns1__OSDMenu *request, _ns1__OSDMenuResponse &response) {
  // OPEN shows the top page at row 0 and CLOSE hides the menu; the other keys
  // need it open.  UP and DOWN move the row, SELECT enters a submenu (two
  // levels deep at most) and BACK leaves one or closes the top page; LEFT and
  // RIGHT are accepted, the simulated menu having no values to change.
  const int key = request ? request->osdMenu : -1;
  return WithPtz(soap, response, [&](PtzState &ptz) {
    if (key < WS_OSD_MENU_OPEN || key > WS_OSD_MENU_BACK) return kResultOutOfRange;
    if (key == WS_OSD_MENU_OPEN) {
      ptz.menuOpen = true;
      ptz.menuDepth = ptz.menuRow = 0;
    } else if (key == WS_OSD_MENU_CLOSE) {
      ptz.menuOpen = false;
    } else if (!ptz.menuOpen) {
      return kResultPtzMenuClosed;
    } else if (key == WS_OSD_MENU_UP || key == WS_OSD_MENU_DOWN) {
      ptz.menuRow = std::clamp(ptz.menuRow + (key == WS_OSD_MENU_UP ? -1 : 1), 0, kMenuRows - 1);
    } else if (key == WS_OSD_MENU_SELECT) {
      ptz.menuDepth = std::min(ptz.menuDepth + 1, kMenuDepth);
      ptz.menuRow = 0;
    } else if (key == WS_OSD_MENU_BACK) {
      ptz.menuOpen = ptz.menuDepth > 0;
      ptz.menuDepth = std::max(ptz.menuDepth - 1, 0);
      ptz.menuRow = 0;
    }
    return Done(response.OSDMenuResult);
  });
}

WS_SIM_REGISTER_SERVICE(PTZSoap12Service);

#include "sim/device_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

#include "webservice/Enums.h"

namespace sim {

DeviceSettings FactorySettings(int generatedUsers) {
  DeviceSettings settings;
  auto &users = settings.users;
  auto &videoSource = settings.videoSource;
  auto &encoder = settings.encoder;
  auto &resolution = settings.resolution;
  auto &audio = settings.audio;
  users = {{"admin", "admin", WS_USER_ADMIN},       {"power1", "power1", WS_USER_POWER},
           {"power2", "power2", WS_USER_POWER},     {"user1", "user1", WS_USER_NORMAL},
           {"user2", "user2", WS_USER_NORMAL},      {"guest1", "guest1", WS_USER_CUSTOMER},
           {"guest2", "guest2", WS_USER_CUSTOMER}};
  users.reserve(users.size() + generatedUsers);
  for (int i = 1; i <= generatedUsers; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "user%05d", i);
    users.push_back({name, name, WS_USER_NORMAL});
  }
  settings.maxRTPStreamTime = {{1, 0, 0}, {2, 0, 0}, {0, 30, 0}, {0, 0, 0}};

  for (int c = 0; c < DeviceSettings::kChannels; ++c) {
    ns1__VideoSourceConfig_USCORET &source = videoSource[c];
    source.enable = true;
    source.contrast = source.hue = source.brightness = source.sharpness = 50;
    source.videoStandard = WS_VIDEO_STANDARD_NTSC;
    source.captureMode = 0;

    for (int s = 0; s < 2; ++s) {
      const bool master = s == 0;
      ns1__VideoEncoderConfig_USCORET &e = encoder[c][s];
      e.enable = true;
      e.videoCodec = master ? WS_VIDEO_CODEC_H264 : WS_VIDEO_CODEC_MJPEG;
      e.resolutionType = master ? WS_RESOLUTION_FULL_D1 : WS_RESOLUTION_FULL_CIF;
      e.frameRate = master ? 30 : 15;
      e.bitRateType = master ? WS_VIDEO_BITRATE_CBR : WS_VIDEO_BITRATE_VBR;
      e.qualityType = master ? WS_VIDEO_QUALITY_HIGH : WS_VIDEO_QUALITY_MEDIUM;
      e.bitRate = master ? 4000 : 1000;
      e.gopSize = master ? 30 : 15;
      e.deinterlacing = false;
      e.resolution = nullptr;
      settings.hasResolution[c][s] = true;
      resolution[c][s].width = master ? 720 : 352;
      resolution[c][s].height = master ? 480 : 240;
    }

    audio[c].enableAudioIn = true;
    audio[c].audioInCodec = WS_AUDIO_CODEC_G711_PCMU;
    audio[c].enableAudioOut = false;
  }
  return settings;
}

void DeviceState::ReplaceSettings(const DeviceSettings &replacement) {
  const long long clock = basicSystem.clockOffsetSeconds;
  settings() = replacement;
  basicSystem.clockOffsetSeconds = clock;
  KeepIdentity();
}

void DeviceState::KeepIdentity() {
  char text[32];
  std::snprintf(text, sizeof text, "SIM-%06d", number);
  auto serial = std::find_if(factory.defaults.begin(), factory.defaults.end(),
                             [](const auto &entry) { return entry.first == kSerialNumberKey; });
  if (serial != factory.defaults.end()) serial->second = text;
  std::snprintf(text, sizeof text, "02:00:5E:10:%02X:%02X", (number >> 8) & 0xff, number & 0xff);
  network.macAddress = text;
}

namespace {

using nlohmann::json;

// One walk over the persistent settings serves both directions: saving
// writes each value into the document, loading reads back those present.
class StateIo {
 public:
  StateIo(json *node, bool save) : node_(node), save_(save) {}

  template <class T>
  void operator()(const char *name, T &value) {
    if (save_) {
      (*node_)[name] = value;
    } else if (node_->is_object() && node_->contains(name)) {
      value = (*node_)[name].get<T>();
    }
  }
  template <class E>
  void Enum(const char *name, E &value) {
    int number = static_cast<int>(value);
    (*this)(name, number);
    value = static_cast<E>(number);
  }
  StateIo At(const char *name) {
    if (save_) return {&(*node_)[name], true};
    return {node_->is_object() && node_->contains(name) ? &(*node_)[name] : &Missing(), false};
  }
  StateIo At(size_t index) {
    if (save_) return {&(*node_)[index], true};
    return {node_->is_array() && index < node_->size() ? &(*node_)[index] : &Missing(), false};
  }
  // The number of items a list holds in the document (saving: n).
  size_t Count(size_t n) const { return save_ ? n : node_->is_array() ? node_->size() : 0; }
  bool Present() const { return save_ || !node_->is_null(); }

 private:
  static json &Missing() {
    static json missing;
    return missing;
  }
  json *node_;
  bool save_;
};

// A list of records: saved whole; loaded only when the document holds it,
// and then as many items as it holds.
template <class T, class Walk>
void WalkList(StateIo list, std::vector<T> &items, Walk walk) {
  if (!list.Present()) return;
  items.resize(list.Count(items.size()));
  for (size_t i = 0; i < items.size(); ++i) walk(list.At(i), items[i]);
}

void WalkSettings(StateIo io, DeviceSettings &s) {
  io("enableAnonymous", s.enableAnonymous);
  io("maxStreamConnection", s.maxStreamConnection);
  WalkList(io.At("users"), s.users, [](StateIo user, User &value) {
    user("id", value.id), user("password", value.password), user("level", value.level);
  });
  WalkList(io.At("maxRTPStreamTime"), s.maxRTPStreamTime, [](StateIo slot, TimeSlot &value) {
    slot("hour", value.hour), slot("minute", value.minute), slot("second", value.second);
  });
  StateIo channels = io.At("channels");
  for (int c = 0; c < DeviceSettings::kChannels; ++c) {
    StateIo channel = channels.At(static_cast<size_t>(c));
    StateIo source = channel.At("videoSource");
    ns1__VideoSourceConfig_USCORET &v = s.videoSource[c];
    source("enable", v.enable), source("contrast", v.contrast), source("hue", v.hue);
    source("brightness", v.brightness), source("sharpness", v.sharpness), source("captureMode", v.captureMode);
    source.Enum("videoStandard", v.videoStandard);
    for (int m = 0; m < 2; ++m) {
      StateIo stream = channel.At(m == 0 ? "master" : "second");
      ns1__VideoEncoderConfig_USCORET &e = s.encoder[c][m];
      stream("enable", e.enable), stream("frameRate", e.frameRate), stream("bitRate", e.bitRate);
      stream("gopSize", e.gopSize), stream("deinterlacing", e.deinterlacing);
      stream.Enum("videoCodec", e.videoCodec), stream.Enum("resolutionType", e.resolutionType);
      stream.Enum("bitRateType", e.bitRateType), stream.Enum("qualityType", e.qualityType);
      stream("hasResolution", s.hasResolution[c][m]);
      stream("width", s.resolution[c][m].width), stream("height", s.resolution[c][m].height);
    }
    StateIo audio = channel.At("audio");
    audio("enableAudioIn", s.audio[c].enableAudioIn), audio("enableAudioOut", s.audio[c].enableAudioOut);
    audio.Enum("audioInCodec", s.audio[c].audioInCodec);
  }
  StateIo clock = io.At("clock");
  clock("dateTimeMode", s.basicSystem.dateTimeMode), clock("ntpServer", s.basicSystem.ntpServer);
  clock("ntpInterval", s.basicSystem.ntpInterval), clock("timeZone", s.basicSystem.timeZone);
  StateIo net = io.At("network");
  NetworkState &n = s.network;
  net("dhcp", n.dhcp), net("ipAddress", n.ipAddress), net("subNetMask", n.subNetMask);
  net("defaultGateway", n.defaultGateway), net("primaryDNS", n.primaryDNS), net("secondaryDNS", n.secondaryDNS);
  net("ddnsEnabled", n.ddnsEnabled), net("ddnsHostname", n.ddnsHostname), net("ttl", n.ttl);
  net("rtspPort", n.rtspPort), net("arpPing", n.arpPing), net("allowSections", n.allowSections);
  net("https", n.https), net("webPort", n.webPort);
  io("factoryDefaults", s.factory.defaults);
}

}  // namespace

std::string SaveSettingsJson(std::vector<DeviceState *> devices) {
  json document = {{"format", 1}, {"devices", json::array()}};
  for (DeviceState *device : devices) {
    json entry;
    std::lock_guard<std::mutex> lock(device->mutex);
    WalkSettings(StateIo(&entry, true), device->settings());
    document["devices"].push_back(std::move(entry));
  }
  return document.dump(1) + "\n";
}

bool LoadSettingsJson(const std::string &text, std::vector<DeviceState *> devices, std::string *error) {
  json document = json::parse(text, nullptr, false);
  if (document.is_discarded() || !document.is_object() || !document.contains("devices") ||
      !document["devices"].is_array()) {
    *error = "not a device state document";
    return false;
  }
  try {
    json &entries = document["devices"];
    for (size_t i = 0; i < devices.size() && i < entries.size(); ++i) {
      DeviceSettings settings = devices[i]->settings();
      WalkSettings(StateIo(&entries[i], false), settings);
      std::lock_guard<std::mutex> lock(devices[i]->mutex);
      devices[i]->ReplaceSettings(settings);
    }
  } catch (const json::exception &problem) {
    *error = problem.what();
    return false;
  }
  return true;
}

User *DeviceState::FindUser(const char *id) {
  if (!id) return nullptr;
  for (User &user : users)
    if (user.id == id) return &user;
  return nullptr;
}

}  // namespace sim

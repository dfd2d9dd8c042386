#include "sim/device_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

User *DeviceState::FindUser(const char *id) {
  if (!id) return nullptr;
  for (User &user : users)
    if (user.id == id) return &user;
  return nullptr;
}

}  // namespace sim

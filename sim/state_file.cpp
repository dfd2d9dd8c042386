// --state: the devices' settings as one JSON document, written on a clean
// stop and read back at start.
//
// Each record the file holds is described once, by the list of its members
// that are configuration (WS_SIM_STATE_RECORD); the list gives both its
// writing and its reading.  Reading is tolerant of older files: a member the
// document lacks leaves the value in place (as seeded, or as a new list
// item starts), so a section a file does not hold stays as seeded.  A member
// of the wrong kind makes the whole file refused, with the member's path.
#include <stdexcept>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "sim/device_state.h"

namespace sim {
namespace {

using nlohmann::json;

// A document that holds a member of the wrong kind: where, and what is wrong.
struct Malformed : std::runtime_error {
  Malformed(std::string path, const std::string &reason)
      : std::runtime_error(path + ": " + reason), path(std::move(path)), reason(reason) {}
  // The same problem seen from the record that holds name.
  Malformed Within(const std::string &name) const { return {path.empty() ? name : name + "." + path, reason}; }
  std::string path, reason;
};

// Reads object[name] into value when the object holds it; the value stays
// as it is otherwise.
template <class T>
void ReadMember(const json &object, const char *name, T &value) {
  if (!object.is_object()) throw Malformed("", "not a JSON object");
  const auto found = object.find(name);
  if (found == object.end()) return;
  try {
    found->get_to(value);
  } catch (const Malformed &inner) {
    throw inner.Within(name);
  } catch (const json::exception &inner) {
    throw Malformed(name, inner.what());
  }
}

}  // namespace
}  // namespace sim

#define WS_SIM_STATE_READ(member) ::sim::ReadMember(nlohmann_json_j, #member, nlohmann_json_t.member);
// to_json/from_json of Type over the members listed, found by the JSON
// library through argument-dependent lookup (so used in Type's namespace).
#define WS_SIM_STATE_RECORD(Type, ...)                                                                    \
  [[maybe_unused]] static void to_json(nlohmann::json &nlohmann_json_j, const Type &nlohmann_json_t) {   \
    NLOHMANN_JSON_EXPAND(NLOHMANN_JSON_PASTE(NLOHMANN_JSON_TO, __VA_ARGS__))                              \
  }                                                                                                       \
  [[maybe_unused]] static void from_json(const nlohmann::json &nlohmann_json_j, Type &nlohmann_json_t) { \
    NLOHMANN_JSON_EXPAND(NLOHMANN_JSON_PASTE(WS_SIM_STATE_READ, __VA_ARGS__))                             \
  }

// Each channel's video source, encoders and audio.  An encoder's resolution
// pointer stays null in the stored configs; the size is kept beside them.
WS_SIM_STATE_RECORD(ns1__VideoSourceConfig_USCORET, enable, contrast, hue, brightness, sharpness, captureMode,
                    videoStandard)
WS_SIM_STATE_RECORD(ns1__VideoEncoderConfig_USCORET, enable, frameRate, bitRate, gopSize, deinterlacing, videoCodec,
                    resolutionType, bitRateType, qualityType)
WS_SIM_STATE_RECORD(ns1__AudioConfig_USCORET, enableAudioIn, enableAudioOut, audioInCodec)

namespace sim {

WS_SIM_STATE_RECORD(User, id, password, level)
WS_SIM_STATE_RECORD(TimeSlot, hour, minute, second)

// BasicSystem: the clock (the file's "clock") and, beside it, the recording
// servers.  The clock's offset is kept too: the device's time runs on across
// a restart, as a battery-backed clock would.
WS_SIM_STATE_RECORD(BasicSystemState, dateTimeMode, ntpServer, ntpInterval, timeZone, clockOffsetSeconds)
WS_SIM_STATE_RECORD(RecordingServer, enable, alias, type, serverAddress, userID, password, folder, capacity, overwrite)

// Network; the MAC address is the device's own and never saved.
WS_SIM_STATE_RECORD(IPSection, alias, fromAddress, toAddress)
WS_SIM_STATE_RECORD(RtpSettings, videoPort, audioPort, vaPort, multicast, multicastIP)
WS_SIM_STATE_RECORD(NetworkState, dhcp, ipAddress, subNetMask, defaultGateway, primaryDNS, secondaryDNS, ddnsEnabled,
                    ddnsHostname, ttl, rtspPort, arpPing, rtp, sections, allowSections, https, webPort, webServices)

// EventSchedule: schedules, event sources, servers and notifications.  Not
// kept: a relay's run, the video-analysis events, manual recordings and the
// SD card's contents and mount state.
WS_SIM_STATE_RECORD(CalendarDate, year, month, day)
WS_SIM_STATE_RECORD(TimeOfDay, hour, minute, second)
WS_SIM_STATE_RECORD(RecordingSchedule, id, repeatOption, preAlarm, postAlarm, start, finish, custom, timeTable)
WS_SIM_STATE_RECORD(ScheduleAllocation, channel, master, scheduleID)
WS_SIM_STATE_RECORD(EventNotifyTarget, type, id)
WS_SIM_STATE_RECORD(EventSchedule, eventSource, channel, master, ignoreInterval, preAlarm, postAlarm, notifies, weeks,
                    start, finish)
WS_SIM_STATE_RECORD(Sensor, channel, enable, type, name)
WS_SIM_STATE_RECORD(Relay, channel, controlDuration, type, name)
WS_SIM_STATE_RECORD(FtpServer, alias, serverAddress, port, userID, password, folder)
WS_SIM_STATE_RECORD(SmtpServer, alias, serverAddress, port, userID, password, recipientAddress, adminAddress, subject,
                    message, enableSSL)
WS_SIM_STATE_RECORD(NotificationTarget, type, id)
WS_SIM_STATE_RECORD(SdRecordingSchedule, recordingType, timetable, channel, master, networkFailureRecording,
                    recordingServerIP)
WS_SIM_STATE_RECORD(SdSettings, overwrite, diskFullNotification, diskFullNotificationSMTPServerID)
WS_SIM_STATE_RECORD(EventScheduleStorageState, ftpServers, smtpServers, smtpNotification, fanFailNotification,
                    diskFullNotification, fanThreshold, heaterThreshold, sdSchedule, sdSettings)
WS_SIM_STATE_RECORD(EventScheduleState, recordingSchedules, allocations, eventSchedules, sensors, relays, storage)

// PTZ: protocols and each head's settings, presets, tour and recorded
// pattern.  Not kept: where a head points and what it is doing (moving,
// touring, recording or playing), and the on-screen menu.
WS_SIM_STATE_RECORD(PtzPosition, pan, tilt, zoom)
WS_SIM_STATE_RECORD(PtzPreset, alias, sequence, presetSpeed, parkTime, position)
WS_SIM_STATE_RECORD(PtzProtocol, name, diagonals, maxSpeed)
WS_SIM_STATE_RECORD(PtzStep, command, speed)
WS_SIM_STATE_RECORD(PtzHead, protocol, configuration, baudRate, dataBit, parity, stopBit, presets, tour, hasPattern,
                    recorded)
WS_SIM_STATE_RECORD(PtzState, protocols, heads)

// VideoAnalysis: every channel whole.
WS_SIM_STATE_RECORD(Point, x, y)
WS_SIM_STATE_RECORD(ObjectSize, width, height, pixel)
WS_SIM_STATE_RECORD(VaConfig, vaEnable, resetBackground, learningTime, camtamperSensitivity, trackingRangeFilterRange,
                    enableContour, usePerspective, resetPerspective, perspectiveSize, minPerspectiveObject,
                    maxPerspectiveObject, minBasicObject, maxBasicObject, shadowRemoval, shadowIntensityRatioLB,
                    shadowIntensityRatioUB, shadowDistanceThreshold, blindUpdate, updateWeightRatio, distanceThreshold,
                    groupingThreshold, trackingStrictness, trackingDistMargin, trackingDistMarginInc,
                    trackingEraseCntMax)
WS_SIM_STATE_RECORD(Classification, classMode, classEnvMode, classMinObjectSize, classColorMinObjectSize)
WS_SIM_STATE_RECORD(AutoTracking, APTZReset, APTZInitialPan, APTZInitialTilt, APTZInitialZoom, APTZMaximumZoom,
                    APTZTimeout, APTZFailureAction, APTZIgnoreAreaStart, APTZIgnoreAreaEnd, APTZMinObjectSize,
                    APTZZoomedMaxObjSize, APTZZoomInThres, APTZZoomOutThres, APTZBhattaThres, APTZTimeToRecover,
                    APTZHistogramUpdateRatio, APTZUpdateRectRatio, APTZEnvMode, APTZCamHeight, APTZTrackTime,
                    APTZTrackMode, APTZreserved)
WS_SIM_STATE_RECORD(DetectionWindow, sequence, threshold, alias, position, size)
WS_SIM_STATE_RECORD(VideoAnalysisChannel, config, mode, windows, roi, detectionExt, trackingExt, classification,
                    tracking)
WS_SIM_STATE_RECORD(VideoAnalysisState, channels)

// Utility: the language only; an audio client's connection ends with the
// process.
WS_SIM_STATE_RECORD(UtilityState, language)

namespace {

// One walk over a device's settings serves both directions: saving writes
// each value into the document, loading reads back those present.
class StateIo {
 public:
  StateIo(json *node, bool save, std::string path = "") : node_(node), save_(save), path_(std::move(path)) {}

  template <class T>
  void operator()(const char *name, T &value) {
    if (save_) {
      (*node_)[name] = value;
    } else if (node_->is_object()) {
      try {
        ReadMember(*node_, name, value);
      } catch (const Malformed &inner) {
        throw path_.empty() ? inner : inner.Within(path_);
      }
    }
  }
  StateIo At(const char *name) {
    if (save_) return {&(*node_)[name], true};
    return {node_->is_object() && node_->contains(name) ? &(*node_)[name] : &Missing(), false, Path(name)};
  }
  StateIo At(size_t index) {
    if (save_) return {&(*node_)[index], true};
    return {node_->is_array() && index < node_->size() ? &(*node_)[index] : &Missing(), false,
            Path(std::to_string(index))};
  }

 private:
  static json &Missing() {
    static json missing;
    return missing;
  }
  std::string Path(const std::string &name) const { return path_.empty() ? name : path_ + "." + name; }
  json *node_;
  bool save_;
  std::string path_;  // where node_ is in the document, for a reader's error
};

void WalkSettings(StateIo io, DeviceSettings &s) {
  io("enableAnonymous", s.enableAnonymous);
  io("maxStreamConnection", s.maxStreamConnection);
  io("users", s.users);
  io("maxRTPStreamTime", s.maxRTPStreamTime);
  StateIo channels = io.At("channels");
  for (int c = 0; c < DeviceSettings::kChannels; ++c) {
    StateIo channel = channels.At(static_cast<size_t>(c));
    channel("videoSource", s.videoSource[c]);
    for (int m = 0; m < 2; ++m) {
      const char *name = m == 0 ? "master" : "second";
      channel(name, s.encoder[c][m]);
      StateIo stream = channel.At(name);
      stream("hasResolution", s.hasResolution[c][m]);
      stream("width", s.resolution[c][m].width), stream("height", s.resolution[c][m].height);
    }
    channel("audio", s.audio[c]);
  }
  io("clock", s.basicSystem);
  io("recordingServers", s.basicSystem.recordingServers);
  io("network", s.network);
  io("eventSchedule", s.eventSchedule);
  io("ptz", s.ptz);
  io("videoAnalysis", s.videoAnalysis);
  io("utility", s.utility);
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
  // Every device's settings are read before any is replaced.
  json &entries = document["devices"];
  std::vector<DeviceSettings> loaded;
  for (size_t i = 0; i < devices.size() && i < entries.size(); ++i) {
    loaded.push_back(devices[i]->settings());
    const std::string device = "device " + std::to_string(i + 1) + ": ";
    if (!entries[i].is_object()) {
      *error = device + "not a JSON object";
      return false;
    }
    try {
      WalkSettings(StateIo(&entries[i], false), loaded.back());
    } catch (const Malformed &problem) {
      *error = device + problem.what();
      return false;
    }
  }
  for (size_t i = 0; i < loaded.size(); ++i) {
    std::lock_guard<std::mutex> lock(devices[i]->mutex);
    devices[i]->ReplaceSettings(loaded[i]);
    devices[i]->basicSystem.clockOffsetSeconds = loaded[i].basicSystem.clockOffsetSeconds;
  }
  return true;
}

}  // namespace sim

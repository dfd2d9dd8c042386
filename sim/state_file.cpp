// --state: the devices' settings as one JSON document, written on a clean
// stop and read back at start.
//
// Each record the file holds is described once, by the list of its members
// that are configuration (WS_SIM_STATE_RECORD); the list gives both its
// writing and its reading.  Reading is tolerant of older files: a member the
// document lacks leaves the value in place (as seeded, or as a new list
// item starts), so a section a file does not hold stays as seeded.  A member
// of the wrong kind makes the whole file refused, with the member's path.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/device_state.h"
#include "tools/json_input.h"

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

// The longest text the device keeps in any setting (an e-mail's message);
// a file holding a longer one was not written by the device.
constexpr size_t kMaxText = 2047;

// Reading one JSON value into a setting of the device's own type, checked
// against the type: a number must fit the field whole (never cut, rounded or
// wrapped), a flag must be true or false.  Lists and pairs are read as the
// JSON library writes them; a record through its from_json.
template <class T>
void Read(const json &value, T &out);

void Read(const json &value, bool &out) {
  if (!value.is_boolean()) throw Malformed("", "not true or false");
  out = value.get<bool>();
}

void Read(const json &value, std::string &out) {
  if (!value.is_string()) throw Malformed("", "not a text");
  if (value.get_ref<const std::string &>().size() > kMaxText)
    throw Malformed("", "a text longer than " + std::to_string(kMaxText) + " bytes");
  out = value.get<std::string>();
}

template <class A, class B>
void Read(const json &value, std::pair<A, B> &out) {
  if (!value.is_array() || value.size() != 2) throw Malformed("", "not a pair");
  Read(value[0], out.first);
  Read(value[1], out.second);
}

// A list's items start as a new item does, then take what the file holds.
template <class T>
void Read(const json &value, std::vector<T> &out) {
  if (!value.is_array()) throw Malformed("", "not a list");
  std::vector<T> items(value.size());
  for (size_t i = 0; i < items.size(); ++i) Read(value[i], items[i]);
  out = std::move(items);
}

template <class T, size_t N>
void Read(const json &value, T (&out)[N]) {
  if (!value.is_array() || value.size() != N) throw Malformed("", "not a list of " + std::to_string(N));
  for (size_t i = 0; i < N; ++i) Read(value[i], out[i]);
}

template <class K, class V>
void Read(const json &value, std::map<K, V> &out) {
  std::vector<std::pair<K, V>> entries;
  Read(value, entries);
  out = std::map<K, V>(entries.begin(), entries.end());
}

// A number of any width, or a record through its own from_json (found
// next to its type).
template <class T>
void Read(const json &value, T &out) {
  if constexpr (std::is_integral_v<T>) {
    long long number = 0;
    const std::string problem =
        wsjson::Integer(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), &number);
    if (!problem.empty()) throw Malformed("", problem);
    out = static_cast<T>(number);
  } else {
    from_json(value, out);
  }
}

// Reads object[name] into value when the object holds it; the value stays
// as it is otherwise.
template <class T>
void ReadMember(const json &object, const char *name, T &value) {
  if (!object.is_object()) throw Malformed("", "not a JSON object");
  const auto found = object.find(name);
  if (found == object.end()) return;
  try {
    Read(*found, value);
  } catch (const Malformed &inner) {
    throw inner.Within(name);
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

// Writes text to a new file beside path, readable by its owner only, and
// renames it over path once it is on disk: a crash leaves the old file
// whole, and nothing that already lies beside it (a link planted there) is
// ever opened.
bool WriteReplacing(const std::string &path, const std::string &text, std::string *error) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t sent = write(fd, text.data() + written, text.size() - written);
    if (sent < 0 && errno != EINTR) break;
    if (sent > 0) written += static_cast<size_t>(sent);
  }
  bool saved = written == text.size() && fchmod(fd, S_IRUSR | S_IWUSR) == 0 && fsync(fd) == 0;
  saved = close(fd) == 0 && saved;
  if (saved && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  *error = std::strerror(errno);
  unlink(temporary.c_str());
  return false;
}

}  // namespace

bool StateFile::Load(const std::vector<DeviceState *> &devices, std::string *error) {
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return true;  // a first start: the devices stay as seeded
    *error = std::strerror(errno);
    return false;
  }
  json document;
  *error = wsjson::Parse(in, &document);
  if (!error->empty()) return false;
  if (!document.is_object() || !document.contains("devices") || !document["devices"].is_array()) {
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
  if (entries.size() > devices.size())
    unserved_ = json(entries.begin() + static_cast<std::ptrdiff_t>(devices.size()), entries.end()).dump();
  return true;
}

bool StateFile::Save(const std::vector<DeviceState *> &devices, std::string *error) const {
  json document = {{"format", 1}, {"devices", json::array()}};
  for (DeviceState *device : devices) {
    json entry;
    std::lock_guard<std::mutex> lock(device->mutex);
    WalkSettings(StateIo(&entry, true), device->settings());
    document["devices"].push_back(std::move(entry));
  }
  for (json &entry : json::parse(unserved_)) document["devices"].push_back(std::move(entry));
  return WriteReplacing(path_, document.dump(1) + "\n", error);
}

}  // namespace sim

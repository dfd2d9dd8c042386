// The simulated device: every setting the services read and change, kept in
// memory for the life of the process.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sim/basic_system_state.h"
#include "sim/event_schedule_state.h"
#include "sim/factory_state.h"
#include "sim/network_state.h"
#include "sim/ptz_state.h"
#include "sim/result_codes.h"
#include "sim/utility_state.h"
#include "sim/video_analysis_state.h"
#include "soapStub.h"

namespace sim {

struct User {
  std::string id;
  std::string password;
  int level = 0;
};

struct TimeSlot {
  int hour = 0, minute = 0, second = 0;
};

// Everything the device keeps, as a value: copying it takes a snapshot of the
// whole configuration.
struct DeviceSettings {
  static constexpr int kChannels = 4;

  std::vector<User> users;
  bool enableAnonymous = false;
  std::vector<TimeSlot> maxRTPStreamTime;

  ns1__VideoSourceConfig_USCORET videoSource[kChannels];
  // Per channel, [0] the master stream and [1] the other one.  The stored
  // encoder configs keep resolution null; the size lives beside them.
  ns1__VideoEncoderConfig_USCORET encoder[kChannels][2];
  bool hasResolution[kChannels][2];
  ns1__Resolution resolution[kChannels][2];
  ns1__AudioConfig_USCORET audio[kChannels];

  int maxStreamConnection = 10;

  // One member per service, each defined in sim/<service>_state.h.
  BasicSystemState basicSystem;
  NetworkState network;
  EventScheduleState eventSchedule;
  PtzState ptz;
  VideoAnalysisState videoAnalysis;
  UtilityState utility;
  FactoryState factory;
};

// The settings a new device starts with (and returns to on a factory
// initialisation): the seeded users, then generatedUsers more.
DeviceSettings FactorySettings(int generatedUsers);

class DeviceState : public DeviceSettings {
 public:
  // number tells the devices of one simulator apart: device n has the serial
  // number SIM-00000n and a MAC address ending in n.
  explicit DeviceState(int generatedUsers, int number = 1)
      : DeviceSettings(FactorySettings(generatedUsers)), generatedUsers(generatedUsers), number(number) {
    KeepIdentity();
  }

  DeviceSettings &settings() { return *this; }

  // Replaces the whole configuration (a restore, a return to the factory
  // settings); the device clock runs on as it was, and the device keeps its
  // serial number and MAC address.  Call with mutex held.
  void ReplaceSettings(const DeviceSettings &replacement);

  // Null when no user has that name.  Call with mutex held.
  User *FindUser(const char *id);
  // Index 0..kChannels-1 of a channel number, or -1.
  static int ChannelIndex(int channel) { return channel >= 1 && channel <= kChannels ? channel - 1 : -1; }

  const int generatedUsers;
  const int number;
  // Configuration snapshots by backup file name.
  std::map<std::string, DeviceSettings> backups;
  MaintenanceState maintenance;

  std::mutex mutex;  // guards every setting, the backups and the maintenance state

 private:
  void KeepIdentity();
};

// --state: the settings that survive a restart, one JSON object per device
// (sim/state_file.cpp).  Kept: every setting a device keeps when switched
// off: users, anonymous access and stream limits; each channel's video
// source, encoders and audio; the clock's mode, server, zone and time;
// the recording servers; the network settings (addresses, DNS, DDNS, ports,
// RTP per stream, access sections, web protocol and services); schedules,
// allocations, event schedules, sensors, relays' settings, FTP and SMTP
// servers, notifications, temperature thresholds and the SD recording
// schedule and settings; PTZ protocols and each head's protocol, settings,
// serial port, presets, tour and recorded pattern; each channel's video
// analysis whole; the language; the factory defaults.  Not kept, as a
// device loses them when switched off: a relay's or an audio pass-through's
// run, an audio client's connection, manual recordings in progress, the
// video-analysis events, where each PTZ head points and what it is doing,
// the on-screen menu; nor the SD card's files and mount state (it starts
// empty and mounted), the firmware version, logs and backups.  The serial
// number and MAC address follow the device's number, whatever the file
// says.
class StateFile {
 public:
  explicit StateFile(std::string path) : path_(std::move(path)) {}

  // Loads what the file holds for the devices served, the rest staying as
  // seeded; true, loading nothing, when the file does not exist yet.  False
  // with a reason when it cannot be read as such a document or a setting
  // holds a value its field cannot take (naming the setting).  Entries of
  // devices past those served are kept as read, for Save.
  bool Load(const std::vector<DeviceState *> &devices, std::string *error);
  // Writes the devices' settings, then the entries of devices not served
  // unchanged, through a new owner-only file renamed over the old one.
  bool Save(const std::vector<DeviceState *> &devices, std::string *error) const;

 private:
  std::string path_;
  std::string unserved_ = "[]";  // the file's entries past the devices served, as a JSON array
};

}  // namespace sim

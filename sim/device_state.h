// The simulated device: every setting the services read and change, kept in
// memory for the life of the process.
#pragma once

#include <map>
#include <mutex>
#include <string>
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
  int level;
};

struct TimeSlot {
  int hour, minute, second;
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
  explicit DeviceState(int generatedUsers)
      : DeviceSettings(FactorySettings(generatedUsers)), generatedUsers(generatedUsers) {}

  DeviceSettings &settings() { return *this; }

  // Replaces the whole configuration (a restore, a return to the factory
  // settings); the device clock runs on as it was.  Call with mutex held.
  void ReplaceSettings(const DeviceSettings &replacement);

  // Null when no user has that name.  Call with mutex held.
  User *FindUser(const char *id);
  // Index 0..kChannels-1 of a channel number, or -1.
  static int ChannelIndex(int channel) { return channel >= 1 && channel <= kChannels ? channel - 1 : -1; }

  const int generatedUsers;
  // Configuration snapshots by backup file name.
  std::map<std::string, DeviceSettings> backups;
  MaintenanceState maintenance;

  std::mutex mutex;  // guards every setting, the backups and the maintenance state
};

}  // namespace sim

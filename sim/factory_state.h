// The simulated device's Factory settings.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "soapStub.h"

namespace sim {

// The factory default settings, in the order they were first written.  Texts
// are kept as UTF-8, as everything else the device stores.
using FactoryDefaults = std::vector<std::pair<std::string, std::string>>;

// The key of the default setting that holds the serial number: written by
// the factory through SetDefaultSetting, read by GetSerial.
inline constexpr char kSerialNumberKey[] = "serialNumber";

// Copyable: a configuration snapshot copies it whole.  A default-constructed
// value is the seeded state.
struct FactoryState {
  static constexpr int kAudioChannels = 4;

  FactoryDefaults defaults = {{kSerialNumberKey, "SIM-000001"},
                              {"modelName", "webservice-sim"},
                              {"videoStandard", "NTSC"},
                              {"ipAddress", "192.168.1.100"},
                              {"language", "ENGLISH"}};
  bool audioBypass[kAudioChannels] = {};  // per audio channel 1..4
};

}  // namespace sim

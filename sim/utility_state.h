// The simulated device's Utility settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"
#include "webservice/Enums.h"

namespace sim {

// The audio endpoint the device is connected to as an audio client.
struct AudioClient {
  std::string url;
  int port = 0;
  std::string userID;
  std::string password;
  bool tcp = false;
};

// Copyable: a configuration snapshot copies it whole.  A default-constructed
// value is the seeded state.
struct UtilityState {
  bool audioClientConnected = false;  // one audio client slot
  AudioClient audioClient;
  int language = WS_LANGUAGE_ENGLISH;  // of the device's own user interface
};

}  // namespace sim

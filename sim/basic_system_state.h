// The simulated device's BasicSystem settings, and what the device keeps
// beside its settings: firmware, logs and the pause of a reboot.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

class DeviceState;

struct RecordingServer {
  bool enable = false;
  std::string alias;  // unique among the device's recording servers
  int type = 0;
  std::string serverAddress, userID, password, folder;
  int capacity = 0;
  bool overwrite = false;
};

// Copyable: a configuration snapshot copies it whole.
struct BasicSystemState {
  int dateTimeMode = 0;  // DATETIME_MODE_MANUAL
  std::string ntpServer = "pool.ntp.org";
  int ntpInterval = 1;  // NTP_INTERVAL_ONE_DAY
  // The device clock runs on from the time last set: device time is the
  // host's UTC time plus this offset.
  long long clockOffsetSeconds = 0;
  std::string timeZone = "UTC";
  std::vector<RecordingServer> recordingServers = {
      {true, "nas1", 0, "192.168.0.20", "recorder", "recorder", "/video", 500, true}};
};

// Not settings: neither a restore nor a factory initialisation changes them.
struct MaintenanceState {
  std::string firmwareVersion = "2.1.0-b42";
  int backupsTaken = 0;
  // One log per date of the device clock ("YYYY-MM-DD"), one line per event.
  std::map<std::string, std::string> logs;
  // While the device reboots it takes no connections (steady clock, ms).
  std::atomic<long long> rebootingUntilMs{0};

  static long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  bool Rebooting() const { return NowMs() < rebootingUntilMs.load(); }
};

// How the device's Test operations decide without outside traffic: a server
// whose address is empty, or inside 192.0.2.0/24 (a network set aside for
// documentation), never answers; any other does.
bool SilentServer(const char *address);

// The device clock's current time, host time plus the offset.  Call with
// the device's mutex held.
long long DeviceClock(const DeviceState &device);

// Adds what one exchange did to the log of the device clock's date: a
// refused login, a changed setting, a reboot.  Takes the device's mutex.
void NoteExchange(DeviceState &device, const std::string &operation, int httpStatus, int resultCode);

}  // namespace sim

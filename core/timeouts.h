// Per-export time-outs.  Every client starts with kDefaultTimeout seconds for
// connect, send and receive; the exports below replace all three with their own.
#pragma once

namespace ws {

constexpr int kDefaultTimeout = 10;

struct TimeoutEntry {
  const char *operation;
  int seconds;
};

constexpr TimeoutEntry kTimeoutTable[] = {
    {"GetMaxChannel", 1}, {"TriggerVAEvent", 1},
    {"ControlPTZ", 2}, {"Stop", 2},
    {"GetUserLevel", 5}, {"GetVersion", 5}, {"RunRelay", 5},
    {"StartManualRecording", 5}, {"StopManualRecording", 5},
    {"ConnectClientForAudio", 5}, {"DisconnectClientForAudio", 5},
    {"GetPresetList", 5}, {"AddPreset", 5}, {"GotoPreset", 5}, {"RemovePreset", 5},
    {"StopPatternRecording", 5}, {"PlayPresetTour", 5}, {"StopPresetTour", 5},
    {"GetPTZConfiguration", 5}, {"OSDMenu", 5},
    {"TestRecordingServer", 20}, {"TestNTPServer", 20}, {"TestFTPServer", 20},
    {"TestSMTPServer", 20},
    {"GetLogs", 30}, {"GetLoggedDateList", 30}, {"GetReports", 30},
    {"GetTimeZoneList", 30}, {"GetWebProtocol", 30},
    {"CommandSD", 60},
    {"GetBackupFilename", 180}, {"InitFactory", 180}, {"Restore", 180},
    {"UpgradeFirmware", 180},
};

constexpr bool SameText(const char *a, const char *b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// Seconds for connect, send and receive of the named operation.
constexpr int TimeoutFor(const char *operation) {
  for (const TimeoutEntry &entry : kTimeoutTable)
    if (SameText(entry.operation, operation)) return entry.seconds;
  return kDefaultTimeout;
}

}  // namespace ws

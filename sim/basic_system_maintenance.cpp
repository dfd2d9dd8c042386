// BasicSystem service: reboot, configuration backup and restore, factory
// initialisation, firmware upgrade, and the device's logs and report.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapBasicSystemSoap12Service.h"

using namespace sim;

namespace {

// Operations whose success changes the device's configuration.
bool ChangesSettings(const std::string &operation) {
  for (const char *verb : {"Set", "Add", "Update", "Remove", "Allocate", "Deallocate"})
    if (operation.compare(0, std::strlen(verb), verb) == 0) return true;
  return operation == "Restore" || operation == "InitFactory" || operation == "UpgradeFirmware";
}

// The version a firmware file carries in its name: from the first digit of
// the file's own name up to its extension ("/tmp/fw-2.2.0.bin" gives
// "2.2.0").  Empty when the name holds no digit.
std::string FirmwareVersionOf(const char *filename) {
  std::string name = filename ? filename : "";
  name = name.substr(name.find_last_of('/') + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot + 1 < name.size() && !std::isdigit(static_cast<unsigned char>(name[dot + 1])))
    name.resize(dot);
  const size_t digit = name.find_first_of("0123456789");
  return digit == std::string::npos ? "" : name.substr(digit, 99);
}

// Runs change under the device's lock and answers the verdict it returns.
template <class Response, class Change>
int Maintain(struct soap *soap, Response &response, Change change) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  return Reply(soap, response, change(device));
}

}  // namespace

namespace sim {

long long DeviceClock(const DeviceState &device) {
  return static_cast<long long>(std::time(nullptr)) + device.basicSystem.clockOffsetSeconds;
}

void NoteExchange(DeviceState &device, const std::string &operation, int httpStatus, int resultCode) {
  std::string event;
  if (httpStatus == 401) event = "login refused (" + operation + ")";
  else if (httpStatus != 200 || resultCode != 0) return;
  else if (operation == "Reboot") event = "reboot";
  else if (ChangesSettings(operation)) event = "settings changed (" + operation + ")";
  else return;
  std::lock_guard<std::mutex> lock(device.mutex);
  const std::time_t now = static_cast<std::time_t>(DeviceClock(device));
  std::tm t{};
  gmtime_r(&now, &t);
  char date[16], clock[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &t);
  std::strftime(clock, sizeof clock, "%H:%M:%S", &t);
  device.maintenance.logs[date] += std::string(clock) + " " + event + "\n";
}

}  // namespace sim

// The answer goes out first; from then on the device takes no connections
// for --reboot-seconds, and serves again with its state kept.
int BasicSystemSoap12Service::Reboot(_ns1__Reboot *, _ns1__RebootResponse &response) {
  const Exchange &exchange = ExchangeOf(soap);
  exchange.device.maintenance.rebootingUntilMs =
      MaintenanceState::NowMs() + 1000LL * exchange.options.rebootSeconds;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetBackupFilename(_ns1__GetBackupFilename *, _ns1__GetBackupFilenameResponse &response) {
  return Maintain(soap, response, [&](DeviceState &device) {
    char name[32];
    std::snprintf(name, sizeof name, "config-%04d.bak", ++device.maintenance.backupsTaken);
    device.backups[name] = device.settings();
    response.GetBackupFilenameResult = soap_strdup(soap, name);
    return kResultOk;
  });
}

int BasicSystemSoap12Service::Restore(_ns1__Restore *request, _ns1__RestoreResponse &response) {
  const char *filename = request ? request->filename : nullptr;
  return Maintain(soap, response, [&](DeviceState &device) {
    auto backup = device.backups.find(filename ? filename : "");
    if (backup == device.backups.end()) return kResultUnknownBackup;
    device.ReplaceSettings(backup->second);
    response.RestoreResult = true;
    return kResultOk;
  });
}

// The settings return to those the device started with; the clock, the
// firmware, the logs and the backups stay, as does the simulator's own login.
int BasicSystemSoap12Service::InitFactory(_ns1__InitFactory *, _ns1__InitFactoryResponse &response) {
  return Maintain(soap, response, [&](DeviceState &device) {
    device.ReplaceSettings(FactorySettings(device.generatedUsers));
    response.InitFactoryResult = true;
    return kResultOk;
  });
}

int BasicSystemSoap12Service::UpgradeFirmware(_ns1__UpgradeFirmware *request, _ns1__UpgradeFirmwareResponse &response) {
  const std::string version = FirmwareVersionOf(request ? request->filename : nullptr);
  if (version.empty()) return Reply(soap, response, kResultNoFirmwareVersion);
  return Maintain(soap, response, [&](DeviceState &device) {
    device.maintenance.firmwareVersion = version;
    response.UpgradeFirmwareResult = true;
    return kResultOk;
  });
}

int BasicSystemSoap12Service::GetLoggedDateList(_ns1__GetLoggedDateList *, _ns1__GetLoggedDateListResponse &response) {
  response.GetLoggedDateListResult = soap_new_ns1__ArrayOfString(soap);
  return Maintain(soap, response, [&](DeviceState &device) {
    for (const auto &log : device.maintenance.logs)
      response.GetLoggedDateListResult->string.push_back(soap_strdup(soap, log.first.c_str()));
    return kResultOk;
  });
}

int BasicSystemSoap12Service::GetLogs(_ns1__GetLogs *request, _ns1__GetLogsResponse &response) {
  const char *date = request ? request->date : nullptr;
  return Maintain(soap, response, [&](DeviceState &device) {
    auto log = device.maintenance.logs.find(date ? date : "");
    if (log == device.maintenance.logs.end()) return kResultUnknownLogDate;
    response.GetLogsResult = soap_strdup(soap, log->second.c_str());
    return kResultOk;
  });
}

int BasicSystemSoap12Service::GetReports(_ns1__GetReports *, _ns1__GetReportsResponse &response) {
  return Maintain(soap, response, [&](DeviceState &device) {
    const BasicSystemState &state = device.basicSystem;
    std::string report = "firmware " + device.maintenance.firmwareVersion + "\n";
    report += "time zone " + state.timeZone + "\n";
    report += "recording servers " + std::to_string(state.recordingServers.size()) + "\n";
    for (const RecordingServer &server : state.recordingServers)
      report += "  " + server.alias + " " + server.serverAddress + (server.enable ? " enabled" : " disabled") + "\n";
    report += "users " + std::to_string(device.users.size()) + "\n";
    report += "configuration backups " + std::to_string(device.backups.size()) + "\n";
    report += "logged dates " + std::to_string(device.maintenance.logs.size()) + "\n";
    response.GetReportsResult = soap_strdup(soap, report.c_str());
    return kResultOk;
  });
}

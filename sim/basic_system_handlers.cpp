// BasicSystem service: device identity, version and capabilities; the device
// clock and its time zone.  Recording servers and maintenance have files of
// their own.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <utility>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapBasicSystemSoap12Service.h"

using namespace sim;

namespace {

using Parameters = std::initializer_list<std::pair<const char *, const char *>>;

const char kSoftwareVersion[] = "2.1.0";

const Parameters kSpecProfile = {
    {"videoChannels", "4"}, {"streamsPerChannel", "2"}, {"videoCodecs", "MJPEG,H264"},
    {"audioCodecs", "G711_PCMU,G711_PCMA,G726_24K,G726_32K"}, {"maxStreamConnection", "64"}};

struct FunctionCategory {
  const char *name;
  Parameters functions;
};
const FunctionCategory kFunctionMap[] = {
    {"video", {{"videoSource", "1"}, {"videoEncoder", "1"}, {"dualStream", "1"}}},
    {"audio", {{"audioIn", "1"}, {"audioOut", "1"}}},
    {"ptz", {{"pan", "1"}, {"tilt", "1"}, {"zoom", "1"}, {"preset", "1"}}},
    {"io", {{"alarmInputs", "1"}, {"relayOutputs", "1"}}},
};

// The texts are constant and outlive every exchange; the schema's types just
// are not const.
char *Unconst(const char *text) { return const_cast<char *>(text); }

ns1__ArrayOfParameter_USCORET *WireParameters(struct soap *soap, const Parameters &parameters) {
  ns1__ArrayOfParameter_USCORET *list = soap_new_ns1__ArrayOfParameter_USCORET(soap);
  for (const auto &p : parameters)
    list->Parameter_USCORET.push_back(soap_new_set_ns1__Parameter_USCORET(soap, Unconst(p.first), Unconst(p.second)));
  return list;
}

}  // namespace

int BasicSystemSoap12Service::GetMaxChannel(_ns1__GetMaxChannel *, _ns1__GetMaxChannelResponse &response) {
  response.GetMaxChannelResult = DeviceState::kChannels;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetChannelList(_ns1__GetChannelList *, _ns1__GetChannelListResponse &response) {
  response.GetChannelListResult = soap_new_ns1__ArrayOfInt(soap);
  for (int channel = 1; channel <= DeviceState::kChannels; ++channel)
    response.GetChannelListResult->int_.push_back(channel);
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetVersion(_ns1__GetVersion *, _ns1__GetVersionResponse &response) {
  const Exchange &exchange = ExchangeOf(soap);
  const bool empty = exchange.options.emptyVersionOnSoapPath && exchange.kind == EndpointKind::kSoapPath;
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetVersionResult =
      soap_new_set_ns1__Version_USCORET(soap, Unconst(empty ? "" : kSoftwareVersion), Unconst("1.0"),
                                        soap_strdup(soap, device.maintenance.firmwareVersion.c_str()));
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetMaxStreamConnection(_ns1__GetMaxStreamConnection *,
                                                     _ns1__GetMaxStreamConnectionResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetMaxStreamConnectionResult = device.maxStreamConnection;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::SetMaxStreamConnection(_ns1__SetMaxStreamConnection *request,
                                                     _ns1__SetMaxStreamConnectionResponse &response) {
  const int size = request ? request->size : 0;
  if (size < 1 || size > 64) return Reply(soap, response, kResultOutOfRange);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.maxStreamConnection = size;
  response.SetMaxStreamConnectionResult = true;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetSpecProfile(_ns1__GetSpecProfile *, _ns1__GetSpecProfileResponse &response) {
  response.GetSpecProfileResult = WireParameters(soap, kSpecProfile);
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetFunctionMap(_ns1__GetFunctionMap *request, _ns1__GetFunctionMapResponse &response) {
  const char *category = request ? request->category : nullptr;
  for (const FunctionCategory &entry : kFunctionMap)
    if (category && !std::strcmp(category, entry.name)) {
      response.GetFunctionMapResult = WireParameters(soap, entry.functions);
      return Reply(soap, response, kResultOk);
    }
  return Reply(soap, response, kResultUnknownCategory);
}

int BasicSystemSoap12Service::GetDeviceInformation(_ns1__GetDeviceInformation *,
                                                   _ns1__GetDeviceInformationResponse &response) {
  // Each device of a simulated fleet has a serial number and MAC address of its own.
  DeviceState &device = DeviceOf(soap);
  char serial[32];
  std::snprintf(serial, sizeof serial, "SIM-%06d", device.number);
  std::lock_guard<std::mutex> lock(device.mutex);
  const Parameters information = {{"deviceName", "webservice-sim"}, {"serialNumber", serial},
                                  {"macAddress", device.network.macAddress.c_str()}, {"swVersion", kSoftwareVersion}};
  response.GetDeviceInformationResult = WireParameters(soap, information);
  for (ns1__Parameter_USCORET *parameter : response.GetDeviceInformationResult->Parameter_USCORET)
    parameter->value = soap_strdup(soap, parameter->value);  // the texts above end with this call
  return Reply(soap, response, kResultOk);
}

// ---- the device clock and its time zone ----

namespace {

// The zones the device offers; SetTimeZone takes no other.
const char *const kTimeZones[] = {
    "UTC",           "Europe/London",    "Europe/Paris",       "Europe/Berlin",     "Europe/Moscow",
    "Asia/Dubai",    "Asia/Kolkata",     "Asia/Shanghai",      "Asia/Seoul",        "Asia/Tokyo",
    "Australia/Sydney", "Pacific/Auckland", "America/Sao_Paulo", "America/New_York", "America/Chicago",
    "America/Denver", "America/Los_Angeles", "Africa/Cairo",    "Africa/Johannesburg"};

bool KnownTimeZone(const char *name) {
  for (const char *zone : kTimeZones)
    if (name && !std::strcmp(name, zone)) return true;
  return false;
}


}  // namespace

int BasicSystemSoap12Service::GetDateTimeConfig(_ns1__GetDateTimeConfig *, _ns1__GetDateTimeConfigResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  const BasicSystemState &state = device.basicSystem;
  const std::time_t now = static_cast<std::time_t>(DeviceClock(device));
  std::tm t{};
  gmtime_r(&now, &t);
  ns1__DateTimeConfig_USCORET *config = soap_new_ns1__DateTimeConfig_USCORET(soap);
  config->dateTimeMode = state.dateTimeMode;
  config->ntpServer = soap_new_set_ns1__NTPServer_USCORET(soap, soap_strdup(soap, state.ntpServer.c_str()),
                                                          state.ntpInterval);
  config->dateTime = soap_new_set_ns1__DateTime_USCORET(
      soap, soap_new_set_ns1__Date_USCORET(soap, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday),
      soap_new_set_ns1__Time_USCORET(soap, t.tm_hour, t.tm_min, t.tm_sec));
  response.GetDateTimeConfigResult = config;
  return Reply(soap, response, kResultOk);
}

// Manual and PC modes set the clock to the date and time given, from which
// it runs on; automatic mode follows the host's clock, as if synchronised.
int BasicSystemSoap12Service::SetDateTimeConfig(_ns1__SetDateTimeConfig *request,
                                                _ns1__SetDateTimeConfigResponse &response) {
  const ns1__DateTimeConfig_USCORET *config = request ? request->config : nullptr;
  if (!config || !config->ntpServer) return Reply(soap, response, kResultMissingArgument);
  const int mode = config->dateTimeMode, interval = config->ntpServer->interval;
  if (mode < 0 || mode > 2 || interval < 0 || interval > 3) return Reply(soap, response, kResultOutOfRange);
  const char *server = config->ntpServer->serverAddress ? config->ntpServer->serverAddress : "";
  if (std::strlen(server) > 255) return Reply(soap, response, kResultTooLong);
  long long offset = 0;
  if (mode != 2) {
    const ns1__DateTime_USCORET *when = config->dateTime;
    if (!when || !when->date || !when->time) return Reply(soap, response, kResultMissingArgument);
    long long seconds = 0;
    if (!UtcSeconds(*when->date, *when->time, &seconds)) return Reply(soap, response, kResultOutOfRange);
    offset = seconds - static_cast<long long>(std::time(nullptr));
  }
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  BasicSystemState &state = device.basicSystem;
  state.dateTimeMode = mode;
  state.ntpServer = server;
  state.ntpInterval = interval;
  state.clockOffsetSeconds = offset;
  response.SetDateTimeConfigResult = true;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::TestNTPServer(_ns1__TestNTPServer *request, _ns1__TestNTPServerResponse &response) {
  if (SilentServer(request ? request->serverAddress : nullptr))
    return Reply(soap, response, kResultServerUnreachable);
  response.TestNTPServerResult = true;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetTimeZoneList(_ns1__GetTimeZoneList *, _ns1__GetTimeZoneListResponse &response) {
  response.GetTimeZoneListResult = soap_new_ns1__ArrayOfString(soap);
  for (const char *zone : kTimeZones) response.GetTimeZoneListResult->string.push_back(Unconst(zone));
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetTimeZone(_ns1__GetTimeZone *, _ns1__GetTimeZoneResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetTimeZoneResult = soap_strdup(soap, device.basicSystem.timeZone.c_str());
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::SetTimeZone(_ns1__SetTimeZone *request, _ns1__SetTimeZoneResponse &response) {
  const char *zone = request ? request->timeZone : nullptr;
  if (!KnownTimeZone(zone)) return Reply(soap, response, kResultUnknownTimeZone);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.basicSystem.timeZone = zone;
  response.SetTimeZoneResult = true;
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(BasicSystemSoap12Service);

namespace sim {

bool UtcSeconds(const ns1__Date_USCORET &date, const ns1__Time_USCORET &time, long long *seconds) {
  if (date.year < 1970 || date.year > 9999) return false;
  std::tm fields{};
  fields.tm_year = date.year - 1900;
  fields.tm_mon = date.month - 1;
  fields.tm_mday = date.day;
  fields.tm_hour = time.hour;
  fields.tm_min = time.minute;
  fields.tm_sec = time.second;
  const std::time_t when = timegm(&fields);
  std::tm check{};
  if (when == -1 || !gmtime_r(&when, &check)) return false;
  // timegm normalises 31 April to 1 May: a changed field means no such date.
  if (check.tm_year != fields.tm_year || check.tm_mon != date.month - 1 || check.tm_mday != date.day ||
      check.tm_hour != time.hour || check.tm_min != time.minute || check.tm_sec != time.second)
    return false;
  *seconds = when;
  return true;
}

}  // namespace sim

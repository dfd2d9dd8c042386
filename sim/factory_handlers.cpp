// Factory service: default settings by key (the serial number among them),
// PTZ and audio pass-through, and the factory reset.
//
// Rules of this device:
// - SetDefaultSetting and SendPTZCommandByPass need the factory identity
//   "factory" with password "factory" (else resultCode 610).
// - The settings text is "key=value" entries separated by ';' or line breaks;
//   a known key gets the new value, a new key is added at the end.  The
//   serial number is the entry "serialNumber", so only the factory service
//   can change it.
// - GetDefaultSetting answers the asked keys in the asked order, or every
//   setting for an empty key list; one unknown key refuses the whole list.
// - The PTZ head acknowledges a pass-through command with "ACK " followed by
//   the command.
// - Audio pass-through runs per audio channel 1..4: starting a running one or
//   stopping an idle one is refused.
// - ResetFactory puts every setting of the device back to its seeded state.
//
// Texts: the worker contexts read and write UTF-8 for every service, and the
// device keeps its texts as UTF-8.  A Latin-1 client's 0xE9 arrives as the
// UTF-8 pair 0xC3 0xA9, is stored so, and goes back out the same, which that
// client reads as 0xE9 again; a UTF-8 client sees the same character.
#include <algorithm>
#include <cstring>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapFactorySoap12Service.h"

using namespace sim;

namespace {

const char kFactoryId[] = "factory";
const char kFactoryPassword[] = "factory";
// The longest value the device keeps for one default setting.
constexpr size_t kMaxSettingValue = 1024;

bool IsFactory(const char *id, const char *password) {
  return id && password && !std::strcmp(id, kFactoryId) && !std::strcmp(password, kFactoryPassword);
}

FactoryDefaults::iterator FindSetting(FactoryDefaults &defaults, const std::string &key) {
  return std::find_if(defaults.begin(), defaults.end(), [&](const auto &entry) { return entry.first == key; });
}

// Splits "k=v;k=v" (or one entry per line) into entries; false when an entry
// has no '=' or an empty key.
bool ParseSettings(const std::string &text, FactoryDefaults &entries) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(";\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string entry = text.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    const size_t equals = entry.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    entries.emplace_back(entry.substr(0, equals), entry.substr(equals + 1));
  }
  return true;
}

// The device as a freshly started simulator has it.
void ReturnToSeededState(DeviceState &device) {
  const DeviceSettings seeded = FactorySettings(device.generatedUsers);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.ReplaceSettings(seeded);
}

// Start or stop of the audio pass-through on a channel.
template <class Response>
int SwitchAudioBypass(struct soap *soap, int channel, bool start, Response &response, bool &result) {
  if (channel < 1 || channel > FactoryState::kAudioChannels) return Reply(soap, response, kResultUnknownChannel);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  bool &running = device.factory.audioBypass[channel - 1];
  if (running == start) return Reply(soap, response, start ? kResultAudioBypassActive : kResultAudioBypassIdle);
  running = start;
  result = true;
  return Reply(soap, response, kResultOk);
}

}  // namespace

int FactorySoap12Service::SetDefaultSetting(_ns1__SetDefaultSetting *request,
                                            _ns1__SetDefaultSettingResponse &response) {
  if (!request || !IsFactory(request->id, request->password)) return Reply(soap, response, kResultFactoryRefused);
  FactoryDefaults entries;
  if (!request->settings || !ParseSettings(request->settings, entries))
    return Reply(soap, response, kResultBadSettingsText);
  if (entries.empty()) return Reply(soap, response, kResultMissingArgument);
  for (const auto &entry : entries)
    if (entry.second.size() > kMaxSettingValue) return Reply(soap, response, kResultTooLong);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  FactoryDefaults &defaults = device.factory.defaults;
  for (auto &entry : entries) {
    auto known = FindSetting(defaults, entry.first);
    if (known != defaults.end())
      known->second = std::move(entry.second);
    else
      defaults.push_back(std::move(entry));
  }
  response.SetDefaultSettingResult = true;
  return Reply(soap, response, kResultOk);
}

int FactorySoap12Service::GetDefaultSetting(_ns1__GetDefaultSetting *request,
                                            _ns1__GetDefaultSettingResponse &response) {
  ns1__ArrayOfParameter_USCORET *list = soap_new_ns1__ArrayOfParameter_USCORET(soap);
  auto add = [&](const std::string &key, const std::string &value) {
    list->Parameter_USCORET.push_back(soap_new_set_ns1__Parameter_USCORET(
        soap, soap_strdup(soap, key.c_str()), soap_strdup(soap, value.c_str())));
  };
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  FactoryDefaults &defaults = device.factory.defaults;
  if (!request || !request->key || request->key->string.empty()) {
    for (const auto &entry : defaults) add(entry.first, entry.second);
  } else {
    for (const char *key : request->key->string) {
      auto found = FindSetting(defaults, key ? key : "");
      if (found == defaults.end()) return Reply(soap, response, kResultUnknownSettingKey);
      add(found->first, found->second);
    }
  }
  response.GetDefaultSettingResult = list;
  return Reply(soap, response, kResultOk);
}

int FactorySoap12Service::SendPTZCommandByPass(_ns1__SendPTZCommandByPass *request,
                                               _ns1__SendPTZCommandByPassResponse &response) {
  if (!request || !IsFactory(request->id, request->password)) return Reply(soap, response, kResultFactoryRefused);
  if (!request->command || !*request->command) return Reply(soap, response, kResultMissingArgument);
  response.SendPTZCommandByPassResult = soap_strdup(soap, ("ACK " + std::string(request->command)).c_str());
  return Reply(soap, response, kResultOk);
}

int FactorySoap12Service::AudioBypassStart(_ns1__AudioBypassStart *request,
                                           _ns1__AudioBypassStartResponse &response) {
  return SwitchAudioBypass(soap, request ? request->audioChannel : 0, true, response,
                           response.AudioBypassStartResult);
}

int FactorySoap12Service::AudioBypassStop(_ns1__AudioBypassStop *request, _ns1__AudioBypassStopResponse &response) {
  return SwitchAudioBypass(soap, request ? request->audioChannel : 0, false, response,
                           response.AudioBypassStopResult);
}

int FactorySoap12Service::GetSerial(_ns1__GetSerial *, _ns1__GetSerialResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  FactoryDefaults &defaults = device.factory.defaults;
  auto serial = FindSetting(defaults, kSerialNumberKey);
  if (serial == defaults.end()) return Reply(soap, response, kResultUnknownSettingKey);
  response.GetSerialResult = soap_strdup(soap, serial->second.c_str());
  return Reply(soap, response, kResultOk);
}

int FactorySoap12Service::ResetFactory(_ns1__ResetFactory *, _ns1__ResetFactoryResponse &response) {
  ReturnToSeededState(DeviceOf(soap));
  response.ResetFactoryResult = true;
  return Reply(soap, response, kResultOk);
}

// The production-line checks: this device passes them.
int FactorySoap12Service::FeatureTest(_ns1__FeatureTest *, _ns1__FeatureTestResponse &response) {
  response.FeatureTestResult = true;
  return Reply(soap, response, kResultOk);
}

int FactorySoap12Service::TestVCABoard(_ns1__TestVCABoard *, _ns1__TestVCABoardResponse &response) {
  response.TestVCABoardResult = true;
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(FactorySoap12Service);

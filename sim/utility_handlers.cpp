// Utility service: one audio client slot and the language of the device's
// own user interface.
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapUtilitySoap12Service.h"
#include "webservice/Enums.h"

using namespace sim;

// Connects the one audio client slot.  The url must be given and the port
// be a TCP port; a second connect while one is active is refused.
int UtilitySoap12Service::ConnectClientForAudio(_ns1__ConnectClientForAudio *request,
                                                _ns1__ConnectClientForAudioResponse &response) {
  if (!request || !request->url || !*request->url) return Reply(soap, response, kResultMissingArgument);
  if (request->port < 1 || request->port > 65535) return Reply(soap, response, kResultOutOfRange);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  UtilityState &utility = device.utility;
  if (utility.audioClientConnected) return Reply(soap, response, kResultAudioClientActive);
  utility.audioClientConnected = true;
  utility.audioClient = {request->url, request->port, request->userID ? request->userID : "",
                         request->password ? request->password : "", request->enableTcp};
  response.ConnectClientForAudioResult = true;
  return Reply(soap, response, kResultOk);
}

int UtilitySoap12Service::DisconnectClientForAudio(_ns1__DisconnectClientForAudio *,
                                                   _ns1__DisconnectClientForAudioResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  UtilityState &utility = device.utility;
  if (!utility.audioClientConnected) return Reply(soap, response, kResultNoAudioClient);
  utility.audioClientConnected = false;
  utility.audioClient = {};
  response.DisconnectClientForAudioResult = true;
  return Reply(soap, response, kResultOk);
}

int UtilitySoap12Service::GetLanguage(_ns1__GetLanguage *, _ns1__GetLanguageResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetLanguageResult = device.utility.language;
  return Reply(soap, response, kResultOk);
}

int UtilitySoap12Service::SetLanguage(_ns1__SetLanguage *request, _ns1__SetLanguageResponse &response) {
  if (!request) return Reply(soap, response, kResultMissingArgument);
  if (request->language != WS_LANGUAGE_KOREAN && request->language != WS_LANGUAGE_ENGLISH)
    return Reply(soap, response, kResultOutOfRange);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.utility.language = request->language;
  response.SetLanguageResult = true;
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(UtilitySoap12Service);

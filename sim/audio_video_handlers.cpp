// AudioVideo service: per channel video source and audio settings, per stream
// video encoder settings.
#include "sim/device_state.h"
#include "sim/service.h"
#include "soapAudioVideoSoap12Service.h"

using namespace sim;

namespace {

// Answers a Get of one per-channel setting with a copy of its stored value.
template <class Config, class Response>
int GetSetting(struct soap *soap, Config (DeviceSettings::*table)[DeviceSettings::kChannels], int channel, Config *&result, Response &response) {
  const int index = DeviceState::ChannelIndex(channel);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  result = Clone(soap, (device.*table)[index]);
  return Reply(soap, response, kResultOk);
}

// Applies a Set of one per-channel setting; result is the answer's boolean.
template <class Config, class Response>
int SetSetting(struct soap *soap, Config (DeviceSettings::*table)[DeviceSettings::kChannels], int channel, const Config *config, bool &result,
               Response &response) {
  const int index = DeviceState::ChannelIndex(channel);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  if (!config) return Reply(soap, response, kResultMissingArgument);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  (device.*table)[index] = *config;
  result = true;
  return Reply(soap, response, kResultOk);
}

}  // namespace

int AudioVideoSoap12Service::GetVideoSourceConfig(_ns1__GetVideoSourceConfig *request,
                                                  _ns1__GetVideoSourceConfigResponse &response) {
  return GetSetting(soap, &DeviceState::videoSource, request ? request->channel : 0,
                    response.GetVideoSourceConfigResult, response);
}

int AudioVideoSoap12Service::SetVideoSourceConfig(_ns1__SetVideoSourceConfig *request,
                                                  _ns1__SetVideoSourceConfigResponse &response) {
  return SetSetting(soap, &DeviceState::videoSource, request ? request->channel : 0,
                    request ? request->config : nullptr, response.SetVideoSourceConfigResult, response);
}

int AudioVideoSoap12Service::GetAudioConfig(_ns1__GetAudioConfig *request, _ns1__GetAudioConfigResponse &response) {
  return GetSetting(soap, &DeviceState::audio, request ? request->channel : 0, response.GetAudioConfigResult,
                    response);
}

int AudioVideoSoap12Service::SetAudioConfig(_ns1__SetAudioConfig *request, _ns1__SetAudioConfigResponse &response) {
  return SetSetting(soap, &DeviceState::audio, request ? request->channel : 0, request ? request->config : nullptr,
                    response.SetAudioConfigResult, response);
}

int AudioVideoSoap12Service::GetVideoEncoderConfig(_ns1__GetVideoEncoderConfig *request,
                                                   _ns1__GetVideoEncoderConfigResponse &response) {
  const int index = DeviceState::ChannelIndex(request ? request->channel : 0);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  const int stream = request->master ? 0 : 1;
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  ns1__VideoEncoderConfig_USCORET *config = Clone(soap, device.encoder[index][stream]);
  if (config && device.hasResolution[index][stream])
    config->resolution = Clone(soap, device.resolution[index][stream]);
  response.GetVideoEncoderConfigResult = config;
  return Reply(soap, response, kResultOk);
}

int AudioVideoSoap12Service::SetVideoEncoderConfig(_ns1__SetVideoEncoderConfig *request,
                                                   _ns1__SetVideoEncoderConfigResponse &response) {
  const int index = DeviceState::ChannelIndex(request ? request->channel : 0);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  const ns1__VideoEncoderConfig_USCORET *config = request->config;
  if (!config) return Reply(soap, response, kResultMissingArgument);
  const int stream = request->master ? 0 : 1;
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.encoder[index][stream] = *config;
  device.encoder[index][stream].resolution = nullptr;
  device.hasResolution[index][stream] = config->resolution != nullptr;
  if (config->resolution) device.resolution[index][stream] = *config->resolution;
  response.SetVideoEncoderConfigResult = true;
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(AudioVideoSoap12Service);

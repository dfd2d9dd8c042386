#include "audio_video_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

// Field-by-field mapping between a caller record and its wire type, in both
// directions: Map(from, to) is used as Map(record, wire) and Map(wire, record).
template <class A, class B>
void MapVideoSource(const A &from, B &to) {
  to.enable = from.enable;
  to.contrast = from.contrast;
  to.hue = from.hue;
  to.brightness = from.brightness;
  to.sharpness = from.sharpness;
  to.videoStandard = from.videoStandard;
  to.captureMode = from.captureMode;
}

// The caller's field order differs from the wire's; width and height live in
// the nested resolution element.
template <class A, class B>
void MapVideoEncoder(const A &from, B &to) {
  to.enable = from.enable;
  to.videoCodec = from.videoCodec;
  to.resolutionType = from.resolutionType;
  to.frameRate = from.frameRate;
  to.bitRateType = from.bitRateType;
  to.qualityType = from.qualityType;
  to.bitRate = from.bitRate;
  to.gopSize = from.gopSize;
  to.deinterlacing = from.deinterlacing;
}

template <class A, class B>
void MapAudio(const A &from, B &to) {
  to.enableAudioIn = from.enableAudioIn;
  to.audioInCodec = from.audioInCodec;
  to.enableAudioOut = from.enableAudioOut;
}

}  // namespace

int AudioVideoClient::CallGetVideoSourceConfig(const ChannelRecord *request, VideoSourceConfigResponseRecord *response) {
  _ns1__GetVideoSourceConfig wire;
  wire.channel = request->channel;
  _ns1__GetVideoSourceConfigResponse answer;
  if (int status = WS_INVOKE(GetVideoSourceConfig, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.GetVideoSourceConfigResult) MapVideoSource(*answer.GetVideoSourceConfigResult, response->config);
  return 0;
}

int AudioVideoClient::CallSetVideoSourceConfig(const VideoSourceConfigRequestRecord *request, CallResult *response) {
  ns1__VideoSourceConfig_USCORET config;
  MapVideoSource(request->config, config);
  _ns1__SetVideoSourceConfig wire;
  wire.channel = request->channel;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetVideoSourceConfig, &wire, response);
}

int AudioVideoClient::CallGetVideoEncoderConfig(const StreamRecord *request, VideoEncoderConfigResponseRecord *response) {
  _ns1__GetVideoEncoderConfig wire;
  wire.channel = request->channel;
  wire.master = request->master;
  _ns1__GetVideoEncoderConfigResponse answer;
  if (int status = WS_INVOKE(GetVideoEncoderConfig, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__VideoEncoderConfig_USCORET *config = answer.GetVideoEncoderConfigResult;
  if (!config) return 0;
  MapVideoEncoder(*config, response->config);
  if (config->resolution) {
    response->config.width = config->resolution->width;
    response->config.height = config->resolution->height;
  }
  return 0;
}

int AudioVideoClient::CallSetVideoEncoderConfig(const VideoEncoderConfigRequestRecord *request, CallResult *response) {
  ns1__Resolution resolution;
  resolution.width = request->config.width;
  resolution.height = request->config.height;
  ns1__VideoEncoderConfig_USCORET config;
  MapVideoEncoder(request->config, config);
  config.resolution = &resolution;
  _ns1__SetVideoEncoderConfig wire;
  wire.channel = request->channel;
  wire.master = request->master;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetVideoEncoderConfig, &wire, response);
}

int AudioVideoClient::CallGetAudioConfig(const ChannelRecord *request, AudioConfigResponseRecord *response) {
  _ns1__GetAudioConfig wire;
  wire.channel = request->channel;
  _ns1__GetAudioConfigResponse answer;
  if (int status = WS_INVOKE(GetAudioConfig, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.GetAudioConfigResult) MapAudio(*answer.GetAudioConfigResult, response->config);
  return 0;
}

int AudioVideoClient::CallSetAudioConfig(const AudioConfigRequestRecord *request, CallResult *response) {
  ns1__AudioConfig_USCORET config;
  MapAudio(request->config, config);
  _ns1__SetAudioConfig wire;
  wire.channel = request->channel;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetAudioConfig, &wire, response);
}

}  // namespace ws

#define WS_AUDIO_VIDEO_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::AudioVideoClient, Op, Request, Response)
WS_AUDIO_VIDEO_OPERATIONS(WS_AUDIO_VIDEO_EXPORT)

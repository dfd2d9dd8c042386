#include "audio_video_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

void Fill(_ns1__SetVideoSourceConfig &wire, const VideoSourceConfigRequestRecord &request, Outgoing &out) {
  const VideoSourceConfigRecord &record = request.config;
  ns1__VideoSourceConfig_USCORET &config = out.Element(wire.config);
  wire.channel = request.channel;
  config.enable = Send(record.enable);
  config.contrast = record.contrast;
  config.hue = record.hue;
  config.brightness = record.brightness;
  config.sharpness = record.sharpness;
  config.videoStandard = record.videoStandard;
  config.captureMode = record.captureMode;
}

void Copy(VideoSourceConfigRecord &record, const ns1__VideoSourceConfig_USCORET &config) {
  record.enable = config.enable;
  record.contrast = config.contrast;
  record.hue = config.hue;
  record.brightness = config.brightness;
  record.sharpness = config.sharpness;
  record.videoStandard = config.videoStandard;
  record.captureMode = config.captureMode;
}

// The caller's field order differs from the wire's; width and height live in
// the nested resolution element.
void Fill(_ns1__SetVideoEncoderConfig &wire, const VideoEncoderConfigRequestRecord &request, Outgoing &out) {
  const VideoEncoderConfigRecord &record = request.config;
  ns1__VideoEncoderConfig_USCORET &config = out.Element(wire.config);
  wire.channel = request.channel;
  wire.master = Send(request.master);
  config.enable = Send(record.enable);
  config.videoCodec = record.videoCodec;
  config.resolutionType = record.resolutionType;
  config.frameRate = record.frameRate;
  config.bitRateType = record.bitRateType;
  config.qualityType = record.qualityType;
  config.bitRate = record.bitRate;
  config.gopSize = record.gopSize;
  config.deinterlacing = Send(record.deinterlacing);
  config.resolution = out.New<ns1__Resolution>();
  config.resolution->width = record.width;
  config.resolution->height = record.height;
}

void Copy(VideoEncoderConfigRecord &record, const ns1__VideoEncoderConfig_USCORET &config) {
  record.enable = config.enable;
  record.videoCodec = config.videoCodec;
  record.resolutionType = config.resolutionType;
  record.frameRate = config.frameRate;
  record.bitRateType = config.bitRateType;
  record.qualityType = config.qualityType;
  record.bitRate = config.bitRate;
  record.gopSize = config.gopSize;
  record.deinterlacing = config.deinterlacing;
  if (config.resolution) {
    record.width = config.resolution->width;
    record.height = config.resolution->height;
  }
}

void Fill(_ns1__SetAudioConfig &wire, const AudioConfigRequestRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  wire.config = out.New<ns1__AudioConfig_USCORET>();
  wire.config->enableAudioIn = Send(request.config.enableAudioIn);
  wire.config->audioInCodec = request.config.audioInCodec;
  wire.config->enableAudioOut = Send(request.config.enableAudioOut);
}

void Copy(AudioConfigRecord &record, const ns1__AudioConfig_USCORET &config) {
  record.enableAudioIn = config.enableAudioIn;
  record.audioInCodec = config.audioInCodec;
  record.enableAudioOut = config.enableAudioOut;
}

}  // namespace

#define WS_AUDIO_VIDEO_CONVERSION(...) WS_DEFINE_CONVERSION(AudioVideoClient, __VA_ARGS__)
WS_AUDIO_VIDEO_OPERATIONS(WS_AUDIO_VIDEO_CONVERSION)

}  // namespace ws

#define WS_AUDIO_VIDEO_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::AudioVideoClient, Op, Request, Response)
WS_AUDIO_VIDEO_OPERATIONS(WS_AUDIO_VIDEO_EXPORT)

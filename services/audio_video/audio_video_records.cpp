// The records of AudioVideo.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(VideoSourceConfigRecord, F(enable), F(contrast), F(hue), F(brightness), F(sharpness),
             E(videoStandard, VideoStandard), F(captureMode))
WSCTL_RECORD(VideoEncoderConfigRecord, F(enable), F(frameRate), F(bitRate), F(gopSize), F(deinterlacing),
             F(width), F(height), E(videoCodec, VideoCodec), E(resolutionType, Resolution),
             E(bitRateType, VideoBitrate), E(qualityType, VideoQuality))
WSCTL_RECORD(AudioConfigRecord, F(enableAudioIn), E(audioInCodec, AudioCodec), F(enableAudioOut))
WSCTL_RECORD(VideoSourceConfigRequestRecord, F(channel), F(config))
WSCTL_RECORD(VideoEncoderConfigRequestRecord, F(channel), F(master), F(config))
WSCTL_RECORD(AudioConfigRequestRecord, F(channel), F(config))
WSCTL_RECORD(VideoSourceConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(VideoEncoderConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(AudioConfigResponseRecord, F(config), F(resultCode))

}  // namespace wsctl

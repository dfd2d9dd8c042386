// The AudioVideo service's exports: (operation, request type, response type).
#pragma once

#include "webservice/AudioVideo.h"

#define WS_AUDIO_VIDEO_OPERATIONS(X)                                         \
  X(GetVideoSourceConfig, ChannelRecord, VideoSourceConfigResponseRecord)    \
  X(SetVideoSourceConfig, VideoSourceConfigRequestRecord, CallResult)        \
  X(GetVideoEncoderConfig, StreamRecord, VideoEncoderConfigResponseRecord)   \
  X(SetVideoEncoderConfig, VideoEncoderConfigRequestRecord, CallResult)      \
  X(GetAudioConfig, ChannelRecord, AudioConfigResponseRecord)                \
  X(SetAudioConfig, AudioConfigRequestRecord, CallResult)

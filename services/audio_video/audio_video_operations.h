// The AudioVideo service's exports: (operation, request type, response type,
// answer shape, request statements); see core/shapes.h.
#pragma once

#include "webservice/AudioVideo.h"

#define WS_SET_STREAM WS_SET(channel, request->channel) WS_SET(master, request->master)

#define WS_AUDIO_VIDEO_OPERATIONS(X)                                                                            \
  X(GetVideoSourceConfig, ChannelRecord, VideoSourceConfigResponseRecord, Item(config),                        \
    WS_SET(channel, request->channel))                                                                          \
  X(SetVideoSourceConfig, VideoSourceConfigRequestRecord, CallResult, CallResult, WS_FILL)                      \
  X(GetVideoEncoderConfig, StreamRecord, VideoEncoderConfigResponseRecord, Item(config), WS_SET_STREAM)         \
  X(SetVideoEncoderConfig, VideoEncoderConfigRequestRecord, CallResult, CallResult, WS_FILL)                    \
  X(GetAudioConfig, ChannelRecord, AudioConfigResponseRecord, Item(config), WS_SET(channel, request->channel))  \
  X(SetAudioConfig, AudioConfigRequestRecord, CallResult, CallResult, WS_FILL)

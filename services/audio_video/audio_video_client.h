// Client of the AudioVideo service: one conversion method per export.
#pragma once

#include "audio_video_operations.h"
#include "core/service_client.h"
#include "soapAudioVideoSoap12Proxy.h"

namespace ws {

class AudioVideoClient : public ServiceClient<AudioVideoSoap12Proxy> {
 public:
  using Proxy = AudioVideoSoap12Proxy;
  WS_AUDIO_VIDEO_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

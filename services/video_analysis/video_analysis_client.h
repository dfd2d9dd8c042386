// Client of the VideoAnalysis service: one conversion method per export.
#pragma once

#include "core/service_client.h"
#include "soapVideoAnalysisSoap12Proxy.h"
#include "video_analysis_operations.h"

namespace ws {

class VideoAnalysisClient : public ServiceClient<VideoAnalysisSoap12Proxy> {
 public:
  using Proxy = VideoAnalysisSoap12Proxy;
  WS_VIDEO_ANALYSIS_OPERATIONS(WS_DECLARE_CONVERSION)
};

}  // namespace ws

// The VideoAnalysis service's exports: (operation, request type, response type).
#pragma once

#include "webservice/VideoAnalysis.h"

#define WS_VIDEO_ANALYSIS_OPERATIONS(X)

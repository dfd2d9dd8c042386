// Every export of every service, one X-macro table for the tools, the fuzz
// checks and the tests: X(operation, request type, response type).
#pragma once

#include "services/account/account_operations.h"
#include "services/audio_video/audio_video_operations.h"
#include "services/basic_system/basic_system_operations.h"
#include "services/network/network_operations.h"
#include "services/event_schedule/event_schedule_operations.h"
#include "services/ptz/ptz_operations.h"
#include "services/video_analysis/video_analysis_operations.h"
#include "services/utility/utility_operations.h"
#include "services/factory/factory_operations.h"

#define WS_ALL_OPERATIONS(X) \
  WS_ACCOUNT_OPERATIONS(X) \
  WS_AUDIO_VIDEO_OPERATIONS(X) \
  WS_BASIC_SYSTEM_OPERATIONS(X) \
  WS_NETWORK_OPERATIONS(X) \
  WS_EVENT_SCHEDULE_OPERATIONS(X) \
  WS_PTZ_OPERATIONS(X) \
  WS_VIDEO_ANALYSIS_OPERATIONS(X) \
  WS_UTILITY_OPERATIONS(X) \
  WS_FACTORY_OPERATIONS(X)

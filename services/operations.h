// Every export of every service, one X-macro table for the tools, the fuzz
// checks and the tests.
//
// WS_ALL_SERVICES(S, X) calls S(service, operations, X) once per service, in
// table order, with the service's binding name and its operation table
// (a macro taking X); WS_ALL_OPERATIONS(X) calls X(operation, request type,
// response type) for every operation of every service.
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

#define WS_ALL_SERVICES(S, X)                           \
  S(Account, WS_ACCOUNT_OPERATIONS, X)                  \
  S(AudioVideo, WS_AUDIO_VIDEO_OPERATIONS, X)           \
  S(BasicSystem, WS_BASIC_SYSTEM_OPERATIONS, X)         \
  S(Network, WS_NETWORK_OPERATIONS, X)                  \
  S(EventSchedule, WS_EVENT_SCHEDULE_OPERATIONS, X)     \
  S(PTZ, WS_PTZ_OPERATIONS, X)                          \
  S(VideoAnalysis, WS_VIDEO_ANALYSIS_OPERATIONS, X)     \
  S(Utility, WS_UTILITY_OPERATIONS, X)                  \
  S(Factory, WS_FACTORY_OPERATIONS, X)

#define WS_SERVICE_OPERATIONS(service, operations, X) operations(X)
#define WS_ALL_OPERATIONS(X) WS_ALL_SERVICES(WS_SERVICE_OPERATIONS, X)

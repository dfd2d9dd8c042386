// The VideoAnalysis service's exports: (operation, request type, response
// type, answer shape, request statements); see core/shapes.h.  The service's
// other operations are declared but not exported.
#pragma once

#include "webservice/VideoAnalysis.h"

#define WS_VIDEO_ANALYSIS_OPERATIONS(X)                                                                        \
  X(GetVAConfiguration, ChannelRequestRecord, VAConfigRecord, Stored, WS_SET(channel, request->channel))                                      \
  X(SetVAConfiguration, VAConfigRequestRecord, CallResult, CallResult, WS_FILL)                                \
  X(GetVAMode, int32_t, IntValueRecord, Value, WS_SET(channel, *request))                                      \
  X(SetVAMode, VAModeRecord, CallResult, CallResult,                                                           \
    WS_SET(channel, request->channel) WS_SET(vaMode, request->vaMode))                                         \
  X(GetVAObjectClassificationParam, int32_t, ObjectClassificationParamRecord, Stored, WS_SET(channel, *request))                      \
  X(SetVAObjectClassificationParam, ObjectClassificationRequestRecord, CallResult, CallResult, WS_FILL)        \
  X(GetAutoPTZTrackingParam, int32_t, AutoPTZTrackingParamRecord, Stored, WS_SET(channel, *request))           \
  X(SetAutoPTZTrackingParam, AutoPTZTrackingRequestRecord, CallResult, CallResult,                             \
    WS_REQUIRE(IgnoreAreasGiven(request->param)) WS_FILL)                                                      \
  X(GetROIParam, int32_t, ParamListRecord, List(ArrayAlways, Param_USCORET), WS_SET(channel, *request))        \
  X(SetROIParam, ROIParamRequestRecord, CallResult, CallResult,                                                \
    WS_REQUIRE(request->count <= 0 || request->items) WS_FILL)                                                 \
  X(GetDetectionWindowList, int32_t, DetectionWindowListRecord, List(ArrayAlways, DetectionWindow_USCORET),    \
    WS_SET(channel, *request))                                                                                 \
  X(AddDetectionWindow, DetectionWindowRequestRecord, CallResult, CallResult, WS_FILL)                         \
  X(RemoveDetectionWindow, DetectionWindowRefRecord, CallResult, CallResult,                                   \
    WS_SET(channel, request->channel) WS_SET(sequence, request->sequence))                                     \
  X(UpdateDetectionWindow, DetectionWindowRequestRecord, CallResult, CallResult, WS_FILL)

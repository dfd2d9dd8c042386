// The VideoAnalysis service's exports: (operation, request type, response type).
#pragma once

#include "webservice/VideoAnalysis.h"

#define WS_VIDEO_ANALYSIS_OPERATIONS(X)                                                  \
  X(GetVAConfiguration, ChannelRequestRecord, VAConfigRecord)                            \
  X(SetVAConfiguration, VAConfigRequestRecord, CallResult)                               \
  X(GetVAMode, int32_t, IntValueRecord)                                                  \
  X(SetVAMode, VAModeRecord, CallResult)                                                 \
  X(GetVAObjectClassificationParam, int32_t, ObjectClassificationParamRecord)            \
  X(SetVAObjectClassificationParam, ObjectClassificationRequestRecord, CallResult)       \
  X(GetAutoPTZTrackingParam, int32_t, AutoPTZTrackingParamRecord)                        \
  X(SetAutoPTZTrackingParam, AutoPTZTrackingRequestRecord, CallResult)                   \
  X(GetROIParam, int32_t, ParamListRecord)                                               \
  X(SetROIParam, ROIParamRequestRecord, CallResult)                                      \
  X(GetDetectionWindowList, int32_t, DetectionWindowListRecord)                          \
  X(AddDetectionWindow, DetectionWindowRequestRecord, CallResult)                        \
  X(RemoveDetectionWindow, DetectionWindowRefRecord, CallResult)                         \
  X(UpdateDetectionWindow, DetectionWindowRequestRecord, CallResult)

#include "video_analysis_client.h"

#include <vector>

#include "core/call_frame.h"

namespace ws {

namespace {

// Points of the perspective arrays: each always travels with four.
constexpr size_t kPerspectivePoints = 4;
// The reserved tracking list always goes out as this many zeros.
constexpr size_t kReservedItems = 10;

void FillPosition(ns1__Position_USCORET &wire, const PositionRecord &position) {
  wire.x = position.x;
  wire.y = position.y;
}

void CopyPosition(PositionRecord &position, const ns1__Position_USCORET &wire) {
  position.x = wire.x;
  position.y = wire.y;
}

void FillSize(ns1__ObjectSize_USCORET &wire, const ObjectSizeRecord &size) {
  wire.width = size.width;
  wire.height = size.height;
  wire.pixel = size.pixel;
}

void CopySizeIfPresent(ObjectSizeRecord &size, const ns1__ObjectSize_USCORET *wire) {
  if (!wire) return;
  size.width = wire->width;
  size.height = wire->height;
  size.pixel = wire->pixel;
}

// A position list built from the caller's points, alive for one exchange.
class PositionList {
 public:
  PositionList(const PositionRecord *points, size_t count) : points_(count) {
    for (size_t i = 0; i < count; ++i) {
      FillPosition(points_[i], points[i]);
      wire_.Position_USCORET.push_back(&points_[i]);
    }
  }
  PositionList(const PositionList &) = delete;
  PositionList &operator=(const PositionList &) = delete;
  ns1__ArrayOfPosition_USCORET *wire() { return &wire_; }

 private:
  std::vector<ns1__Position_USCORET> points_;
  ns1__ArrayOfPosition_USCORET wire_;
};

// Copies the points of a present list, in document order, into the four
// entries of a perspective array; an absent item leaves its entry as it was
// and points beyond the fourth are dropped.
void CopyPerspective(PositionRecord (&entries)[kPerspectivePoints], const ns1__ArrayOfPosition_USCORET *list) {
  if (!list) return;
  const auto &points = list->Position_USCORET;
  for (size_t i = 0; i < points.size() && i < kPerspectivePoints; ++i)
    if (points[i]) CopyPosition(entries[i], *points[i]);
}

// Allocates the caller's array of n items, fills each with copyAt(item, i)
// and stores count and items.
template <class Item, class CopyAt>
int StoreArray(int32_t &count, Item *&items, size_t n, CopyAt copyAt) {
  if (n > 0x7fffffff) return WS_STATUS_OUT_OF_MEMORY;
  Item *array = AllocateItems<Item>(n);
  if (!array) return WS_STATUS_OUT_OF_MEMORY;
  for (size_t i = 0; i < n; ++i) copyAt(array[i], i);
  count = static_cast<int32_t>(n);
  items = array;
  return 0;
}

// Stores a present position list as a new array and its count (also for 0
// items); nil items stay zero.
int StorePositions(int32_t &count, PositionRecord *&items, const ns1__ArrayOfPosition_USCORET *list) {
  if (!list) return 0;
  const auto &points = list->Position_USCORET;
  return StoreArray(count, items, points.size(), [&](PositionRecord &item, size_t i) {
    if (points[i]) CopyPosition(item, *points[i]);
  });
}

void CopyWindow(DetectionWindowRecord &window, const ns1__DetectionWindow_USCORET &wire) {
  CopyTextIfPresent(window.alias, wire.alias);
  if (wire.position) CopyPosition(window.position, *wire.position);
  if (wire.size) CopyPosition(window.size, *wire.size);
  window.sequence = wire.sequence;
  window.threshold = wire.threshold;
}

void CopyParam(ParamRecord &param, const ns1__Param_USCORET &wire) {
  CopyTextIfPresent(param.key, wire.key);
  CopyTextIfPresent(param.value, wire.value);
}

// The window element of an add or an update, alive for one exchange.
struct WindowMessage {
  explicit WindowMessage(const DetectionWindowRecord &record) {
    window.sequence = record.sequence;
    window.threshold = record.threshold;
    window.alias = SendText(record.alias);
    FillPosition(position, record.position);
    FillPosition(size, record.size);
    window.position = &position;
    window.size = &size;
  }
  ns1__Position_USCORET position, size;
  ns1__DetectionWindow_USCORET window;
};

}  // namespace

int VideoAnalysisClient::CallGetVAConfiguration(const ChannelRequestRecord *request, VAConfigRecord *response) {
  _ns1__GetVAConfiguration wire;
  wire.channel = request->channel;
  _ns1__GetVAConfigurationResponse answer;
  if (int status = WS_INVOKE(GetVAConfiguration, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__VAConfig_USCORET *config = answer.GetVAConfigurationResult;
  if (answer.resultCode != 0 || !config) return 0;
  response->vaEnable = config->vaEnable;
  response->resetBackground = config->resetBackground;
  response->learningTime = config->learningTime;
  response->camtamperSensitivity = config->camtamperSensitivity;
  response->trackingRangeFilterRange = config->trackingRangeFilterRange;
  response->enableContour = config->enableContour;
  if (const ns1__ShadowRemovalParam_USCORET *shadow = config->shadowRemovalParam) {
    response->shadowRemoval = shadow->shadowRemoval;
    response->shadowIntensityRatioLB = shadow->shadowIntensityRatioLB;
    response->shadowIntensityRatioUB = shadow->shadowIntensityRatioUB;
    response->shadowDistanceThreshold = shadow->shadowDistanceThreshold;
  }
  if (const ns1__BlindUpdateParam_USCORET *blind = config->blindUpdateParam) {
    response->blindUpdate = blind->blindUpdate;
    response->updateWeightRatio = blind->updateWeightRatio;
  }
  if (const ns1__ObjectDetectionParam_USCORET *detection = config->objectDetectionParam) {
    response->distanceThreshold = detection->distanceThreshold;
    response->groupingThreshold = detection->groupingThreshold;
  }
  if (const ns1__ObjectTrackingParam_USCORET *tracking = config->objectTrackingParam) {
    response->trackingStrictness = tracking->trackingStrictness;
    response->trackingDistMargin = tracking->trackingDistMargin;
    response->trackingDistMarginInc = tracking->trackingDistMarginInc;
    response->trackingEraseCntMax = tracking->trackingEraseCntMax;
  }
  if (const ns1__SizeFilterParam_USCORET *filter = config->sizeFilterParam) {
    CopySizeIfPresent(response->minBasicObject, filter->minBasicObject);
    CopySizeIfPresent(response->maxBasicObject, filter->maxBasicObject);
    CopyPerspective(response->maxPerspectiveObject, filter->maxPerspectiveObject);
    CopyPerspective(response->minPerspectiveObject, filter->minPerspectiveObject);
    CopyPerspective(response->perspectiveSize, filter->perspectiveSize);
    response->resetPerspective = filter->resetPerspective;
    response->usePerspective = filter->usePerspective;
  }
  return 0;
}

int VideoAnalysisClient::CallSetVAConfiguration(const VAConfigRequestRecord *request, CallResult *response) {
  const VAConfigRecord &record = request->config;
  PositionList perspectiveSize(record.perspectiveSize, kPerspectivePoints);
  PositionList minPerspective(record.minPerspectiveObject, kPerspectivePoints);
  PositionList maxPerspective(record.maxPerspectiveObject, kPerspectivePoints);
  ns1__ObjectSize_USCORET minBasic, maxBasic;
  FillSize(minBasic, record.minBasicObject);
  FillSize(maxBasic, record.maxBasicObject);
  ns1__SizeFilterParam_USCORET filter;
  filter.usePerspective = record.usePerspective;
  filter.resetPerspective = record.resetPerspective;
  filter.perspectiveSize = perspectiveSize.wire();
  filter.minPerspectiveObject = minPerspective.wire();
  filter.maxPerspectiveObject = maxPerspective.wire();
  filter.minBasicObject = &minBasic;
  filter.maxBasicObject = &maxBasic;
  ns1__ShadowRemovalParam_USCORET shadow;
  shadow.shadowRemoval = record.shadowRemoval;
  shadow.shadowIntensityRatioLB = record.shadowIntensityRatioLB;
  shadow.shadowIntensityRatioUB = record.shadowIntensityRatioUB;
  shadow.shadowDistanceThreshold = record.shadowDistanceThreshold;
  ns1__BlindUpdateParam_USCORET blind;
  blind.blindUpdate = record.blindUpdate;
  blind.updateWeightRatio = record.updateWeightRatio;
  ns1__ObjectDetectionParam_USCORET detection;
  detection.distanceThreshold = record.distanceThreshold;
  detection.groupingThreshold = record.groupingThreshold;
  ns1__ObjectTrackingParam_USCORET tracking;
  tracking.trackingStrictness = record.trackingStrictness;
  tracking.trackingDistMargin = record.trackingDistMargin;
  tracking.trackingDistMarginInc = record.trackingDistMarginInc;
  tracking.trackingEraseCntMax = record.trackingEraseCntMax;
  ns1__VAConfig_USCORET config;
  config.vaEnable = record.vaEnable;
  config.resetBackground = record.resetBackground;
  config.learningTime = record.learningTime;
  config.camtamperSensitivity = record.camtamperSensitivity;
  config.trackingRangeFilterRange = record.trackingRangeFilterRange;
  config.enableContour = record.enableContour;
  config.sizeFilterParam = &filter;
  config.shadowRemovalParam = &shadow;
  config.blindUpdateParam = &blind;
  config.objectDetectionParam = &detection;
  config.objectTrackingParam = &tracking;
  _ns1__SetVAConfiguration wire;
  wire.channel = request->channel;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetVAConfiguration, &wire, response);
}

int VideoAnalysisClient::CallGetVAMode(const int32_t *request, IntValueRecord *response) {
  return WS_INVOKE_FOR_INT_VALUE(GetVAMode, WS_REQUEST_WITH(GetVAMode, channel, *request), response);
}

int VideoAnalysisClient::CallSetVAMode(const VAModeRecord *request, CallResult *response) {
  _ns1__SetVAMode wire;
  wire.channel = request->channel;
  wire.vaMode = request->vaMode;
  return WS_INVOKE_FOR_CALL_RESULT(SetVAMode, &wire, response);
}

int VideoAnalysisClient::CallGetVAObjectClassificationParam(const int32_t *request,
                                                        ObjectClassificationParamRecord *response) {
  _ns1__GetVAObjectClassificationParam wire;
  wire.channel = *request;
  _ns1__GetVAObjectClassificationParamResponse answer;
  if (int status = WS_INVOKE(GetVAObjectClassificationParam, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__ObjectClassificationParam_USCORET *param = answer.GetVAObjectClassificationParamResult;
  if (answer.resultCode != 0 || !param) return 0;
  response->classMode = param->classMode;
  response->classEnvMode = param->classEnvMode;
  CopySizeIfPresent(response->classMinObjectSize, param->classMinObjectSize);
  CopySizeIfPresent(response->classColorMinObjectSize, param->classColorMinObjectSize);
  return 0;
}

int VideoAnalysisClient::CallSetVAObjectClassificationParam(const ObjectClassificationRequestRecord *request,
                                                        CallResult *response) {
  ns1__ObjectSize_USCORET minSize, colorMinSize;
  FillSize(minSize, request->param.classMinObjectSize);
  FillSize(colorMinSize, request->param.classColorMinObjectSize);
  ns1__ObjectClassificationParam_USCORET param;
  param.classMode = request->param.classMode;
  param.classEnvMode = request->param.classEnvMode;
  param.classMinObjectSize = &minSize;
  param.classColorMinObjectSize = &colorMinSize;
  _ns1__SetVAObjectClassificationParam wire;
  wire.channel = request->channel;
  wire.objectClassificationParam = &param;
  return WS_INVOKE_FOR_CALL_RESULT(SetVAObjectClassificationParam, &wire, response);
}

int VideoAnalysisClient::CallGetAutoPTZTrackingParam(const int32_t *request, AutoPTZTrackingParamRecord *response) {
  _ns1__GetAutoPTZTrackingParam wire;
  wire.channel = *request;
  _ns1__GetAutoPTZTrackingParamResponse answer;
  if (int status = WS_INVOKE(GetAutoPTZTrackingParam, &wire, answer)) return status;
  const ns1__AutoPTZTrackingParam_USCORET *param = answer.GetAutoPTZTrackingParamResult;
  if (answer.resultCode != 0 || !param) {
    response->resultCode = answer.resultCode;
    return 0;
  }
  // Filled in a copy that reaches the caller only when every array could be
  // allocated; otherwise the arrays made so far are released again.
  AutoPTZTrackingParamRecord out = *response;
  out.resultCode = answer.resultCode;
  out.APTZReset = param->APTZReset;
  out.APTZInitialPan = param->APTZInitialPan;
  out.APTZInitialTilt = param->APTZInitialTilt;
  out.APTZInitialZoom = param->APTZInitialZoom;
  out.APTZMaximumZoom = param->APTZMaximumZoom;
  out.APTZTimeout = param->APTZTimeout;
  out.APTZFailureAction = param->APTZFailureAction;
  out.APTZZoomedMaxObjSize = param->APTZZoomedMaxObjSize;
  out.APTZZoomInThres = param->APTZZoomInThres;
  out.APTZZoomOutThres = param->APTZZoomOutThres;
  out.APTZBhattaThres = param->APTZBhattaThres;
  out.APTZTimeToRecover = param->APTZTimeToRecover;
  out.APTZHistogramUpdateRatio = param->APTZHistogramUpdateRatio;
  out.APTZUpdateRectRatio = param->APTZUpdateRectRatio;
  out.APTZEnvMode = param->APTZEnvMode;
  out.APTZCamHeight = param->APTZCamHeight;
  out.APTZTrackTime = param->APTZTrackTime;
  out.APTZTrackMode = param->APTZTrackMode;
  CopySizeIfPresent(out.APTZMinObjectSize, param->APTZMinObjectSize);
  int status = StorePositions(out.APTZIgnoreAreaStartCount, out.APTZIgnoreAreaStart, param->APTZIgnoreAreaStart);
  if (status == 0)
    status = StorePositions(out.APTZIgnoreAreaEndCount, out.APTZIgnoreAreaEnd, param->APTZIgnoreAreaEnd);
  if (status == 0 && param->APTZreserved) {
    const std::vector<int> &reserved = param->APTZreserved->int_;
    status = StoreArray(out.APTZreservedCount, out.APTZreserved, reserved.size(),
                        [&](int32_t &item, size_t i) { item = reserved[i]; });
  }
  if (status != 0) {
    if (out.APTZIgnoreAreaStart != response->APTZIgnoreAreaStart) ::operator delete[](out.APTZIgnoreAreaStart);
    if (out.APTZIgnoreAreaEnd != response->APTZIgnoreAreaEnd) ::operator delete[](out.APTZIgnoreAreaEnd);
    return status;
  }
  *response = out;
  return 0;
}

int VideoAnalysisClient::CallSetAutoPTZTrackingParam(const AutoPTZTrackingRequestRecord *request, CallResult *response) {
  const AutoPTZTrackingParamRecord &record = request->param;
  const bool sendStart = record.APTZIgnoreAreaStartCount > 0;
  const bool sendEnd = record.APTZIgnoreAreaEndCount > 0;
  if ((sendStart && !record.APTZIgnoreAreaStart) || (sendEnd && !record.APTZIgnoreAreaEnd)) return WS_STATUS_NO_INPUT;
  PositionList start(record.APTZIgnoreAreaStart, sendStart ? record.APTZIgnoreAreaStartCount : 0);
  PositionList end(record.APTZIgnoreAreaEnd, sendEnd ? record.APTZIgnoreAreaEndCount : 0);
  ns1__ObjectSize_USCORET minSize;
  FillSize(minSize, record.APTZMinObjectSize);
  ns1__ArrayOfInt reserved;
  reserved.int_.assign(kReservedItems, 0);
  ns1__AutoPTZTrackingParam_USCORET param;
  param.APTZReset = record.APTZReset;
  param.APTZInitialPan = record.APTZInitialPan;
  param.APTZInitialTilt = record.APTZInitialTilt;
  param.APTZInitialZoom = record.APTZInitialZoom;
  param.APTZMaximumZoom = record.APTZMaximumZoom;
  param.APTZTimeout = record.APTZTimeout;
  param.APTZFailureAction = record.APTZFailureAction;
  param.APTZIgnoreAreaStart = sendStart ? start.wire() : nullptr;
  param.APTZIgnoreAreaEnd = sendEnd ? end.wire() : nullptr;
  param.APTZMinObjectSize = &minSize;
  param.APTZZoomedMaxObjSize = record.APTZZoomedMaxObjSize;
  param.APTZZoomInThres = record.APTZZoomInThres;
  param.APTZZoomOutThres = record.APTZZoomOutThres;
  param.APTZBhattaThres = record.APTZBhattaThres;
  param.APTZTimeToRecover = record.APTZTimeToRecover;
  param.APTZHistogramUpdateRatio = record.APTZHistogramUpdateRatio;
  param.APTZUpdateRectRatio = record.APTZUpdateRectRatio;
  param.APTZEnvMode = record.APTZEnvMode;
  param.APTZCamHeight = record.APTZCamHeight;
  param.APTZTrackTime = record.APTZTrackTime;
  param.APTZTrackMode = record.APTZTrackMode;
  param.APTZreserved = &reserved;
  _ns1__SetAutoPTZTrackingParam wire;
  wire.channel = request->channel;
  wire.autoPTZTrackingParam = &param;
  return WS_INVOKE_FOR_CALL_RESULT(SetAutoPTZTrackingParam, &wire, response);
}

int VideoAnalysisClient::CallGetROIParam(const int32_t *request, ParamListRecord *response) {
  _ns1__GetROIParamResponse answer;
  if (int status = WS_INVOKE(GetROIParam, WS_REQUEST_WITH(GetROIParam, channel, *request), answer)) return status;
  const ns1__ArrayOfParam_USCORET *list = answer.GetROIParamResult;
  return FillListArrayAlways(response, answer.resultCode, list ? &list->Param_USCORET : nullptr, CopyParam);
}

int VideoAnalysisClient::CallSetROIParam(const ROIParamRequestRecord *request, CallResult *response) {
  const size_t count = request->count > 0 ? static_cast<size_t>(request->count) : 0;
  if (count > 0 && !request->items) return WS_STATUS_NO_INPUT;
  std::vector<ns1__Param_USCORET> params(count);
  ns1__ArrayOfParam_USCORET list;
  for (size_t i = 0; i < count; ++i) {
    params[i].key = SendText(request->items[i].key);
    params[i].value = SendText(request->items[i].value);
    list.Param_USCORET.push_back(&params[i]);
  }
  _ns1__SetROIParam wire;
  wire.channel = request->channel;
  wire.SetROIParam = &list;
  return WS_INVOKE_FOR_CALL_RESULT(SetROIParam, &wire, response);
}

int VideoAnalysisClient::CallGetDetectionWindowList(const int32_t *request, DetectionWindowListRecord *response) {
  _ns1__GetDetectionWindowList wire;
  wire.channel = *request;
  _ns1__GetDetectionWindowListResponse answer;
  if (int status = WS_INVOKE(GetDetectionWindowList, &wire, answer)) return status;
  const ns1__ArrayOfDetectionWindow_USCORET *list = answer.GetDetectionWindowListResult;
  return FillListArrayAlways(response, answer.resultCode, list ? &list->DetectionWindow_USCORET : nullptr, CopyWindow);
}

int VideoAnalysisClient::CallAddDetectionWindow(const DetectionWindowRequestRecord *request, CallResult *response) {
  WindowMessage message(request->window);
  _ns1__AddDetectionWindow wire;
  wire.channel = request->channel;
  wire.window = &message.window;
  return WS_INVOKE_FOR_CALL_RESULT(AddDetectionWindow, &wire, response);
}

int VideoAnalysisClient::CallRemoveDetectionWindow(const DetectionWindowRefRecord *request, CallResult *response) {
  _ns1__RemoveDetectionWindow wire;
  wire.channel = request->channel;
  wire.sequence = request->sequence;
  return WS_INVOKE_FOR_CALL_RESULT(RemoveDetectionWindow, &wire, response);
}

int VideoAnalysisClient::CallUpdateDetectionWindow(const DetectionWindowRequestRecord *request, CallResult *response) {
  WindowMessage message(request->window);
  _ns1__UpdateDetectionWindow wire;
  wire.channel = request->channel;
  wire.window = &message.window;
  return WS_INVOKE_FOR_CALL_RESULT(UpdateDetectionWindow, &wire, response);
}

}  // namespace ws

#define WS_VIDEO_ANALYSIS_EXPORT(Op, Request, Response) \
  WS_DEFINE_EXPORT(ws::VideoAnalysisClient, Op, Request, Response)
WS_VIDEO_ANALYSIS_OPERATIONS(WS_VIDEO_ANALYSIS_EXPORT)

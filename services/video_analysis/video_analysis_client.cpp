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

// A position list built from the caller's points.
ns1__ArrayOfPosition_USCORET *SendPositions(Outgoing &out, const PositionRecord *points, size_t count) {
  auto *list = out.New<ns1__ArrayOfPosition_USCORET>();
  SendItems(out, list->Position_USCORET, points, count, FillPosition);
  return list;
}

// Copies the points of a present list, in document order, into the four
// entries of a perspective array; an absent item leaves its entry as it was
// and points beyond the fourth are dropped.
void CopyPerspective(PositionRecord (&entries)[kPerspectivePoints], const ns1__ArrayOfPosition_USCORET *list) {
  if (!list) return;
  const auto &points = list->Position_USCORET;
  for (size_t i = 0; i < points.size() && i < kPerspectivePoints; ++i)
    if (points[i]) CopyPosition(entries[i], *points[i]);
}

// Stores a present position list as a new array and its count (also for 0
// items); nil items stay zero.
int StorePositions(int32_t &count, PositionRecord *&items, const ns1__ArrayOfPosition_USCORET *list) {
  if (!list) return 0;
  return StoreArray(count, items, list->Position_USCORET, [](PositionRecord &item, const ns1__Position_USCORET *point) {
    if (point) CopyPosition(item, *point);
  });
}

void Copy(DetectionWindowRecord &window, const ns1__DetectionWindow_USCORET &wire) {
  CopyTextIfPresent(window.alias, wire.alias);
  if (wire.position) CopyPosition(window.position, *wire.position);
  if (wire.size) CopyPosition(window.size, *wire.size);
  window.sequence = wire.sequence;
  window.threshold = wire.threshold;
}

void Copy(ParamRecord &param, const ns1__Param_USCORET &wire) {
  CopyTextIfPresent(param.key, wire.key);
  CopyTextIfPresent(param.value, wire.value);
}

// The window element of an add or an update.
template <class Wire>
void Fill(Wire &wire, const DetectionWindowRequestRecord &request, Outgoing &out) {
  const DetectionWindowRecord &record = request.window;
  ns1__DetectionWindow_USCORET &window = out.Element(wire.window);
  wire.channel = request.channel;
  window.sequence = record.sequence;
  window.threshold = record.threshold;
  window.alias = Send(record.alias);
  FillPosition(out.Element(window.position), record.position);
  FillPosition(out.Element(window.size), record.size);
}

void Fill(_ns1__SetROIParam &wire, const ROIParamRequestRecord &request, Outgoing &out) {
  wire.channel = request.channel;
  SendItems(out, out.Element(wire.SetROIParam).Param_USCORET, request.items,
            request.count > 0 ? static_cast<size_t>(request.count) : 0,
            [](ns1__Param_USCORET &param, const ParamRecord &item) {
              param.key = Send(item.key);
              param.value = Send(item.value);
            });
}

void Fill(_ns1__SetVAObjectClassificationParam &wire, const ObjectClassificationRequestRecord &request,
          Outgoing &out) {
  ns1__ObjectClassificationParam_USCORET &param = out.Element(wire.objectClassificationParam);
  wire.channel = request.channel;
  param.classMode = request.param.classMode;
  param.classEnvMode = request.param.classEnvMode;
  FillSize(out.Element(param.classMinObjectSize), request.param.classMinObjectSize);
  FillSize(out.Element(param.classColorMinObjectSize), request.param.classColorMinObjectSize);
}

// Ignore areas are sent only when counted, and must then be there.
bool IgnoreAreasGiven(const AutoPTZTrackingParamRecord &record) {
  return (record.APTZIgnoreAreaStartCount <= 0 || record.APTZIgnoreAreaStart) &&
         (record.APTZIgnoreAreaEndCount <= 0 || record.APTZIgnoreAreaEnd);
}

void Fill(_ns1__SetVAConfiguration &wire, const VAConfigRequestRecord &request, Outgoing &out) {
  const VAConfigRecord &record = request.config;
  ns1__VAConfig_USCORET &config = out.Element(wire.config);
  wire.channel = request.channel;
  ns1__SizeFilterParam_USCORET &filter = out.Element(config.sizeFilterParam);
  filter.usePerspective = record.usePerspective;
  filter.resetPerspective = record.resetPerspective;
  filter.perspectiveSize = SendPositions(out, record.perspectiveSize, kPerspectivePoints);
  filter.minPerspectiveObject = SendPositions(out, record.minPerspectiveObject, kPerspectivePoints);
  filter.maxPerspectiveObject = SendPositions(out, record.maxPerspectiveObject, kPerspectivePoints);
  FillSize(out.Element(filter.minBasicObject), record.minBasicObject);
  FillSize(out.Element(filter.maxBasicObject), record.maxBasicObject);
  ns1__ShadowRemovalParam_USCORET &shadow = out.Element(config.shadowRemovalParam);
  shadow.shadowRemoval = record.shadowRemoval;
  shadow.shadowIntensityRatioLB = record.shadowIntensityRatioLB;
  shadow.shadowIntensityRatioUB = record.shadowIntensityRatioUB;
  shadow.shadowDistanceThreshold = record.shadowDistanceThreshold;
  ns1__BlindUpdateParam_USCORET &blind = out.Element(config.blindUpdateParam);
  blind.blindUpdate = record.blindUpdate;
  blind.updateWeightRatio = record.updateWeightRatio;
  ns1__ObjectDetectionParam_USCORET &detection = out.Element(config.objectDetectionParam);
  detection.distanceThreshold = record.distanceThreshold;
  detection.groupingThreshold = record.groupingThreshold;
  ns1__ObjectTrackingParam_USCORET &tracking = out.Element(config.objectTrackingParam);
  tracking.trackingStrictness = record.trackingStrictness;
  tracking.trackingDistMargin = record.trackingDistMargin;
  tracking.trackingDistMarginInc = record.trackingDistMarginInc;
  tracking.trackingEraseCntMax = record.trackingEraseCntMax;
  config.vaEnable = record.vaEnable;
  config.resetBackground = record.resetBackground;
  config.learningTime = record.learningTime;
  config.camtamperSensitivity = record.camtamperSensitivity;
  config.trackingRangeFilterRange = record.trackingRangeFilterRange;
  config.enableContour = record.enableContour;
}

void Fill(_ns1__SetAutoPTZTrackingParam &wire, const AutoPTZTrackingRequestRecord &request, Outgoing &out) {
  const AutoPTZTrackingParamRecord &record = request.param;
  ns1__AutoPTZTrackingParam_USCORET &param = out.Element(wire.autoPTZTrackingParam);
  wire.channel = request.channel;
  param.APTZReset = record.APTZReset;
  param.APTZInitialPan = record.APTZInitialPan;
  param.APTZInitialTilt = record.APTZInitialTilt;
  param.APTZInitialZoom = record.APTZInitialZoom;
  param.APTZMaximumZoom = record.APTZMaximumZoom;
  param.APTZTimeout = record.APTZTimeout;
  param.APTZFailureAction = record.APTZFailureAction;
  if (record.APTZIgnoreAreaStartCount > 0)
    param.APTZIgnoreAreaStart = SendPositions(out, record.APTZIgnoreAreaStart, record.APTZIgnoreAreaStartCount);
  if (record.APTZIgnoreAreaEndCount > 0)
    param.APTZIgnoreAreaEnd = SendPositions(out, record.APTZIgnoreAreaEnd, record.APTZIgnoreAreaEndCount);
  FillSize(out.Element(param.APTZMinObjectSize), record.APTZMinObjectSize);
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
  out.Element(param.APTZreserved).int_.assign(kReservedItems, 0);
}

int Store(VAConfigRecord &record, const _ns1__GetVAConfigurationResponse &answer) {
  const ns1__VAConfig_USCORET *config = answer.GetVAConfigurationResult;
  if (answer.resultCode != 0 || !config) return 0;
  record.vaEnable = config->vaEnable;
  record.resetBackground = config->resetBackground;
  record.learningTime = config->learningTime;
  record.camtamperSensitivity = config->camtamperSensitivity;
  record.trackingRangeFilterRange = config->trackingRangeFilterRange;
  record.enableContour = config->enableContour;
  if (const ns1__ShadowRemovalParam_USCORET *shadow = config->shadowRemovalParam) {
    record.shadowRemoval = shadow->shadowRemoval;
    record.shadowIntensityRatioLB = shadow->shadowIntensityRatioLB;
    record.shadowIntensityRatioUB = shadow->shadowIntensityRatioUB;
    record.shadowDistanceThreshold = shadow->shadowDistanceThreshold;
  }
  if (const ns1__BlindUpdateParam_USCORET *blind = config->blindUpdateParam) {
    record.blindUpdate = blind->blindUpdate;
    record.updateWeightRatio = blind->updateWeightRatio;
  }
  if (const ns1__ObjectDetectionParam_USCORET *detection = config->objectDetectionParam) {
    record.distanceThreshold = detection->distanceThreshold;
    record.groupingThreshold = detection->groupingThreshold;
  }
  if (const ns1__ObjectTrackingParam_USCORET *tracking = config->objectTrackingParam) {
    record.trackingStrictness = tracking->trackingStrictness;
    record.trackingDistMargin = tracking->trackingDistMargin;
    record.trackingDistMarginInc = tracking->trackingDistMarginInc;
    record.trackingEraseCntMax = tracking->trackingEraseCntMax;
  }
  if (const ns1__SizeFilterParam_USCORET *filter = config->sizeFilterParam) {
    CopySizeIfPresent(record.minBasicObject, filter->minBasicObject);
    CopySizeIfPresent(record.maxBasicObject, filter->maxBasicObject);
    CopyPerspective(record.maxPerspectiveObject, filter->maxPerspectiveObject);
    CopyPerspective(record.minPerspectiveObject, filter->minPerspectiveObject);
    CopyPerspective(record.perspectiveSize, filter->perspectiveSize);
    record.resetPerspective = filter->resetPerspective;
    record.usePerspective = filter->usePerspective;
  }
  return 0;
}

int Store(ObjectClassificationParamRecord &record, const _ns1__GetVAObjectClassificationParamResponse &answer) {
  const ns1__ObjectClassificationParam_USCORET *param = answer.GetVAObjectClassificationParamResult;
  if (answer.resultCode != 0 || !param) return 0;
  record.classMode = param->classMode;
  record.classEnvMode = param->classEnvMode;
  CopySizeIfPresent(record.classMinObjectSize, param->classMinObjectSize);
  CopySizeIfPresent(record.classColorMinObjectSize, param->classColorMinObjectSize);
  return 0;
}

int Store(AutoPTZTrackingParamRecord &response, const _ns1__GetAutoPTZTrackingParamResponse &answer) {
  const ns1__AutoPTZTrackingParam_USCORET *param = answer.GetAutoPTZTrackingParamResult;
  if (answer.resultCode != 0 || !param) return 0;
  // Filled in a copy that reaches the caller only when every array could be
  // allocated; otherwise the arrays made so far are released again.
  AutoPTZTrackingParamRecord out = response;
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
    status = StoreArray(out.APTZreservedCount, out.APTZreserved, param->APTZreserved->int_,
                        [](int32_t &item, int value) { item = value; });
  }
  if (status != 0) {
    if (out.APTZIgnoreAreaStart != response.APTZIgnoreAreaStart) ::operator delete[](out.APTZIgnoreAreaStart);
    if (out.APTZIgnoreAreaEnd != response.APTZIgnoreAreaEnd) ::operator delete[](out.APTZIgnoreAreaEnd);
    return status;
  }
  response = out;
  return 0;
}

}  // namespace

#define WS_VIDEO_ANALYSIS_CONVERSION(...) WS_DEFINE_CONVERSION(VideoAnalysisClient, __VA_ARGS__)
WS_VIDEO_ANALYSIS_OPERATIONS(WS_VIDEO_ANALYSIS_CONVERSION)

}  // namespace ws

#define WS_VIDEO_ANALYSIS_EXPORT(Op, Request, Response, ...) \
  WS_DEFINE_EXPORT(ws::VideoAnalysisClient, Op, Request, Response)
WS_VIDEO_ANALYSIS_OPERATIONS(WS_VIDEO_ANALYSIS_EXPORT)

// VideoAnalysis service: one analysis engine per channel with its whole
// configuration, mode, detection windows, ROI and extension parameters,
// object classification and automatic PTZ tracking.
//
// Detection windows are unique per channel by sequence and by alias.  An add
// whose sequence is 0 or less gets the next free number.  An update finds its
// window by sequence, else by alias (so a window can be renumbered by name);
// a remove finds it by sequence.  Lists of parameters replace the stored list
// whole.  A configuration part absent from a set keeps its stored value.
#include <algorithm>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapVideoAnalysisSoap12Service.h"

using namespace sim;

namespace {

static_assert(VideoAnalysisState::kChannels == DeviceSettings::kChannels, "one engine per channel");

constexpr size_t kPerspectivePoints = 4;

// Runs body on the channel's engine under the device's lock and answers the
// result code it returns; an unknown channel is refused first.
template <class Response, class Body>
int OnChannel(struct soap *soap, int channel, Response &response, Body body) {
  const int index = DeviceState::ChannelIndex(channel);
  if (index < 0) return Reply(soap, response, kResultUnknownChannel);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  return Reply(soap, response, body(device.videoAnalysis.channels[index]));
}

// As OnChannel for a change: result tells whether change succeeded.
template <class Response, class Change>
int Apply(struct soap *soap, int channel, Response &response, bool &result, Change change) {
  return OnChannel(soap, channel, response, [&](VideoAnalysisChannel &engine) {
    const int code = change(engine);
    result = code == kResultOk;
    return code;
  });
}

// Sets one integer of the engine from a request member.
template <class Response>
int SetInt(struct soap *soap, int channel, Response &response, bool &result, int value,
           int VideoAnalysisChannel::*field) {
  return Apply(soap, channel, response, result, [&](VideoAnalysisChannel &engine) {
    engine.*field = value;
    return kResultOk;
  });
}

// Sets one integer of the engine's configuration from a request member.
template <class Response>
int SetConfigInt(struct soap *soap, int channel, Response &response, bool &result, int value,
                 int VaConfig::*field) {
  return Apply(soap, channel, response, result, [&](VideoAnalysisChannel &engine) {
    engine.config.*field = value;
    return kResultOk;
  });
}

// Answers one integer of the engine's configuration.
template <class Response>
int GetConfigInt(struct soap *soap, int channel, Response &response, int &result, int VaConfig::*field) {
  return OnChannel(soap, channel, response, [&](VideoAnalysisChannel &engine) {
    result = engine.config.*field;
    return kResultOk;
  });
}

ns1__Position_USCORET *WirePosition(struct soap *soap, const Point &position) {
  return soap_new_set_ns1__Position_USCORET(soap, position.x, position.y);
}

Point ReadPosition(const ns1__Position_USCORET *wire) {
  return wire ? Point{wire->x, wire->y} : Point{};
}

ns1__ArrayOfPosition_USCORET *WirePositions(struct soap *soap, const Point *points, size_t count) {
  ns1__ArrayOfPosition_USCORET *list = soap_new_ns1__ArrayOfPosition_USCORET(soap);
  for (size_t i = 0; i < count; ++i) list->Position_USCORET.push_back(WirePosition(soap, points[i]));
  return list;
}

std::vector<Point> ReadPositions(const ns1__ArrayOfPosition_USCORET *list) {
  std::vector<Point> points;
  if (list)
    for (const ns1__Position_USCORET *point : list->Position_USCORET) points.push_back(ReadPosition(point));
  return points;
}

ns1__ObjectSize_USCORET *WireSize(struct soap *soap, const ObjectSize &size) {
  return soap_new_set_ns1__ObjectSize_USCORET(soap, size.width, size.height, size.pixel);
}

void ReadSizeIfPresent(ObjectSize &size, const ns1__ObjectSize_USCORET *wire) {
  if (wire) size = {wire->width, wire->height, wire->pixel};
}

// The configuration's parts, to the wire and back.

ns1__SizeFilterParam_USCORET *WireSizeFilter(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__SizeFilterParam_USCORET(
      soap, config.usePerspective, config.resetPerspective,
      WirePositions(soap, config.perspectiveSize, kPerspectivePoints),
      WirePositions(soap, config.minPerspectiveObject, kPerspectivePoints),
      WirePositions(soap, config.maxPerspectiveObject, kPerspectivePoints), WireSize(soap, config.minBasicObject),
      WireSize(soap, config.maxBasicObject));
}

// Whether each perspective list the filter carries holds four points.
bool PerspectiveComplete(const ns1__SizeFilterParam_USCORET *filter) {
  if (!filter) return true;
  for (const ns1__ArrayOfPosition_USCORET *list :
       {filter->perspectiveSize, filter->minPerspectiveObject, filter->maxPerspectiveObject})
    if (list && list->Position_USCORET.size() != kPerspectivePoints) return false;
  return true;
}

void ReadPerspective(Point (&points)[kPerspectivePoints], const ns1__ArrayOfPosition_USCORET *list) {
  if (!list) return;
  for (size_t i = 0; i < kPerspectivePoints; ++i) points[i] = ReadPosition(list->Position_USCORET[i]);
}

// Call after PerspectiveComplete.
void ReadSizeFilter(VaConfig &config, const ns1__SizeFilterParam_USCORET *filter) {
  if (!filter) return;
  config.usePerspective = filter->usePerspective;
  config.resetPerspective = filter->resetPerspective;
  ReadPerspective(config.perspectiveSize, filter->perspectiveSize);
  ReadPerspective(config.minPerspectiveObject, filter->minPerspectiveObject);
  ReadPerspective(config.maxPerspectiveObject, filter->maxPerspectiveObject);
  ReadSizeIfPresent(config.minBasicObject, filter->minBasicObject);
  ReadSizeIfPresent(config.maxBasicObject, filter->maxBasicObject);
}

ns1__ShadowRemovalParam_USCORET *WireShadow(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__ShadowRemovalParam_USCORET(soap, config.shadowRemoval, config.shadowIntensityRatioLB,
                                                      config.shadowIntensityRatioUB, config.shadowDistanceThreshold);
}

void ReadShadow(VaConfig &config, const ns1__ShadowRemovalParam_USCORET *wire) {
  if (!wire) return;
  config.shadowRemoval = wire->shadowRemoval;
  config.shadowIntensityRatioLB = wire->shadowIntensityRatioLB;
  config.shadowIntensityRatioUB = wire->shadowIntensityRatioUB;
  config.shadowDistanceThreshold = wire->shadowDistanceThreshold;
}

ns1__BlindUpdateParam_USCORET *WireBlindUpdate(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__BlindUpdateParam_USCORET(soap, config.blindUpdate, config.updateWeightRatio);
}

void ReadBlindUpdate(VaConfig &config, const ns1__BlindUpdateParam_USCORET *wire) {
  if (!wire) return;
  config.blindUpdate = wire->blindUpdate;
  config.updateWeightRatio = wire->updateWeightRatio;
}

ns1__ObjectDetectionParam_USCORET *WireDetection(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__ObjectDetectionParam_USCORET(soap, config.distanceThreshold, config.groupingThreshold);
}

void ReadDetection(VaConfig &config, const ns1__ObjectDetectionParam_USCORET *wire) {
  if (!wire) return;
  config.distanceThreshold = wire->distanceThreshold;
  config.groupingThreshold = wire->groupingThreshold;
}

ns1__ObjectTrackingParam_USCORET *WireTracking(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__ObjectTrackingParam_USCORET(soap, config.trackingStrictness, config.trackingDistMargin,
                                                       config.trackingDistMarginInc, config.trackingEraseCntMax);
}

void ReadTracking(VaConfig &config, const ns1__ObjectTrackingParam_USCORET *wire) {
  if (!wire) return;
  config.trackingStrictness = wire->trackingStrictness;
  config.trackingDistMargin = wire->trackingDistMargin;
  config.trackingDistMarginInc = wire->trackingDistMarginInc;
  config.trackingEraseCntMax = wire->trackingEraseCntMax;
}

ns1__VAConfig_USCORET *WireConfig(struct soap *soap, const VaConfig &config) {
  return soap_new_set_ns1__VAConfig_USCORET(
      soap, config.vaEnable, config.resetBackground, config.learningTime, config.camtamperSensitivity,
      config.trackingRangeFilterRange, config.enableContour, WireSizeFilter(soap, config), WireShadow(soap, config),
      WireBlindUpdate(soap, config), WireDetection(soap, config), WireTracking(soap, config));
}

// Key/value lists.

ns1__ArrayOfParam_USCORET *WireParams(struct soap *soap, const KeyValueList &params) {
  ns1__ArrayOfParam_USCORET *list = soap_new_ns1__ArrayOfParam_USCORET(soap);
  for (const auto &param : params)
    list->Param_USCORET.push_back(soap_new_set_ns1__Param_USCORET(soap, soap_strdup(soap, param.first.c_str()),
                                                                  soap_strdup(soap, param.second.c_str())));
  return list;
}

// Replaces stored by the list; every item needs a key.
int StoreParams(KeyValueList &stored, const ns1__ArrayOfParam_USCORET *list) {
  if (!list) return kResultMissingArgument;
  if (list->Param_USCORET.size() > VideoAnalysisChannel::kMaxParams) return kResultTooManyParams;
  KeyValueList params;
  for (const ns1__Param_USCORET *param : list->Param_USCORET) {
    if (!param || !param->key || !*param->key) return kResultMissingArgument;
    params.emplace_back(param->key, param->value ? param->value : "");
  }
  stored = std::move(params);
  return kResultOk;
}

template <class Response>
int GetParams(struct soap *soap, int channel, Response &response, ns1__ArrayOfParam_USCORET *&result,
              KeyValueList VideoAnalysisChannel::*params) {
  return OnChannel(soap, channel, response, [&](VideoAnalysisChannel &engine) {
    result = WireParams(soap, engine.*params);
    return kResultOk;
  });
}

template <class Response>
int SetParams(struct soap *soap, int channel, Response &response, bool &result,
              const ns1__ArrayOfParam_USCORET *list, KeyValueList VideoAnalysisChannel::*params) {
  return Apply(soap, channel, response, result,
               [&](VideoAnalysisChannel &engine) { return StoreParams(engine.*params, list); });
}

// Detection windows.

ns1__DetectionWindow_USCORET *WireWindow(struct soap *soap, const DetectionWindow &window) {
  return soap_new_set_ns1__DetectionWindow_USCORET(soap, window.sequence, window.threshold,
                                                   soap_strdup(soap, window.alias.c_str()),
                                                   WirePosition(soap, window.position), WirePosition(soap, window.size));
}

DetectionWindow ReadWindow(const ns1__DetectionWindow_USCORET &wire) {
  return {wire.sequence, wire.threshold, wire.alias ? wire.alias : "", ReadPosition(wire.position),
          ReadPosition(wire.size)};
}

template <class Match>
std::vector<DetectionWindow>::iterator FindWindow(VideoAnalysisChannel &engine, Match match) {
  return std::find_if(engine.windows.begin(), engine.windows.end(), match);
}

std::vector<DetectionWindow>::iterator WindowBySequence(VideoAnalysisChannel &engine, int sequence) {
  return FindWindow(engine, [&](const DetectionWindow &window) { return window.sequence == sequence; });
}

std::vector<DetectionWindow>::iterator WindowByAlias(VideoAnalysisChannel &engine, const std::string &alias) {
  return FindWindow(engine, [&](const DetectionWindow &window) { return window.alias == alias; });
}

int AddWindow(VideoAnalysisChannel &engine, const ns1__DetectionWindow_USCORET *wire) {
  if (!wire || !wire->alias || !*wire->alias) return kResultMissingArgument;
  DetectionWindow window = ReadWindow(*wire);
  if (engine.windows.size() >= VideoAnalysisChannel::kMaxWindows) return kResultTooManyWindows;
  if (window.sequence <= 0) {
    for (const DetectionWindow &other : engine.windows) window.sequence = std::max(window.sequence, other.sequence);
    window.sequence = std::max(window.sequence, 0) + 1;
  }
  if (WindowBySequence(engine, window.sequence) != engine.windows.end() ||
      WindowByAlias(engine, window.alias) != engine.windows.end())
    return kResultWindowExists;
  // Kept in sequence order, the order the engine numbers them in.
  const auto at = std::upper_bound(engine.windows.begin(), engine.windows.end(), window.sequence,
                                   [](int sequence, const DetectionWindow &stored) { return sequence < stored.sequence; });
  engine.windows.insert(at, std::move(window));
  return kResultOk;
}

int UpdateWindow(VideoAnalysisChannel &engine, const ns1__DetectionWindow_USCORET *wire) {
  if (!wire || !wire->alias || !*wire->alias) return kResultMissingArgument;
  DetectionWindow window = ReadWindow(*wire);
  auto target = WindowBySequence(engine, window.sequence);
  if (target == engine.windows.end()) target = WindowByAlias(engine, window.alias);
  if (target == engine.windows.end()) return kResultUnknownWindow;
  for (auto other = engine.windows.begin(); other != engine.windows.end(); ++other)
    if (other != target && (other->sequence == window.sequence || other->alias == window.alias))
      return kResultWindowExists;
  *target = std::move(window);
  return kResultOk;
}

// Automatic PTZ tracking.

ns1__AutoPTZTrackingParam_USCORET *WireAutoTracking(struct soap *soap, const VideoAnalysisChannel &engine) {
  const AutoTracking &t = engine.tracking;
  ns1__ArrayOfInt *reserved = soap_new_ns1__ArrayOfInt(soap);
  reserved->int_ = t.APTZreserved;
  return soap_new_set_ns1__AutoPTZTrackingParam_USCORET(
      soap, t.APTZReset, t.APTZInitialPan, t.APTZInitialTilt, t.APTZInitialZoom, t.APTZMaximumZoom, t.APTZTimeout,
      t.APTZFailureAction, WirePositions(soap, t.APTZIgnoreAreaStart.data(), t.APTZIgnoreAreaStart.size()),
      WirePositions(soap, t.APTZIgnoreAreaEnd.data(), t.APTZIgnoreAreaEnd.size()),
      WireSize(soap, t.APTZMinObjectSize), t.APTZZoomedMaxObjSize, t.APTZZoomInThres, t.APTZZoomOutThres,
      t.APTZBhattaThres, t.APTZTimeToRecover, t.APTZHistogramUpdateRatio, t.APTZUpdateRectRatio, t.APTZEnvMode,
      t.APTZCamHeight, t.APTZTrackTime, t.APTZTrackMode, reserved);
}

// An ignore-area list left out of a set means no such areas.
int StoreAutoTracking(VideoAnalysisChannel &engine, const ns1__AutoPTZTrackingParam_USCORET *wire) {
  if (!wire) return kResultMissingArgument;
  AutoTracking &t = engine.tracking;
  t.APTZReset = wire->APTZReset;
  t.APTZInitialPan = wire->APTZInitialPan;
  t.APTZInitialTilt = wire->APTZInitialTilt;
  t.APTZInitialZoom = wire->APTZInitialZoom;
  t.APTZMaximumZoom = wire->APTZMaximumZoom;
  t.APTZTimeout = wire->APTZTimeout;
  t.APTZFailureAction = wire->APTZFailureAction;
  ReadSizeIfPresent(t.APTZMinObjectSize, wire->APTZMinObjectSize);
  t.APTZZoomedMaxObjSize = wire->APTZZoomedMaxObjSize;
  t.APTZZoomInThres = wire->APTZZoomInThres;
  t.APTZZoomOutThres = wire->APTZZoomOutThres;
  t.APTZBhattaThres = wire->APTZBhattaThres;
  t.APTZTimeToRecover = wire->APTZTimeToRecover;
  t.APTZHistogramUpdateRatio = wire->APTZHistogramUpdateRatio;
  t.APTZUpdateRectRatio = wire->APTZUpdateRectRatio;
  t.APTZEnvMode = wire->APTZEnvMode;
  t.APTZCamHeight = wire->APTZCamHeight;
  t.APTZTrackTime = wire->APTZTrackTime;
  t.APTZTrackMode = wire->APTZTrackMode;
  t.APTZIgnoreAreaStart = ReadPositions(wire->APTZIgnoreAreaStart);
  t.APTZIgnoreAreaEnd = ReadPositions(wire->APTZIgnoreAreaEnd);
  return kResultOk;
}

}  // namespace

// The whole configuration.

int VideoAnalysisSoap12Service::GetVAConfiguration(_ns1__GetVAConfiguration *request,
                                                   _ns1__GetVAConfigurationResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVAConfigurationResult = WireConfig(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAConfiguration(_ns1__SetVAConfiguration *request,
                                                   _ns1__SetVAConfigurationResponse &response) {
  const ns1__VAConfig_USCORET *wire = request ? request->config : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVAConfigurationResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 if (!PerspectiveComplete(wire->sizeFilterParam)) return kResultPerspectivePoints;
                 VaConfig &config = engine.config;
                 config.vaEnable = wire->vaEnable;
                 config.resetBackground = wire->resetBackground;
                 config.learningTime = wire->learningTime;
                 config.camtamperSensitivity = wire->camtamperSensitivity;
                 config.trackingRangeFilterRange = wire->trackingRangeFilterRange;
                 config.enableContour = wire->enableContour;
                 ReadSizeFilter(config, wire->sizeFilterParam);
                 ReadShadow(config, wire->shadowRemovalParam);
                 ReadBlindUpdate(config, wire->blindUpdateParam);
                 ReadDetection(config, wire->objectDetectionParam);
                 ReadTracking(config, wire->objectTrackingParam);
                 return kResultOk;
               });
}

// One part of the configuration each.

int VideoAnalysisSoap12Service::GetVAEnable(_ns1__GetVAEnable *request, _ns1__GetVAEnableResponse &response) {
  return GetConfigInt(soap, request ? request->channel : 0, response, response.GetVAEnableResult,
                      &VaConfig::vaEnable);
}

int VideoAnalysisSoap12Service::SetVAEnable(_ns1__SetVAEnable *request, _ns1__SetVAEnableResponse &response) {
  return SetConfigInt(soap, request ? request->channel : 0, response, response.SetVAEnableResult,
                      request ? request->vaEnable : 0, &VaConfig::vaEnable);
}

int VideoAnalysisSoap12Service::GetEnableContour(_ns1__GetEnableContour *request,
                                                 _ns1__GetEnableContourResponse &response) {
  return GetConfigInt(soap, request ? request->channel : 0, response, response.GetEnableContourResult,
                      &VaConfig::enableContour);
}

int VideoAnalysisSoap12Service::SetEnableContour(_ns1__SetEnableContour *request,
                                                 _ns1__SetEnableContourResponse &response) {
  return SetConfigInt(soap, request ? request->channel : 0, response, response.SetEnableContourResult,
                      request ? request->enableContour : 0, &VaConfig::enableContour);
}

int VideoAnalysisSoap12Service::ResetVABackgroundModeling(_ns1__ResetVABackgroundModeling *request,
                                                          _ns1__ResetVABackgroundModelingResponse &response) {
  // The engine starts learning its background again; nothing is stored.
  return Apply(soap, request ? request->channel : 0, response, response.ResetVABackgroundModelingResult,
               [](VideoAnalysisChannel &) { return kResultOk; });
}

int VideoAnalysisSoap12Service::GetVALearningTime(_ns1__GetVALearningTime *request,
                                                  _ns1__GetVALearningTimeResponse &response) {
  return GetConfigInt(soap, request ? request->channel : 0, response, response.GetVALearningTimeResult,
                      &VaConfig::learningTime);
}

int VideoAnalysisSoap12Service::SetVALearningTime(_ns1__SetVALearningTime *request,
                                                  _ns1__SetVALearningTimeResponse &response) {
  return SetConfigInt(soap, request ? request->channel : 0, response, response.SetVALearningTimeResult,
                      request ? request->learningTime : 0, &VaConfig::learningTime);
}

int VideoAnalysisSoap12Service::GetVAShadowRemoval(_ns1__GetVAShadowRemoval *request,
                                                   _ns1__GetVAShadowRemovalResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVAShadowRemovalResult = WireShadow(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAShadowRemoval(_ns1__SetVAShadowRemoval *request,
                                                   _ns1__SetVAShadowRemovalResponse &response) {
  const ns1__ShadowRemovalParam_USCORET *wire = request ? request->shadowRemovalParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVAShadowRemovalResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 ReadShadow(engine.config, wire);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetVABlindUpdate(_ns1__GetVABlindUpdate *request,
                                                 _ns1__GetVABlindUpdateResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVABlindUpdateResult = WireBlindUpdate(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVABlindUpdate(_ns1__SetVABlindUpdate *request,
                                                 _ns1__SetVABlindUpdateResponse &response) {
  const ns1__BlindUpdateParam_USCORET *wire = request ? request->blindUpdateParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVABlindUpdateResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 ReadBlindUpdate(engine.config, wire);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetVAObjectDetectionParam(_ns1__GetVAObjectDetectionParam *request,
                                                          _ns1__GetVAObjectDetectionParamResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVAObjectDetectionParamResult = WireDetection(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAObjectDetectionParam(_ns1__SetVAObjectDetectionParam *request,
                                                          _ns1__SetVAObjectDetectionParamResponse &response) {
  const ns1__ObjectDetectionParam_USCORET *wire = request ? request->objectDetectionParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVAObjectDetectionParamResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 ReadDetection(engine.config, wire);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetVAObjectDetectionParamExt(_ns1__GetVAObjectDetectionParamExt *request,
                                                             _ns1__GetVAObjectDetectionParamExtResponse &response) {
  return GetParams(soap, request ? request->channel : 0, response, response.GetVAObjectDetectionParamExtResult,
                   &VideoAnalysisChannel::detectionExt);
}

int VideoAnalysisSoap12Service::SetVAObjectDetectionParamExt(_ns1__SetVAObjectDetectionParamExt *request,
                                                             _ns1__SetVAObjectDetectionParamExtResponse &response) {
  return SetParams(soap, request ? request->channel : 0, response, response.SetVAObjectDetectionParamExtResult,
                   request ? request->objectDetectionParamExt : nullptr, &VideoAnalysisChannel::detectionExt);
}

int VideoAnalysisSoap12Service::GetVASizeFilterParam(_ns1__GetVASizeFilterParam *request,
                                                     _ns1__GetVASizeFilterParamResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVASizeFilterParamResult = WireSizeFilter(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVASizeFilterParam(_ns1__SetVASizeFilterParam *request,
                                                     _ns1__SetVASizeFilterParamResponse &response) {
  const ns1__SizeFilterParam_USCORET *wire = request ? request->sizeFilterParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVASizeFilterParamResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 if (!PerspectiveComplete(wire)) return kResultPerspectivePoints;
                 ReadSizeFilter(engine.config, wire);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetVATamperingSensitivity(_ns1__GetVATamperingSensitivity *request,
                                                          _ns1__GetVATamperingSensitivityResponse &response) {
  return GetConfigInt(soap, request ? request->channel : 0, response, response.GetVATamperingSensitivityResult,
                      &VaConfig::camtamperSensitivity);
}

int VideoAnalysisSoap12Service::SetVATamperingSensitivity(_ns1__SetVATamperingSensitivity *request,
                                                          _ns1__SetVATamperingSensitivityResponse &response) {
  return SetConfigInt(soap, request ? request->channel : 0, response, response.SetVATamperingSensitivityResult,
                      request ? request->camtamperSensitivity : 0, &VaConfig::camtamperSensitivity);
}

int VideoAnalysisSoap12Service::GetVAObjectTrackingParam(_ns1__GetVAObjectTrackingParam *request,
                                                         _ns1__GetVAObjectTrackingParamResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVAObjectTrackingParamResult = WireTracking(soap, engine.config);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAObjectTrackingParam(_ns1__SetVAObjectTrackingParam *request,
                                                         _ns1__SetVAObjectTrackingParamResponse &response) {
  const ns1__ObjectTrackingParam_USCORET *wire = request ? request->objectTrackingParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVAObjectTrackingParamResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 ReadTracking(engine.config, wire);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetVAObjectTrackingParamExt(_ns1__GetVAObjectTrackingParamExt *request,
                                                            _ns1__GetVAObjectTrackingParamExtResponse &response) {
  return GetParams(soap, request ? request->channel : 0, response, response.GetVAObjectTrackingParamExtResult,
                   &VideoAnalysisChannel::trackingExt);
}

int VideoAnalysisSoap12Service::SetVAObjectTrackingParamExt(_ns1__SetVAObjectTrackingParamExt *request,
                                                            _ns1__SetVAObjectTrackingParamExtResponse &response) {
  return SetParams(soap, request ? request->channel : 0, response, response.SetVAObjectTrackingParamExtResult,
                   request ? request->objectTrackingParamExt : nullptr, &VideoAnalysisChannel::trackingExt);
}

int VideoAnalysisSoap12Service::GetVATrackingFilterParam(_ns1__GetVATrackingFilterParam *request,
                                                         _ns1__GetVATrackingFilterParamResponse &response) {
  return GetConfigInt(soap, request ? request->channel : 0, response, response.GetVATrackingFilterParamResult,
                      &VaConfig::trackingRangeFilterRange);
}

int VideoAnalysisSoap12Service::SetVATrackingFilterParam(_ns1__SetVATrackingFilterParam *request,
                                                         _ns1__SetVATrackingFilterParamResponse &response) {
  return SetConfigInt(soap, request ? request->channel : 0, response, response.SetVATrackingFilterParamResult,
                      request ? request->trackingRangeFilterRange : 0, &VaConfig::trackingRangeFilterRange);
}

// Mode, classification and automatic PTZ tracking.

int VideoAnalysisSoap12Service::GetVAMode(_ns1__GetVAMode *request, _ns1__GetVAModeResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetVAModeResult = engine.mode;
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAMode(_ns1__SetVAMode *request, _ns1__SetVAModeResponse &response) {
  return SetInt(soap, request ? request->channel : 0, response, response.SetVAModeResult,
                request ? request->vaMode : 0, &VideoAnalysisChannel::mode);
}

int VideoAnalysisSoap12Service::GetVAObjectClassificationParam(
    _ns1__GetVAObjectClassificationParam *request, _ns1__GetVAObjectClassificationParamResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    const Classification &c = engine.classification;
    response.GetVAObjectClassificationParamResult = soap_new_set_ns1__ObjectClassificationParam_USCORET(
        soap, c.classMode, c.classEnvMode, WireSize(soap, c.classMinObjectSize),
        WireSize(soap, c.classColorMinObjectSize));
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetVAObjectClassificationParam(
    _ns1__SetVAObjectClassificationParam *request, _ns1__SetVAObjectClassificationParamResponse &response) {
  const ns1__ObjectClassificationParam_USCORET *wire = request ? request->objectClassificationParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetVAObjectClassificationParamResult,
               [&](VideoAnalysisChannel &engine) {
                 if (!wire) return kResultMissingArgument;
                 Classification &c = engine.classification;
                 c.classMode = wire->classMode;
                 c.classEnvMode = wire->classEnvMode;
                 ReadSizeIfPresent(c.classMinObjectSize, wire->classMinObjectSize);
                 ReadSizeIfPresent(c.classColorMinObjectSize, wire->classColorMinObjectSize);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::GetAutoPTZTrackingParam(_ns1__GetAutoPTZTrackingParam *request,
                                                        _ns1__GetAutoPTZTrackingParamResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    response.GetAutoPTZTrackingParamResult = WireAutoTracking(soap, engine);
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::SetAutoPTZTrackingParam(_ns1__SetAutoPTZTrackingParam *request,
                                                        _ns1__SetAutoPTZTrackingParamResponse &response) {
  const ns1__AutoPTZTrackingParam_USCORET *wire = request ? request->autoPTZTrackingParam : nullptr;
  return Apply(soap, request ? request->channel : 0, response, response.SetAutoPTZTrackingParamResult,
               [&](VideoAnalysisChannel &engine) { return StoreAutoTracking(engine, wire); });
}

// Region of interest and detection windows.

int VideoAnalysisSoap12Service::GetROIParam(_ns1__GetROIParam *request, _ns1__GetROIParamResponse &response) {
  return GetParams(soap, request ? request->channel : 0, response, response.GetROIParamResult,
                   &VideoAnalysisChannel::roi);
}

int VideoAnalysisSoap12Service::SetROIParam(_ns1__SetROIParam *request, _ns1__SetROIParamResponse &response) {
  return SetParams(soap, request ? request->channel : 0, response, response.SetROIParamResult,
                   request ? request->SetROIParam : nullptr, &VideoAnalysisChannel::roi);
}

int VideoAnalysisSoap12Service::GetDetectionWindowList(_ns1__GetDetectionWindowList *request,
                                                       _ns1__GetDetectionWindowListResponse &response) {
  return OnChannel(soap, request ? request->channel : 0, response, [&](VideoAnalysisChannel &engine) {
    auto *list = soap_new_ns1__ArrayOfDetectionWindow_USCORET(soap);
    for (const DetectionWindow &window : engine.windows) list->DetectionWindow_USCORET.push_back(WireWindow(soap, window));
    response.GetDetectionWindowListResult = list;
    return kResultOk;
  });
}

int VideoAnalysisSoap12Service::AddDetectionWindow(_ns1__AddDetectionWindow *request,
                                                   _ns1__AddDetectionWindowResponse &response) {
  return Apply(soap, request ? request->channel : 0, response, response.AddDetectionWindowResult,
               [&](VideoAnalysisChannel &engine) { return AddWindow(engine, request->window); });
}

int VideoAnalysisSoap12Service::RemoveDetectionWindow(_ns1__RemoveDetectionWindow *request,
                                                      _ns1__RemoveDetectionWindowResponse &response) {
  return Apply(soap, request ? request->channel : 0, response, response.RemoveDetectionWindowResult,
               [&](VideoAnalysisChannel &engine) {
                 auto window = WindowBySequence(engine, request->sequence);
                 if (window == engine.windows.end()) return kResultUnknownWindow;
                 engine.windows.erase(window);
                 return kResultOk;
               });
}

int VideoAnalysisSoap12Service::UpdateDetectionWindow(_ns1__UpdateDetectionWindow *request,
                                                      _ns1__UpdateDetectionWindowResponse &response) {
  return Apply(soap, request ? request->channel : 0, response, response.UpdateDetectionWindowResult,
               [&](VideoAnalysisChannel &engine) { return UpdateWindow(engine, request->window); });
}

WS_SIM_REGISTER_SERVICE(VideoAnalysisSoap12Service);

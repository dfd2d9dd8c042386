// The simulated device's VideoAnalysis settings: one analysis engine per
// channel, as a device leaves its factory.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "soapStub.h"

namespace sim {

struct Point {
  int x = 0, y = 0;
};

struct ObjectSize {
  int width = 0, height = 0, pixel = 0;
};

// The whole analysis configuration of one channel.
struct VaConfig {
  int vaEnable = 0;
  int resetBackground = 0;
  int learningTime = 100;
  int camtamperSensitivity = 50;
  int trackingRangeFilterRange = 10;
  int enableContour = 0;
  // size filter; each perspective list holds four points
  int usePerspective = 0;
  int resetPerspective = 0;
  Point perspectiveSize[4];
  Point minPerspectiveObject[4];
  Point maxPerspectiveObject[4];
  ObjectSize minBasicObject{8, 8, 64};
  ObjectSize maxBasicObject{320, 240, 76800};
  // shadow removal
  int shadowRemoval = 0;
  int shadowIntensityRatioLB = 40;
  int shadowIntensityRatioUB = 90;
  int shadowDistanceThreshold = 20;
  // blind update
  int blindUpdate = 0;
  int updateWeightRatio = 5;
  // object detection
  int distanceThreshold = 30;
  int groupingThreshold = 3;
  // object tracking
  int trackingStrictness = 2;
  int trackingDistMargin = 16;
  int trackingDistMarginInc = 2;
  int trackingEraseCntMax = 30;
};

struct Classification {
  int classMode = 0;
  int classEnvMode = 0;
  ObjectSize classMinObjectSize{10, 10, 100};
  ObjectSize classColorMinObjectSize{20, 20, 400};
};

struct AutoTracking {
  int APTZReset = 0;
  int APTZInitialPan = 0;
  int APTZInitialTilt = 0;
  int APTZInitialZoom = 0;
  int APTZMaximumZoom = 10;
  int APTZTimeout = 30;
  int APTZFailureAction = 0;
  std::vector<Point> APTZIgnoreAreaStart;
  std::vector<Point> APTZIgnoreAreaEnd;
  ObjectSize APTZMinObjectSize{16, 16, 256};
  int APTZZoomedMaxObjSize = 0;
  int APTZZoomInThres = 20;
  int APTZZoomOutThres = 60;
  int APTZBhattaThres = 0;
  int APTZTimeToRecover = 5;
  int APTZHistogramUpdateRatio = 0;
  int APTZUpdateRectRatio = 0;
  int APTZEnvMode = 0;
  int APTZCamHeight = 0;
  int APTZTrackTime = 60;
  int APTZTrackMode = 0;
  std::vector<int> APTZreserved = std::vector<int>(10, 0);
};

// A numbered, named rectangle with its threshold.
struct DetectionWindow {
  int sequence = 0;
  int threshold = 0;
  std::string alias;
  Point position;
  Point size;
};

using KeyValueList = std::vector<std::pair<std::string, std::string>>;

struct VideoAnalysisChannel {
  static constexpr size_t kMaxWindows = 16;
  static constexpr size_t kMaxParams = 32;

  VaConfig config;
  int mode = 0;
  std::vector<DetectionWindow> windows;
  KeyValueList roi = {{"roiEnable", "0"}, {"roiQuality", "50"}};
  KeyValueList detectionExt;
  KeyValueList trackingExt;
  Classification classification;
  AutoTracking tracking;
};

// Copyable: a configuration snapshot copies it whole.
struct VideoAnalysisState {
  static constexpr int kChannels = 4;
  VideoAnalysisChannel channels[kChannels];
};

}  // namespace sim

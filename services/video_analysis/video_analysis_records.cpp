// The records of VideoAnalysis.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(PositionRecord, F(x), F(y))
WSCTL_RECORD(ObjectSizeRecord, F(width), F(height), F(pixel))
WSCTL_RECORD(VAConfigRecord, F(vaEnable), F(resetBackground), F(learningTime), F(camtamperSensitivity),
             F(trackingRangeFilterRange), F(enableContour), F(usePerspective), F(resetPerspective),
             F(perspectiveSize), F(minPerspectiveObject), F(maxPerspectiveObject), F(minBasicObject),
             F(maxBasicObject), F(shadowRemoval), F(shadowIntensityRatioLB), F(shadowIntensityRatioUB),
             F(shadowDistanceThreshold), F(blindUpdate), F(updateWeightRatio), F(distanceThreshold),
             F(groupingThreshold), F(trackingStrictness), F(trackingDistMargin), F(trackingDistMarginInc),
             F(trackingEraseCntMax), F(resultCode))
WSCTL_RECORD(VAConfigRequestRecord, F(channel), F(config))
WSCTL_RECORD(DetectionWindowRecord, F(sequence), F(threshold), F(alias), F(position), F(size))
WSCTL_RECORD(DetectionWindowRequestRecord, F(channel), F(window))
WSCTL_RECORD(DetectionWindowRefRecord, F(channel), F(sequence))
WSCTL_RECORD(DetectionWindowListRecord, L(items, count), F(count), F(resultCode))
WSCTL_RECORD(ParamRecord, F(key), F(value))
WSCTL_RECORD(ParamListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(ROIParamRequestRecord, F(channel), F(count), L(items, count))
WSCTL_RECORD(VAModeRecord, F(channel), F(vaMode))
WSCTL_RECORD(ObjectClassificationParamRecord, F(classMode), F(classEnvMode), F(classMinObjectSize),
             F(classColorMinObjectSize), F(resultCode))
WSCTL_RECORD(ObjectClassificationRequestRecord, F(channel), F(param))
WSCTL_RECORD(AutoPTZTrackingParamRecord, F(APTZReset), F(APTZInitialPan), F(APTZInitialTilt), F(APTZInitialZoom),
             F(APTZMaximumZoom), F(APTZTimeout), F(APTZFailureAction), F(APTZIgnoreAreaStartCount),
             L(APTZIgnoreAreaStart, APTZIgnoreAreaStartCount), F(APTZIgnoreAreaEndCount),
             L(APTZIgnoreAreaEnd, APTZIgnoreAreaEndCount), F(APTZMinObjectSize), F(APTZZoomedMaxObjSize),
             F(APTZZoomInThres), F(APTZZoomOutThres), F(APTZBhattaThres), F(APTZTimeToRecover),
             F(APTZHistogramUpdateRatio), F(APTZUpdateRectRatio), F(APTZEnvMode), F(APTZCamHeight),
             F(APTZTrackTime), F(APTZTrackMode), F(APTZreservedCount), L(APTZreserved, APTZreservedCount),
             F(resultCode))
WSCTL_RECORD(AutoPTZTrackingRequestRecord, F(channel), F(param))

}  // namespace wsctl

/* The records of VideoAnalysis.h. */
SIZE(PositionRecord, 8); AT(PositionRecord, y, 4);
SIZE(ObjectSizeRecord, 12); AT(ObjectSizeRecord, height, 4); AT(ObjectSizeRecord, pixel, 8);
SIZE(VAConfigRecord, 204); AT(VAConfigRecord, resetBackground, 4); AT(VAConfigRecord, enableContour, 20);
AT(VAConfigRecord, usePerspective, 24); AT(VAConfigRecord, resetPerspective, 28);
AT(VAConfigRecord, perspectiveSize, 32); AT(VAConfigRecord, minPerspectiveObject, 64);
AT(VAConfigRecord, maxPerspectiveObject, 96); AT(VAConfigRecord, minBasicObject, 128);
AT(VAConfigRecord, maxBasicObject, 140); AT(VAConfigRecord, shadowRemoval, 152);
AT(VAConfigRecord, shadowDistanceThreshold, 164); AT(VAConfigRecord, blindUpdate, 168);
AT(VAConfigRecord, updateWeightRatio, 172); AT(VAConfigRecord, distanceThreshold, 176);
AT(VAConfigRecord, groupingThreshold, 180); AT(VAConfigRecord, trackingStrictness, 184);
AT(VAConfigRecord, trackingEraseCntMax, 196); AT(VAConfigRecord, resultCode, 200);
SIZE(ChannelRequestRecord, 104); AT(ChannelRequestRecord, channel, 100);
SIZE(VAConfigRequestRecord, 308); AT(VAConfigRequestRecord, channel, 100); AT(VAConfigRequestRecord, config, 104);
SIZE(DetectionWindowRecord, 280); AT(DetectionWindowRecord, threshold, 4); AT(DetectionWindowRecord, alias, 8);
AT(DetectionWindowRecord, position, 264); AT(DetectionWindowRecord, size, 272);
SIZE(DetectionWindowRequestRecord, 284); AT(DetectionWindowRequestRecord, window, 4);
SIZE(DetectionWindowRefRecord, 8); AT(DetectionWindowRefRecord, sequence, 4);
SIZE(ParamRecord, 512); AT(ParamRecord, value, 256);
SIZE(VAModeRecord, 8); AT(VAModeRecord, vaMode, 4);
SIZE(ObjectClassificationParamRecord, 36); AT(ObjectClassificationParamRecord, classEnvMode, 4);
AT(ObjectClassificationParamRecord, classMinObjectSize, 8);
AT(ObjectClassificationParamRecord, classColorMinObjectSize, 20); AT(ObjectClassificationParamRecord, resultCode, 32);
SIZE(ObjectClassificationRequestRecord, 40); AT(ObjectClassificationRequestRecord, param, 4);

/* Records that hold a pointer: 8 bytes on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(DetectionWindowListRecord, 16); AT(DetectionWindowListRecord, items, 0);
AT(DetectionWindowListRecord, count, 8); AT(DetectionWindowListRecord, resultCode, 12);
SIZE(ParamListRecord, 24); AT(ParamListRecord, items, 8); AT(ParamListRecord, resultCode, 16);
SIZE(ROIParamRequestRecord, 16); AT(ROIParamRequestRecord, count, 4); AT(ROIParamRequestRecord, items, 8);
SIZE(AutoPTZTrackingParamRecord, 136); AT(AutoPTZTrackingParamRecord, APTZFailureAction, 24);
AT(AutoPTZTrackingParamRecord, APTZIgnoreAreaStartCount, 28); AT(AutoPTZTrackingParamRecord, APTZIgnoreAreaStart, 32);
AT(AutoPTZTrackingParamRecord, APTZIgnoreAreaEndCount, 40); AT(AutoPTZTrackingParamRecord, APTZIgnoreAreaEnd, 48);
AT(AutoPTZTrackingParamRecord, APTZMinObjectSize, 56); AT(AutoPTZTrackingParamRecord, APTZZoomedMaxObjSize, 68);
AT(AutoPTZTrackingParamRecord, APTZTrackMode, 108); AT(AutoPTZTrackingParamRecord, APTZreservedCount, 112);
AT(AutoPTZTrackingParamRecord, APTZreserved, 120); AT(AutoPTZTrackingParamRecord, resultCode, 128);
SIZE(AutoPTZTrackingRequestRecord, 144); AT(AutoPTZTrackingRequestRecord, param, 8);
#endif

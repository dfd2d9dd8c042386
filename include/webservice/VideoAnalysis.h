/*
 * WebService: the VideoAnalysis service (analysis configuration and mode,
 * detection windows, ROI, object classification, automatic PTZ tracking).
 * Arguments and status codes as in Common.h.
 *
 * The analysis values (modes, thresholds, ratios, sensitivities) are the
 * device's; the library passes them through unchanged.  Every Get export
 * writes resultCode and, when it is not 0, leaves every other field as the
 * caller set it.  Item arrays the library allocates belong to the caller
 * (release them with the record's WebService_Free<Record>).
 */
#ifndef WEBSERVICE_VIDEO_ANALYSIS_H
#define WEBSERVICE_VIDEO_ANALYSIS_H

#include "Common.h"

/* A point, or a width and height (ns1:Position_T). */
typedef struct PositionRecord {
  int32_t x;
  int32_t y;
} PositionRecord;

/* An object size (ns1:ObjectSize_T). */
typedef struct ObjectSizeRecord {
  int32_t width;
  int32_t height;
  int32_t pixel;
} ObjectSizeRecord;

/* The whole analysis configuration of one channel (ns1:VAConfig_T).  The
 * three perspective arrays always travel with four points each. */
typedef struct VAConfigRecord {
  int32_t vaEnable;
  int32_t resetBackground;
  int32_t learningTime;
  int32_t camtamperSensitivity;
  int32_t trackingRangeFilterRange;
  int32_t enableContour;
  /* size filter */
  int32_t usePerspective;
  int32_t resetPerspective;
  PositionRecord perspectiveSize[4];
  PositionRecord minPerspectiveObject[4];
  PositionRecord maxPerspectiveObject[4];
  ObjectSizeRecord minBasicObject;
  ObjectSizeRecord maxBasicObject;
  /* shadow removal */
  int32_t shadowRemoval;
  int32_t shadowIntensityRatioLB;
  int32_t shadowIntensityRatioUB;
  int32_t shadowDistanceThreshold;
  /* blind update */
  int32_t blindUpdate;
  int32_t updateWeightRatio;
  /* object detection */
  int32_t distanceThreshold;
  int32_t groupingThreshold;
  /* object tracking */
  int32_t trackingStrictness;
  int32_t trackingDistMargin;
  int32_t trackingDistMarginInc;
  int32_t trackingEraseCntMax;
  int32_t resultCode; /* written by the get; not read by the set */
} VAConfigRecord;

/* Request of GetVAConfiguration: the channel follows prefix. */
typedef ChannelRecord ChannelRequestRecord;

/* Request of SetVAConfiguration: the channel follows prefix. */
typedef struct VAConfigRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  VAConfigRecord config;
} VAConfigRequestRecord;

/* One numbered, named rectangle (ns1:DetectionWindow_T). */
typedef struct DetectionWindowRecord {
  int32_t sequence; /* identifies the window on update and remove */
  int32_t threshold;
  char alias[256];
  PositionRecord position;
  PositionRecord size;
} DetectionWindowRecord;

typedef struct DetectionWindowRequestRecord {
  int32_t channel;
  DetectionWindowRecord window;
} DetectionWindowRequestRecord;

typedef struct DetectionWindowRefRecord {
  int32_t channel;
  int32_t sequence;
} DetectionWindowRefRecord;

/* The items pointer comes first.  With resultCode 0 and a list in the answer,
 * count and a new items array are written, also for 0 items. */
typedef struct DetectionWindowListRecord {
  DetectionWindowRecord *items; /* allocated by the library, owned by the caller */
  int32_t count;
  int32_t resultCode;
} DetectionWindowListRecord;

/* Releases what the library allocated into a DetectionWindowListRecord
 * (items) and leaves it empty: pointers NULL, counts 0.  NULL, and a record
 * released before, are ignored. */
WS_API void WS_CALL WebService_FreeDetectionWindowListRecord(DetectionWindowListRecord *record);

/* One key/value pair (ns1:Param_T). */
typedef struct ParamRecord {
  char key[256];
  char value[256];
} ParamRecord;

/* With resultCode 0 and a list in the answer, count and a new items array
 * are written, also for 0 items. */
typedef struct ParamListRecord {
  int32_t count;
  ParamRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} ParamListRecord;

/* Releases what the library allocated into a ParamListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeParamListRecord(ParamListRecord *record);

/* Request of SetROIParam: count pairs from the caller's array (a count of 0
 * sends an empty list; a count above 0 with null items is refused with -1). */
typedef struct ROIParamRequestRecord {
  int32_t channel;
  int32_t count;
  ParamRecord *items; /* the caller's array, only read */
} ROIParamRequestRecord;

typedef struct VAModeRecord {
  int32_t channel;
  int32_t vaMode;
} VAModeRecord;

/* Object classification of one channel (ns1:ObjectClassificationParam_T):
 * its eight integers in wire order, then resultCode.  The get reads the
 * channel from an int32 and writes resultCode; with resultCode 0 and the
 * parameters in the answer it writes classMode and classEnvMode and each size
 * that the answer carries.  The set sends all eight integers. */
typedef struct ObjectClassificationParamRecord {
  int32_t classMode;
  int32_t classEnvMode;
  ObjectSizeRecord classMinObjectSize;
  ObjectSizeRecord classColorMinObjectSize;
  int32_t resultCode; /* written by the get; not read by the set */
} ObjectClassificationParamRecord;

typedef struct ObjectClassificationRequestRecord {
  int32_t channel;
  ObjectClassificationParamRecord param;
} ObjectClassificationRequestRecord;

/* Automatic PTZ tracking of one channel (ns1:AutoPTZTrackingParam_T).
 * Get: the ignore-area and reserved lists present in the answer each get a
 * new array (also for 0 items) and their count.  Set: an ignore-area list is
 * sent only when its count is above 0 (a null array with a count above 0 is
 * refused with -1); the reserved list always goes out as ten zeros and
 * APTZreservedCount and APTZreserved are not read. */
typedef struct AutoPTZTrackingParamRecord {
  int32_t APTZReset;
  int32_t APTZInitialPan;
  int32_t APTZInitialTilt;
  int32_t APTZInitialZoom;
  int32_t APTZMaximumZoom;
  int32_t APTZTimeout;
  int32_t APTZFailureAction;
  int32_t APTZIgnoreAreaStartCount;
  PositionRecord *APTZIgnoreAreaStart;
  int32_t APTZIgnoreAreaEndCount;
  PositionRecord *APTZIgnoreAreaEnd;
  ObjectSizeRecord APTZMinObjectSize;
  int32_t APTZZoomedMaxObjSize;
  int32_t APTZZoomInThres;
  int32_t APTZZoomOutThres;
  int32_t APTZBhattaThres;
  int32_t APTZTimeToRecover;
  int32_t APTZHistogramUpdateRatio;
  int32_t APTZUpdateRectRatio;
  int32_t APTZEnvMode;
  int32_t APTZCamHeight;
  int32_t APTZTrackTime;
  int32_t APTZTrackMode;
  int32_t APTZreservedCount; /* get only */
  int32_t *APTZreserved;     /* get only */
  int32_t resultCode;        /* written by the get; not read by the set */
} AutoPTZTrackingParamRecord;

/* Releases what the library allocated into an AutoPTZTrackingParamRecord
 * (APTZIgnoreAreaStart, APTZIgnoreAreaEnd and APTZreserved) and leaves it
 * empty: pointers NULL, counts 0.  NULL, and a record released before, are
 * ignored. */
WS_API void WS_CALL WebService_FreeAutoPTZTrackingParamRecord(AutoPTZTrackingParamRecord *record);

typedef struct AutoPTZTrackingRequestRecord {
  int32_t channel;
  AutoPTZTrackingParamRecord param;
} AutoPTZTrackingRequestRecord;

/* GetVAConfiguration: reads request->channel (after prefix); fills a VAConfigRecord (parts absent from the answer keep their value). */
WS_API int WS_CALL DLL_WebServiceGetVAConfiguration(const char *host, const char *user, const char *password, const ChannelRequestRecord *request, VAConfigRecord *response, ConnectionInfo *conn);
/* SetVAConfiguration: sends request->channel and the whole request->config (four points per perspective array); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetVAConfiguration(const char *host, const char *user, const char *password, const VAConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetVAMode: request points to the int32 channel; the mode goes to an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetVAMode(const char *host, const char *user, const char *password, const int32_t *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetVAMode: sends request->channel and request->vaMode; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetVAMode(const char *host, const char *user, const char *password, const VAModeRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetVAObjectClassificationParam: request points to the int32 channel; fills an ObjectClassificationParamRecord. */
WS_API int WS_CALL DLL_WebServiceGetVAObjectClassificationParam(const char *host, const char *user, const char *password, const int32_t *request, ObjectClassificationParamRecord *response, ConnectionInfo *conn);
/* SetVAObjectClassificationParam: sends request->channel and request->param (param.resultCode not read); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetVAObjectClassificationParam(const char *host, const char *user, const char *password, const ObjectClassificationRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetAutoPTZTrackingParam: request points to the int32 channel; fills an AutoPTZTrackingParamRecord whose arrays the caller then owns and releases with WebService_FreeAutoPTZTrackingParamRecord. */
WS_API int WS_CALL DLL_WebServiceGetAutoPTZTrackingParam(const char *host, const char *user, const char *password, const int32_t *request, AutoPTZTrackingParamRecord *response, ConnectionInfo *conn);
/* SetAutoPTZTrackingParam: sends request->channel and request->param (ignore areas only when counted, ten reserved zeros); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetAutoPTZTrackingParam(const char *host, const char *user, const char *password, const AutoPTZTrackingRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetROIParam: request points to the int32 channel; fills a ParamListRecord whose items array the caller then owns and releases with WebService_FreeParamListRecord. */
WS_API int WS_CALL DLL_WebServiceGetROIParam(const char *host, const char *user, const char *password, const int32_t *request, ParamListRecord *response, ConnectionInfo *conn);
/* SetROIParam: sends request->channel and request->count pairs of request->items; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetROIParam(const char *host, const char *user, const char *password, const ROIParamRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetDetectionWindowList: request points to the int32 channel; fills a DetectionWindowListRecord whose items array the caller then owns and releases with WebService_FreeDetectionWindowListRecord. */
WS_API int WS_CALL DLL_WebServiceGetDetectionWindowList(const char *host, const char *user, const char *password, const int32_t *request, DetectionWindowListRecord *response, ConnectionInfo *conn);
/* AddDetectionWindow: sends request->channel and request->window; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddDetectionWindow(const char *host, const char *user, const char *password, const DetectionWindowRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveDetectionWindow: sends request->channel and request->sequence; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveDetectionWindow(const char *host, const char *user, const char *password, const DetectionWindowRefRecord *request, CallResult *response, ConnectionInfo *conn);
/* UpdateDetectionWindow: sends request->channel and request->window (the device finds the window by window.sequence); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceUpdateDetectionWindow(const char *host, const char *user, const char *password, const DetectionWindowRequestRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

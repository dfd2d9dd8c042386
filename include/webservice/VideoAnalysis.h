/*
 * WebService: the VideoAnalysis service (analysis configuration and mode, detection windows, ROI, object classification, automatic PTZ tracking).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_VIDEO_ANALYSIS_H
#define WEBSERVICE_VIDEO_ANALYSIS_H

#include "Common.h"

#endif

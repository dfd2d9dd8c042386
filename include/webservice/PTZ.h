/*
 * WebService: the PTZ service (protocols, direct control, configuration, serial port, pass-through, on-screen menu, presets, tours, patterns).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_PTZ_H
#define WEBSERVICE_PTZ_H

#include "Common.h"

#endif

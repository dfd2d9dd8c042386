/*
 * WebService: the Factory service (default settings, pass-through PTZ and audio, serial number, factory reset).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_FACTORY_H
#define WEBSERVICE_FACTORY_H

#include "Common.h"

#endif

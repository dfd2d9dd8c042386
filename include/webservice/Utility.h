/*
 * WebService: the Utility service (audio client connection, display language).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_UTILITY_H
#define WEBSERVICE_UTILITY_H

#include "Common.h"

#endif

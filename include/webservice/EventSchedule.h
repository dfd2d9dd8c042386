/*
 * WebService: the EventSchedule service (recording and event schedules, event sources, sensors, relays, notification servers, device notifications, manual recording, SD card).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_EVENT_SCHEDULE_H
#define WEBSERVICE_EVENT_SCHEDULE_H

#include "Common.h"

#endif

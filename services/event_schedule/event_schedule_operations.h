// The EventSchedule service's exports: (operation, request type, response type).
#pragma once

#include "webservice/EventSchedule.h"

#define WS_EVENT_SCHEDULE_OPERATIONS(X)

// The PTZ service's exports: (operation, request type, response type).
#pragma once

#include "webservice/PTZ.h"

#define WS_PTZ_OPERATIONS(X)

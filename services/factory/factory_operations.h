// The Factory service's exports: (operation, request type, response type).
#pragma once

#include "webservice/Factory.h"

#define WS_FACTORY_OPERATIONS(X)

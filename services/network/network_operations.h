// The Network service's exports: (operation, request type, response type).
#pragma once

#include "webservice/Network.h"

#define WS_NETWORK_OPERATIONS(X)

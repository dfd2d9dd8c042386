// The simulated device's Ptz settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct PtzState {
};

}  // namespace sim

// The simulated device's Utility settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct UtilityState {
};

}  // namespace sim

// The simulated device's BasicSystem settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct BasicSystemState {
};

}  // namespace sim

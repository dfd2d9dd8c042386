// The simulated device's Network settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct NetworkState {
};

}  // namespace sim

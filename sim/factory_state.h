// The simulated device's Factory settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct FactoryState {
};

}  // namespace sim

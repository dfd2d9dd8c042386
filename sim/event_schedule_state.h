// The simulated device's EventSchedule settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct EventScheduleState {
};

}  // namespace sim

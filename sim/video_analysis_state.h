// The simulated device's VideoAnalysis settings.
#pragma once

#include <string>
#include <vector>

#include "soapStub.h"

namespace sim {

// Copyable: a configuration snapshot copies it whole.
struct VideoAnalysisState {
};

}  // namespace sim

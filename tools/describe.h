// The description macros moved into the library (core/describe.h); this name
// stays for the code that includes it.
#pragma once

#include "core/describe.h"

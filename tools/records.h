// The record descriptions moved into the library (core/record_desc.h); this
// name stays for the code that includes it.
#pragma once

#include "core/record_desc.h"

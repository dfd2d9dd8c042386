// What counts as a secret when the library or its tools show data: any field
// or element whose name holds "password" (any case, any namespace prefix).
// Shown, its value is WS_TRACE_MASK.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "webservice/Transport.h"

namespace ws {

inline bool NamesPassword(std::string_view name) {
  const size_t colon = name.find(':');
  if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.find("password") != std::string::npos;
}

}  // namespace ws

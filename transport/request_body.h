// The request body as it goes out, whichever platform client carries it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ws {

// The runtime writes an empty text as <name/>; it goes out as <name></name>,
// the form devices have always received.
inline void ExpandEmptyElements(std::string &body) {
  if (body.find("/>") == std::string::npos) return;
  std::string out;
  out.reserve(body.size() + 256);
  size_t pos = 0;
  for (size_t end; (end = body.find("/>", pos)) != std::string::npos; pos = end + 2) {
    size_t open = body.rfind('<', end);
    std::string_view name;
    if (open != std::string::npos && open >= pos) name = std::string_view(body).substr(open + 1, end - open - 1);
    if (name.empty() || name.find_first_of(" \t\r\n=\"'<>") != std::string_view::npos) {
      out.append(body, pos, end + 2 - pos);
      continue;
    }
    out.append(body, pos, end - pos).append("></").append(name).append(">");
  }
  out.append(body, pos, std::string::npos);
  body.swap(out);
}

// No Content-Length announced (yet).
constexpr size_t kUnknownLength = static_cast<size_t>(-1);

enum class BodyProgress { kMore, kWhole, kNoMemory };

// Adds what the send hook was given to the body.  The body is whole once
// expectedLength bytes are there; an empty write completes a request that
// announced no body at once, and before an announced body it is nothing (the
// runtime flushes its empty buffer ahead of the stored message).  A whole
// body has its empty elements written out in full.
inline BodyProgress CollectBody(std::string &body, size_t expectedLength, const char *bytes, size_t length) {
  try {
    body.append(bytes, length);
    const bool bodyAnnounced = expectedLength != kUnknownLength && expectedLength > 0;
    if ((length != 0 || bodyAnnounced) && body.size() < expectedLength) return BodyProgress::kMore;
    ExpandEmptyElements(body);
  } catch (...) {
    return BodyProgress::kNoMemory;
  }
  return BodyProgress::kWhole;
}

}  // namespace ws

#include "tools/json_input.h"

#include <cmath>
#include <iterator>

namespace wsjson {

namespace {

// The deepest nesting of arrays and objects, brackets inside texts skipped;
// stops counting once past the limit.
int Depth(const std::string &text) {
  int depth = 0, deepest = 0;
  bool inText = false;
  for (size_t i = 0; i < text.size() && deepest <= kMaxDepth; ++i) {
    const char c = text[i];
    if (inText) {
      if (c == '\\') ++i;
      else if (c == '"') inText = false;
    } else if (c == '"') {
      inText = true;
    } else if (c == '[' || c == '{') {
      if (++depth > deepest) deepest = depth;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// The parser's message without its "[json.exception...]" prefix and without
// the input it quotes ("last read: ..."), which may be a password.
std::string Reason(const nlohmann::json::exception &error) {
  std::string what = error.what();
  const size_t start = what.find("] ");
  if (start != std::string::npos) what.erase(0, start + 2);
  const size_t quoted = what.find("; last read:");
  if (quoted != std::string::npos) what.erase(quoted);
  return what;
}

}  // namespace

std::string Parse(const std::string &text, nlohmann::json *out) {
  if (Depth(text) > kMaxDepth) return "the JSON nests deeper than " + std::to_string(kMaxDepth) + " levels";
  std::string refused;
  // Refuses what parses but no reader can take: a NUL inside a text (or a
  // name) would cut the C text it becomes, and a number too large for a double.
  auto check = [&refused](int, nlohmann::json::parse_event_t event, nlohmann::json &parsed) {
    if (!refused.empty()) return false;
    if ((event == nlohmann::json::parse_event_t::key || event == nlohmann::json::parse_event_t::value) &&
        parsed.is_string() && parsed.get_ref<const std::string &>().find('\0') != std::string::npos)
      refused = "a text holds a NUL character (\\u0000)";
    else if (event == nlohmann::json::parse_event_t::value && parsed.is_number_float() &&
             !std::isfinite(parsed.get<double>()))
      refused = "a number is out of range";
    return refused.empty();
  };
  try {
    nlohmann::json value = nlohmann::json::parse(text, check);
    if (!refused.empty()) return refused;
    *out = std::move(value);
    return "";
  } catch (const nlohmann::json::exception &error) {
    return refused.empty() ? "the JSON does not parse: " + Reason(error) : refused;
  }
}

std::string Parse(std::istream &in, nlohmann::json *out) {
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return "the input cannot be read";
  return Parse(text, out);
}

std::string Integer(const nlohmann::json &value, long long low, long long high, long long *out) {
  const std::string range = " (" + std::to_string(low) + " to " + std::to_string(high) + ")";
  if (value.is_number_unsigned()) {
    if (value.get<unsigned long long>() > static_cast<unsigned long long>(high)) return "out of range" + range;
  } else if (!value.is_number_integer()) {
    return value.is_number() ? "not a whole number" : "not a number";
  }
  const long long number = value.is_number_unsigned() ? static_cast<long long>(value.get<unsigned long long>())
                                                      : value.get<long long>();
  if (number < low || number > high) return "out of range" + range;
  *out = number;
  return "";
}

}  // namespace wsjson

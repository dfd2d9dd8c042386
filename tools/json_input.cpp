#include "tools/json_input.h"

#include <cmath>
#include <iterator>

namespace wsjson {

namespace {

const char kOutOfRange[] = "a number is out of range";

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
      refused = kOutOfRange;
    return refused.empty();
  };
  try {
    nlohmann::json value = nlohmann::json::parse(text, check);
    if (!refused.empty()) return refused;
    *out = std::move(value);
    return "";
  } catch (const nlohmann::json::out_of_range &) {  // a number past a double's range
    return kOutOfRange;
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

size_t Utf8Length(const unsigned char *s, size_t available) {
  const unsigned char c = s[0];
  if (c < 0x80) return available ? 1 : 0;
  const size_t length = c >= 0xF5 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
  if (length == 0 || length > available) return 0;
  // The second byte's range leaves out overlong forms (E0, F0), surrogates
  // (ED) and code points past U+10FFFF (F4).
  const unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
  if (s[1] < low || s[1] > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if ((s[k] & 0xC0) != 0x80) return 0;
  return length;
}

bool IsUtf8(const std::string &text) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
  for (size_t i = 0, length; i < text.size(); i += length)
    if (!(length = Utf8Length(bytes + i, text.size() - i))) return false;
  return true;
}

std::string Utf8(const std::string &text) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8Length(bytes + i, text.size() - i);
    out += length ? text.substr(i, length) : "\xEF\xBF\xBD";
    i += length ? length : 1;
  }
  return out;
}

std::string Print(const nlohmann::json &value, int indent) {
  return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace wsjson


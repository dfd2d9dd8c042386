// Reading JSON that comes from users and files (wsctl's --json-in, fleet
// inventories, backup documents, the simulator's state file): one bound for
// every reader, and every problem reported as a text, never as an exception.
#pragma once

#include <istream>
#include <string>

#include <nlohmann/json.hpp>

namespace wsjson {

// Arrays and objects nested deeper than this are refused before parsing.
constexpr int kMaxDepth = 64;

// Parses `text` into *out. Returns "" or why the text was refused: a syntax
// error with its line and column, nesting deeper than kMaxDepth, a number out
// of range, a text holding a NUL or bytes that are not UTF-8.
std::string Parse(const std::string &text, nlohmann::json *out);
// The same for a whole stream (a file or standard input).
std::string Parse(std::istream &in, nlohmann::json *out);

// An integer in [low, high]: "" and *out set, or why `value` is not one
// (a text, a fraction, a number out of range).
std::string Integer(const nlohmann::json &value, long long low, long long high, long long *out);

// The length of the UTF-8 sequence that starts at s (at most `available`
// bytes), 0 when none does: overlong forms, surrogates and code points past
// U+10FFFF are not UTF-8.  ASCII bytes are sequences of one.
size_t Utf8Length(const unsigned char *s, size_t available);
// Whether all of `text` is UTF-8.
bool IsUtf8(const std::string &text);
// `text` with each byte that is not part of a UTF-8 sequence replaced by
// U+FFFD, so that it can go into JSON output.
std::string Utf8(const std::string &text);
// value as JSON text (compact, or indented by `indent`); bytes that are not
// UTF-8 become U+FFFD instead of an exception.
std::string Print(const nlohmann::json &value, int indent = -1);

}  // namespace wsjson

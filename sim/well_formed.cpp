// The shape of a request body, checked before the SOAP runtime reads it: the
// runtime skips what it does not know without matching end tags, and meets
// the end of a cut body only as the end of its input.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "sim/server.h"

namespace sim {

std::string XmlProblem(std::string_view xml) {
  std::vector<std::string_view> open;  // the elements not yet ended, outermost first
  bool rooted = false;
  size_t at = xml.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;  // a byte order mark
  // Moves past the next `end`; false when there is none.
  auto skipPast = [&](std::string_view end) {
    const size_t found = xml.find(end, at);
    at = found == std::string_view::npos ? xml.size() : found + end.size();
    return found != std::string_view::npos;
  };
  while (at < xml.size()) {
    const size_t lt = xml.find('<', at);
    if (open.empty() && xml.substr(at, lt - at).find_first_not_of(" \t\r\n") != std::string_view::npos)
      return "text outside the root element";
    if (lt == std::string_view::npos) break;
    at = lt + 1;
    const std::string_view rest = xml.substr(at);
    if (rest.substr(0, 3) == "!--") {
      if (!skipPast("-->")) return "a comment without its end";
      continue;
    }
    if (rest.substr(0, 8) == "![CDATA[") {
      if (open.empty()) return "character data outside the root element";
      if (!skipPast("]]>")) return "character data without its end";
      continue;
    }
    if (rest.substr(0, 1) == "?") {
      if (!skipPast("?>")) return "a processing instruction without its end";
      continue;
    }
    const bool ending = rest.substr(0, 1) == "/";
    at += ending;
    const size_t nameEnd = std::min(xml.find_first_of(" \t\r\n/>", at), xml.size());
    const std::string_view name = xml.substr(at, nameEnd - at);
    if (name.empty() || name.find_first_of("<&\"'=!?") != std::string_view::npos)
      return "a '<' that begins no element";
    at = nameEnd;
    // The attributes, up to the '>' outside a quoted value.
    char quote = 0;
    for (; at < xml.size() && (quote || xml[at] != '>'); ++at) {
      if (xml[at] == '<') return "a '<' inside a tag";
      if (quote) {
        if (xml[at] == quote) quote = 0;
      } else if (xml[at] == '"' || xml[at] == '\'') {
        quote = xml[at];
      }
    }
    if (at >= xml.size()) return "the body ends inside a tag";
    const bool empty = xml[at - 1] == '/';
    ++at;
    if (ending) {
      if (open.empty() || open.back() != name) return "an end tag that does not match the element it ends";
      open.pop_back();
    } else {
      if (open.empty() && rooted) return "a second root element";
      rooted = true;
      if (!empty) open.push_back(name);
    }
  }
  if (!open.empty()) return "the body ends before its elements do";
  return rooted ? "" : "no element";
}

}  // namespace sim

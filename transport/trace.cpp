#include "trace.h"

#include <strings.h>

#include <atomic>

#include "core/secrets.h"
#include "webservice/Transport.h"

namespace ws {
namespace {

std::atomic<WebServiceTraceCallback> gCallback{nullptr};
std::atomic<void *> gContext{nullptr};

}  // namespace

bool TraceEnabled() { return gCallback.load(std::memory_order_relaxed) != nullptr; }

std::string MaskHeaders(const std::vector<std::string> &lines) {
  std::string out;
  for (const std::string &line : lines) {
    if (!strncasecmp(line.c_str(), "Authorization:", 14))
      out += "Authorization: " WS_TRACE_MASK;
    else
      out += line;
    out += "\r\n";
  }
  return out;
}

std::string MaskPasswords(std::string_view body) {
  std::string out;
  out.reserve(body.size());
  size_t pos = 0;
  for (size_t open; (open = body.find('<', pos)) != std::string_view::npos;) {
    const size_t close = body.find('>', open);
    if (close == std::string_view::npos) break;
    out.append(body, pos, close + 1 - pos);
    pos = close + 1;
    std::string_view tag = body.substr(open + 1, close - open - 1);
    if (tag.empty() || tag[0] == '/' || tag[0] == '?' || tag[0] == '!' || tag.back() == '/') continue;
    const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n"));
    if (!NamesPassword(name)) continue;
    const size_t text = body.find('<', pos);
    if (text == std::string_view::npos) break;
    if (text > pos) out += WS_TRACE_MASK;
    pos = text;
  }
  out.append(body, pos, std::string_view::npos);
  return out;
}

void TraceExchange(const TracedExchange &exchange) {
  WebServiceTraceCallback callback = gCallback.load();
  if (!callback) return;
  try {
    const std::string url(exchange.url);
    const std::string requestHeaders = exchange.requestHeaders ? MaskHeaders(*exchange.requestHeaders) : "";
    const std::string requestBody = MaskPasswords(exchange.requestBody);
    // The answer's body is handed as it is: a large answer is not copied.
    const std::string answerHeaders(exchange.answerHeaders);
    WebServiceExchange traced{url.c_str(),           static_cast<int>(exchange.httpStatus),
                              exchange.error,        requestHeaders.c_str(),
                              requestBody.c_str(),   requestBody.size(),
                              answerHeaders.c_str(), exchange.answerBody.data(),
                              exchange.answerBody.size()};
    callback(&traced, gContext.load());
  } catch (...) {
    // Out of memory: this attempt goes untraced; the call goes on.
  }
}

}  // namespace ws

WS_API void WS_CALL WebService_SetTraceCallback(WebServiceTraceCallback callback, void *context) {
  ws::gContext.store(context);
  ws::gCallback.store(callback);
}

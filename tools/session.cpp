#include "tools/session.h"

#include <cstdio>
#include <cstring>

#include "tools/json_input.h"

namespace wsctl {

namespace {

// The last exchange of the calling thread, kept to say in words why a call failed.
struct LastExchange {
  std::string url, headers, body;
  int status = -1, error = 0;
};
thread_local LastExchange gLast;
bool gPrintTrace = false;

// The text of the first element named name (any prefix) in body.
std::string ElementText(const std::string &body, const char *name) {
  for (size_t at = body.find(name); at != std::string::npos; at = body.find(name, at + 1)) {
    const char before = at ? body[at - 1] : ' ';
    const size_t close = at + std::strlen(name);
    if ((before != '<' && before != ':') || close >= body.size() || body[close] != '>') continue;
    const size_t end = body.find('<', close);
    return body.substr(close + 1, end == std::string::npos ? std::string::npos : end - close - 1);
  }
  return "";
}

std::string HeaderValue(const std::string &headers, const char *name) {
  const size_t at = headers.find(std::string("\n") + name + ":");
  if (at == std::string::npos) return "";
  size_t start = headers.find_first_not_of(' ', at + std::strlen(name) + 2);
  return headers.substr(start, headers.find_first_of("\r\n", start) - start);
}

// --trace: one exchange as the library saw it, credentials already masked.
void KeepExchange(const WebServiceExchange *e, void *) {
  gLast = {e->url, e->answerHeaders ? e->answerHeaders : "",
           e->answerBody ? std::string(e->answerBody, e->answerBodyLength) : "", e->httpStatus, e->error};
  if (!gPrintTrace) return;
  std::fprintf(stderr, "> POST %s\n%s\n", e->url, e->requestHeaders);
  std::fwrite(e->requestBody, 1, e->requestBodyLength, stderr);
  if (e->httpStatus == 0) {
    std::fprintf(stderr, "\n< no answer: %s\n", StatusWords(e->error, "").c_str());
    return;
  }
  std::fprintf(stderr, "\n< %s", e->answerHeaders);
  std::fwrite(e->answerBody, 1, e->answerBodyLength, stderr);
  std::fputs("\n", stderr);
}

}  // namespace

std::string StatusWords(int status, const std::string &words) {
  return std::to_string(status) + " " + WebService_StatusName(status) + ": " +
         (words.empty() ? WebService_StatusText(status) : words);
}

std::string Outcome::Why() const { return status != 0 ? StatusWords(status, words) : words; }

std::string Device::Name() const {
  if (conn.endpointKind == ENDPOINT_KIND_PORT_81) return host + ":81";
  return host + ":" + std::to_string(conn.port);
}

void TraceExchanges(bool print) {
  gPrintTrace = print;
  WebService_SetTraceCallback(KeepExchange, nullptr);
}

std::string ExplainLastExchange() {
  const LastExchange &e = gLast;
  if (e.status < 0) return "";
  if (e.status == 0) return "the device at " + e.url + " cannot be reached (" + WebService_StatusText(e.error) + ")";
  if (e.status == 401 || e.status == 407)
    return "HTTP " + std::to_string(e.status) + ": the device refused the user name or password";
  if (e.status >= 300 && e.status < 400)
    return "HTTP " + std::to_string(e.status) + " to " + HeaderValue(e.headers, "Location") +
           ": the device redirects; the library follows no redirects";
  const std::string code = ElementText(e.body, "faultcode");
  if (!code.empty()) {
    const size_t colon = code.find(':');
    return "SOAP fault " + code.substr(colon == std::string::npos ? 0 : colon + 1) + ": " +
           ElementText(e.body, "faultstring");
  }
  if (e.status != 200) return "HTTP " + std::to_string(e.status);
  return "";
}

Outcome Call(const Operation &op, Device &device, const void *request) {
  const RecordDesc &responseDesc = op.response();
  RecordBuffer response(responseDesc.size);
  gLast = LastExchange();
  Outcome outcome;
  outcome.status = op.call(device.host.c_str(), device.credentials ? device.user.c_str() : nullptr,
                           device.credentials ? device.password.c_str() : nullptr, request, response.data(),
                           &device.conn);
  if (outcome.status != 0) {
    outcome.words = wsjson::Utf8(ExplainLastExchange());  // a device's fault text may be any bytes
    if (outcome.words.empty()) outcome.words = WebService_StatusText(outcome.status);
    return outcome;
  }
  outcome.response = nlohmann::json::parse(ToJson(responseDesc, response.data()), nullptr, false);
  outcome.resultCode = ResultCode(responseDesc, response.data());
  FreeItems(responseDesc, response.data());
  if (outcome.resultCode != 0) outcome.words = "the device refused: resultCode " + std::to_string(outcome.resultCode);
  return outcome;
}

std::string FillRequest(const Operation &op, RecordBuffer &request, const nlohmann::json &fields) {
  const RecordDesc &desc = op.request();
  if (!fields.empty()) {
    const std::string error = FromJsonValue(desc, request, fields);
    if (!error.empty()) return error;
  }
  if (desc.prepare) desc.prepare(request.data());
  return "";
}

}  // namespace wsctl

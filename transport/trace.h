// The exchange trace: what each attempt of a request sent and received,
// handed, masked, to the application's trace callback.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ws {

struct TracedExchange {
  std::string_view url;
  long httpStatus = 0;  // 0: no answer
  int error = 0;        // platform error number of the attempt, 0 when answered
  const std::vector<std::string> *requestHeaders = nullptr;  // "Name: value" lines
  std::string_view requestBody;
  std::string_view answerHeaders;  // as received, lines ending in CRLF
  std::string_view answerBody;
};

// True while an application trace callback is installed: one pointer test.
bool TraceEnabled();

// Masks the credentials of the exchange and hands it to the callback.
void TraceExchange(const TracedExchange &exchange);

// The masking rules, for the tests: the Authorization value, and the text of
// every element whose name contains "password" (any case).
std::string MaskHeaders(const std::vector<std::string> &lines);
std::string MaskPasswords(std::string_view body);

}  // namespace ws

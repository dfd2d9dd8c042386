// The helpers of test_support.h that the Windows test program shares:
// answer envelopes and a timer.
#pragma once

#include <chrono>
#include <string>

// A SOAP 1.1 or 1.2 envelope around body.
inline std::string Envelope(const std::string &body, bool soap12 = false) {
  return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<e:Envelope xmlns:e=\"") +
         (soap12 ? "http://www.w3.org/2003/05/soap-envelope" : "http://schemas.xmlsoap.org/soap/envelope/") +
         "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><e:Body>" + body + "</e:Body></e:Envelope>";
}

// The response element of op in the default namespace style of many devices.
inline std::string Response(const std::string &op, const std::string &inner, bool soap12 = false) {
  return Envelope("<" + op + "Response xmlns=\"" WS_TEST_BASE_NAMESPACE "\">" + inner + "</" + op + "Response>", soap12);
}

class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

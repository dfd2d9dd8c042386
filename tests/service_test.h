// Fixtures for a service's tests: a scripted fake device whose exchanges
// hand back the request's SOAP body, and a simulator started per test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "fake_device.h"
#include "golden_file.h"
#include "simulator.h"
#include "test_support.h"
#include "webservice/Common.h"

// Inside an anonymous namespace like the Simulator: one copy per test program.
namespace {

// The SOAP body of a recorded request; empty when it has none.
inline std::string SoapBody(const std::string &request) {
  const std::string open = "<SOAP-ENV:Body>", close = "</SOAP-ENV:Body>";
  size_t start = request.find(open), end = request.find(close);
  if (start == std::string::npos || end == std::string::npos) return "";
  return request.substr(start + open.size(), end - start - open.size());
}

// A pointer no call may replace or dereference: marks "left untouched".
template <class T>
T *Sentinel() {
  return reinterpret_cast<T *>(static_cast<uintptr_t>(0x5e17));
}

// A TextRequestRecord with room for its text after the prefix.
struct TextRequest {
  char prefix[100];
  char text[256];
  explicit TextRequest(const char *value) {
    std::memset(prefix, 0xA5, sizeof prefix);
    std::snprintf(text, sizeof text, "%s", value);
  }
  const TextRequestRecord *get() const { return reinterpret_cast<const TextRequestRecord *>(this); }
};

// The response record type of an export.
template <class Fn>
struct ExportResponse;
template <class Request, class Response>
struct ExportResponse<int (*)(const char *, const char *, const char *, const Request *, Response *,
                              ConnectionInfo *)> {
  using type = Response;
};

// Calls the exports as the administrator on one loopback port.
class ServiceTest : public ::testing::Test {
 protected:
  template <class Fn, class Request, class Response>
  int Call(Fn fn, const Request *request, Response *response, const char *password = "admin") {
    return fn("127.0.0.1", "admin", password, request, response, &conn);
  }

  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

class ServiceWire : public ServiceTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.ok());
    conn.port = device.port();
  }

  // Answers the next call with the answer of op's golden exchange labelled
  // label (its first exchange when label is empty).
  void AnswerFrom(const std::string &op, const std::string &label = "") {
    const std::string answer = GoldenAnswer(op, label);
    ASSERT_FALSE(answer.empty()) << "no exchange '" << label << "' in the golden file of " << op;
    device.Script({Reply::Ok(answer)});
  }

  // The SOAP body of the last request.
  std::string LastBody() {
    std::vector<std::string> all = device.Requests();
    return all.empty() ? "" : SoapBody(all.back());
  }
  bool Sent(const std::string &text) { return LastBody().find(text) != std::string::npos; }

  FakeDevice device;
};

// The simulator, requiring the administrator's credentials, with extra
// arguments; verbose, it logs every exchange into the file log.
class ServiceSim : public ServiceTest {
 protected:
  explicit ServiceSim(std::vector<std::string> extra = {}, bool verbose = false)
      : log(verbose ? ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log"
                    : ""),
        sim(Arguments(std::move(extra), verbose), log) {}
  static std::vector<std::string> Arguments(std::vector<std::string> extra, bool verbose) {
    std::vector<std::string> args = {"--port", "0",     "--root-port", "0",    "--no-port81",
                                     "--user", "admin", "--password",  "admin"};
    if (verbose) args.push_back("--verbose");
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  void SetUp() override {
    ASSERT_TRUE(sim.ready()) << "no ready line from " WS_SIM_PATH ": '" << sim.line() << "'";
    conn.port = sim.port();
  }
  void TearDown() override { EXPECT_EQ(0, sim.Stop()) << "the simulator did not stop cleanly"; }

  // The resultCode of an export answering with result and resultCode (a
  // CallResult or its like), whose result must agree with it; -1000 minus the
  // status when the call itself failed.  request is the record or a pointer.
  template <class Fn, class Request>
  int Verdict(Fn fn, const Request &request) {
    typename ExportResponse<Fn>::type result{};
    result.resultCode = -1;
    int status;
    if constexpr (std::is_pointer_v<Request> || std::is_array_v<Request>)
      status = Call(fn, request, &result);
    else
      status = Call(fn, &request, &result);
    if (status != 0) return -1000 - status;
    EXPECT_EQ(result.resultCode == 0, result.result);
    return result.resultCode;
  }

  // The response of a call that must succeed.
  template <class Fn, class Request = int>
  typename ExportResponse<Fn>::type Get(Fn fn, const Request &request = kAnyRequest) {
    typename ExportResponse<Fn>::type response{};
    if constexpr (std::is_pointer_v<Request> || std::is_array_v<Request>)
      EXPECT_EQ(0, Call(fn, request, &response));
    else
      EXPECT_EQ(0, Call(fn, &request, &response));
    return response;
  }

  std::string log;
  Simulator sim;
};

}  // namespace

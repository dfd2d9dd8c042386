// Fixtures for a service's tests: a scripted fake device whose exchanges
// hand back the request's SOAP body, and a simulator started per test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fake_device.h"
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

class ServiceWire : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.ok());
    conn.port = device.port();
  }

  // Answers op's response element holding inner, runs call (which must return
  // 0), checks the request's action and returns the request's SOAP body.
  template <class Call>
  std::string Exchange(const char *op, const std::string &inner, Call call) {
    device.Script({Reply::Ok(Response(op, inner))});
    EXPECT_EQ(0, call()) << op;
    const std::string request = device.Request();
    EXPECT_NE(std::string::npos, request.find(std::string("\r\nSOAPAction: \"" WS_TEST_BASE_NAMESPACE) + op + "\"\r\n"))
        << op;
    return SoapBody(request);
  }

  FakeDevice device;
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

class ServiceSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.ready()) << "no ready line from " WS_SIM_PATH ": '" << sim.line() << "'";
    conn.port = sim.port();
  }
  void TearDown() override { EXPECT_EQ(0, sim.Stop()) << "the simulator did not stop cleanly"; }

  Simulator sim{{"--port", "0", "--no-port81"}};
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

}  // namespace

// Rules every export follows, checked over the whole operation table against
// the scripted fake device: the argument checks, the operation each export
// posts and what it reads from its request and answer, every failure leaving the
// response alone, and the time each export waits for a device that never
// answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/timeouts.h"
#include "export_table.h"
#include "fake_device.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

using namespace export_table;

// The seconds each export waits for a device, as published for the library's
// users; written out here rather than read from the library's own table, so
// that a wrong entry there fails.  Exports not listed wait 10 seconds.
const std::pair<const char *, int> kPublishedTimeouts[] = {
    {"GetMaxChannel", 1}, {"TriggerVAEvent", 1}, {"ControlPTZ", 2}, {"Stop", 2},
    {"GetUserLevel", 5}, {"GetVersion", 5}, {"RunRelay", 5}, {"StartManualRecording", 5},
    {"StopManualRecording", 5}, {"ConnectClientForAudio", 5}, {"DisconnectClientForAudio", 5},
    {"GetPresetList", 5}, {"AddPreset", 5}, {"GotoPreset", 5}, {"RemovePreset", 5},
    {"StopPatternRecording", 5}, {"PlayPresetTour", 5}, {"StopPresetTour", 5},
    {"GetPTZConfiguration", 5}, {"OSDMenu", 5},
    {"TestRecordingServer", 20}, {"TestNTPServer", 20}, {"TestFTPServer", 20}, {"TestSMTPServer", 20},
    {"GetLogs", 30}, {"GetLoggedDateList", 30}, {"GetReports", 30}, {"GetTimeZoneList", 30},
    {"GetWebProtocol", 30}, {"CommandSD", 60},
    {"GetBackupFilename", 180}, {"InitFactory", 180}, {"Restore", 180}, {"UpgradeFirmware", 180},
};

int Timeout(const Export &e) {
  for (const auto &[op, seconds] : kPublishedTimeouts)
    if (std::string(op) == e.name) return seconds;
  return 10;
}

class Operations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.ok());
    conn.port = device.port();
  }
  FakeDevice device;
  ConnectionInfo conn{0, 0, 0, ENDPOINT_KIND_SOAP_PATH};
};

// The library's time-out table gives every export its published time.
TEST_F(Operations, TimeoutTableMatchesThePublishedTimes) {
  EXPECT_EQ(172u, std::size(kExports));
  for (const Export &e : kExports) EXPECT_EQ(Timeout(e), ws::TimeoutFor(e.name)) << e.name;
  for (const ws::TimeoutEntry &entry : ws::kTimeoutTable)
    EXPECT_TRUE(std::any_of(std::begin(kExports), std::end(kExports),
                            [&](const Export &e) { return std::string(e.name) == entry.operation; }))
        << entry.operation;
}

// A missing host, request, response or connection, an unknown endpoint kind
// (left as it was) or a host text that is not a host: -1, nothing sent,
// nothing written.
TEST_F(Operations, EveryExportChecksItsArguments) {
  const RequestBytes zero;
  ConnectionInfo unknownKinds[] = {{0, 0, device.port(), 3}, {0, 0, device.port(), -1}};
  for (const Export &e : kExports) {
    SCOPED_TRACE(e.name);
    ResponseBytes response;
    EXPECT_EQ(-1, e.call(nullptr, zero.bytes, response.bytes, &conn));
    EXPECT_EQ(-1, e.call("", zero.bytes, response.bytes, &conn));
    EXPECT_EQ(-1, e.call("127.0.0.1", nullptr, response.bytes, &conn));
    EXPECT_TRUE(!e.hasResponseArgument || e.call("127.0.0.1", zero.bytes, nullptr, &conn) == -1);
    EXPECT_EQ(-1, e.call("127.0.0.1", zero.bytes, response.bytes, nullptr));
    EXPECT_EQ(-1, e.call("127.0.0.1/x", zero.bytes, response.bytes, &conn));
    for (ConnectionInfo &unknown : unknownKinds)  // the probe picks its kinds itself
      EXPECT_TRUE(e.probe() || e.call("127.0.0.1", zero.bytes, response.bytes, &unknown) == -1);
    EXPECT_TRUE(response.Untouched(e.responseSize));
  }
  EXPECT_EQ(3, unknownKinds[0].endpointKind);
  EXPECT_EQ(-1, unknownKinds[1].endpointKind);
  EXPECT_TRUE(device.Requests().empty());
}

// Every failure, for every export: its status, and the response record left
// byte for byte alone.
TEST_F(Operations, EveryFailureLeavesTheResponseAlone) {
  for (const Export &e : kExports) {
    if (e.probe()) continue;
    SCOPED_TRACE(e.name);
    for (const auto &[reply, status] : Failures(e)) {
      ResponseBytes response;
      device.Script({reply});
      EXPECT_EQ(status, e.Call(response.bytes, &conn)) << reply.body;
      EXPECT_TRUE(response.Untouched(e.responseSize)) << reply.body;
    }
  }
}

// The proxies declare operations that are never exported, beside the exported
// ones: each export must reach its own, by action and by request element, send
// the channel, stream and text of its request from where its record keeps them,
// and store the answer's resultCode and result where its record keeps them.
TEST_F(Operations, EveryExportPostsItsOwnOperation) {
  for (const Export &e : kExports) {
    SCOPED_TRACE(e.name);
    const std::string op = e.name;
    ResponseBytes response;
    device.Script({Reply::Ok(OwnAnswer(e))});
    response.Fill(0);
    EXPECT_EQ(0, e.Call(response.bytes, &conn));
    const std::string sent = device.Request();
    EXPECT_NE(std::string::npos, sent.find("\r\nSOAPAction: \"" WS_TEST_BASE_NAMESPACE + op + "\"\r\n"));
    EXPECT_NE(std::string::npos, sent.find("<SOAP-ENV:Body><ns1:" + op + ">"));
    RequestBytes request;
    for (const std::string &mark : e.mark(request.bytes)) EXPECT_NE(std::string::npos, sent.find(mark)) << mark;
    const StoredAnswer stored = e.stored(response.bytes);
    EXPECT_EQ(12, stored.resultCode);
    EXPECT_TRUE(stored.result);
  }
}

// One export's call in a thread of its own.
struct StalledCall {
  StalledCall(const Export &e, int port) : e(e), conn{0, 0, port, ENDPOINT_KIND_SOAP_PATH} {}
  const Export &e;
  ConnectionInfo conn;
  ResponseBytes response;
  std::atomic<bool> done{false};
  int status = 0;
  double seconds = 0;
  std::thread thread{[this] {
    Stopwatch watch;
    status = e.Call(response.bytes, &conn);
    seconds = watch.Seconds();
    done = true;
  }};
};

// Every export at once against a device that never answers: each one that
// waits 30 seconds or less gives up after its own published time with the
// time-out status and its response untouched; those that wait longer (60 and
// 180 seconds) are still waiting when the 30-second ones have given up.
TEST(OperationTimeouts, EachExportWaitsItsOwnTime) {
  auto device = std::make_unique<FakeDevice>();
  ASSERT_TRUE(device->ok());
  device->Script({Reply::Stall()});
  std::vector<std::unique_ptr<StalledCall>> calls;
  // One connection at a time: a call starts once the previous one's request
  // has reached the device.  The longest waits start first.
  std::vector<const Export *> order;
  for (const Export &e : kExports)
    if (!e.probe()) order.push_back(&e);
  std::stable_sort(order.begin(), order.end(), [](const Export *a, const Export *b) { return Timeout(*a) > Timeout(*b); });
  for (const Export *e : order) {
    const size_t before = device->Requests().size();
    calls.push_back(std::make_unique<StalledCall>(*e, device->port()));
    for (int i = 0; i < 400 && device->Requests().size() == before; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (auto &call : calls) {
    if (Timeout(call->e) > 30) continue;
    call->thread.join();
    SCOPED_TRACE(call->e.name);
    EXPECT_EQ(29, call->status);
    EXPECT_GE(call->seconds, Timeout(call->e) - 0.1);
    EXPECT_LE(call->seconds, Timeout(call->e) + 2);
    EXPECT_TRUE(call->response.Untouched(call->e.responseSize));
  }
  for (auto &call : calls) EXPECT_TRUE(Timeout(call->e) <= 30 || !call->done) << call->e.name << " gave up early";
  device.reset();  // closes the held connections: the long calls end now
  for (auto &call : calls)
    if (call->thread.joinable()) call->thread.join();
}

}  // namespace

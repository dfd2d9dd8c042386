// A scripted device inside the test process: a small HTTP/1.1 server on
// 127.0.0.1 that records every request's raw bytes and answers each
// connection with the next scripted reply (the last reply repeats).
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "device_script.h"

class FakeDevice : public DeviceScript {
 public:
  // port 0 picks a free port.  Port 81 is retried for a few seconds while
  // another test holds it.  ok() tells whether listening succeeded.
  explicit FakeDevice(int port = 0);
  ~FakeDevice();
  FakeDevice(const FakeDevice &) = delete;
  FakeDevice &operator=(const FakeDevice &) = delete;

  bool ok() const { return listener_ >= 0; }
  int port() const { return port_; }

 private:
  void Serve();
  void Handle(int fd);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<int> held_;  // stalled connections, closed at the end
  std::thread thread_;
};

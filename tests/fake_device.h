// A scripted device inside the test process: a small HTTP/1.1 server on
// 127.0.0.1 that records every request's raw bytes and answers each
// connection with the next scripted reply (the last reply repeats).
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct Reply {
  enum class Mode { Answer, Close, Stall, Trickle, KeepOpen };
  Mode mode = Mode::Answer;
  int status = 200;
  std::string body;
  size_t chunk = 0;      // Trickle: body bytes per write (the header goes at once)
  int intervalMs = 0;    // Trickle: pause between writes
  std::string headers{};  // extra header lines, each ending in "\r\n"

  static Reply Status(int status, std::string body) { return {Mode::Answer, status, std::move(body)}; }
  static Reply Ok(std::string body) { return Status(200, std::move(body)); }
  static Reply File(const std::string &op);  // the answer of tests/golden/<op>.txt with 200
  static Reply Redirect(int status, const std::string &location) {
    Reply reply = Status(status, "");
    reply.headers = "Location: " + location + "\r\n";
    return reply;
  }
  static Reply Close() { return {Mode::Close, 0, {}}; }
  static Reply Stall() { return {Mode::Stall, 0, {}}; }
  // The whole answer, then the connection held open: no close, no shutdown.
  static Reply KeepOpen(std::string body) { return {Mode::KeepOpen, 200, std::move(body)}; }
  static Reply Trickle(std::string body, size_t chunk, int intervalMs) {
    return {Mode::Trickle, 200, std::move(body), chunk, intervalMs};
  }
};

class FakeDevice {
 public:
  // port 0 picks a free port.  Port 81 is retried for a few seconds while
  // another test holds it.  ok() tells whether listening succeeded.
  explicit FakeDevice(int port = 0);
  ~FakeDevice();
  FakeDevice(const FakeDevice &) = delete;
  FakeDevice &operator=(const FakeDevice &) = delete;

  bool ok() const { return listener_ >= 0; }
  int port() const { return port_; }
  // Replaces the script and forgets the requests recorded so far.
  void Script(std::vector<Reply> replies);
  std::vector<std::string> Requests();
  // The single recorded request (empty when there was not exactly one).
  std::string Request();

 private:
  void Serve();
  void Handle(int fd);
  Reply Next();

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  std::vector<int> held_;  // stalled connections, closed at the end
  std::thread thread_;
};

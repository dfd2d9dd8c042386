// A scripted device inside the Windows test program (Winsock): a small
// HTTP/1.1 server on 127.0.0.1 that records every request's raw bytes and
// answers each connection with the next scripted reply (the last repeats).
// The same replies as tests/fake_device.h, for the same expectations.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

struct Reply {
  enum class Mode { Answer, Close, Stall };
  Mode mode = Mode::Answer;
  int status = 200;
  std::string body;
  size_t announced = 0;  // Content-Length to announce when not 0 (then the body is cut short)

  static Reply Status(int status, std::string body) { return {Mode::Answer, status, std::move(body)}; }
  static Reply Ok(std::string body) { return Status(200, std::move(body)); }
  static Reply Close() { return {Mode::Close, 0, {}}; }
  static Reply Stall() { return {Mode::Stall, 0, {}}; }
};

class FakeDevice {
 public:
  FakeDevice() {
    replies_.push_back(Reply::Close());
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length)) {
      ::closesocket(listener_);
      listener_ = INVALID_SOCKET;
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeDevice() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ReleaseHeld();
    if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
  }
  FakeDevice(const FakeDevice &) = delete;
  FakeDevice &operator=(const FakeDevice &) = delete;

  bool ok() const { return listener_ != INVALID_SOCKET; }
  int port() const { return port_; }

  // Replaces the script and forgets the requests recorded so far.
  void Script(std::vector<Reply> replies) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.assign(replies.begin(), replies.end());
    requests_.clear();
  }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  // The single recorded request (empty when there was not exactly one).
  std::string Request() {
    std::vector<std::string> all = Requests();
    return all.size() == 1 ? all[0] : std::string();
  }
  // Closes the stalled connections.
  void ReleaseHeld() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SOCKET s : held_) ::closesocket(s);
    held_.clear();
  }

 private:
  static bool WaitFor(SOCKET s, bool write, int timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval t{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &t) > 0;
  }

  static std::string ReadRequest(SOCKET s) {
    std::string data;
    size_t expected = std::string::npos;
    char buffer[4096];
    while (data.size() < expected && WaitFor(s, false, 3000)) {
      int n = ::recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      data.append(buffer, static_cast<size_t>(n));
      size_t end = data.find("\r\n\r\n");
      if (expected == std::string::npos && end != std::string::npos) {
        size_t at = data.find("Content-Length:");
        expected = end + 4 + (at != std::string::npos && at < end ? std::stoul(data.substr(at + 15)) : 0);
      }
    }
    return data;
  }

  static std::string HttpAnswer(int status, const std::string &body) {
    std::ostringstream out;
    out << "HTTP/1.1 " << status << (status == 200 ? " OK" : " Status") << "\r\n";
    if (status == 401) out << "WWW-Authenticate: Basic realm=\"device\"\r\n";
    if (!body.empty()) out << "Content-Type: text/xml; charset=utf-8\r\n";
    out << "Content-Length: " << body.size() << "\r\nConnection: close\r\n\r\n" << body;
    return out.str();
  }

  Reply Next() {
    std::lock_guard<std::mutex> lock(mutex_);
    Reply reply = replies_.front();
    if (replies_.size() > 1) replies_.pop_front();
    return reply;
  }

  void Serve() {
    while (!stop_) {
      if (!WaitFor(listener_, false, 50)) continue;
      SOCKET s = ::accept(listener_, nullptr, nullptr);
      if (s != INVALID_SOCKET) Handle(s);
    }
  }

  void Handle(SOCKET s) {
    std::string request = ReadRequest(s);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    Reply reply = Next();
    if (reply.mode == Reply::Mode::Stall) {
      std::lock_guard<std::mutex> lock(mutex_);
      held_.push_back(s);
      return;
    }
    if (reply.mode == Reply::Mode::Answer) {
      std::string answer = HttpAnswer(reply.status, reply.body);
      if (reply.announced) {
        const size_t at = answer.find("Content-Length: ") + 16;
        answer.replace(at, answer.find("\r\n", at) - at, std::to_string(reply.announced));
      }
      for (size_t at = 0; at < answer.size() && WaitFor(s, true, 2000);) {
        int n = ::send(s, answer.data() + at, static_cast<int>(answer.size() - at), 0);
        if (n <= 0) break;
        at += static_cast<size_t>(n);
      }
    }
    ::shutdown(s, SD_SEND);
    WaitFor(s, false, 200);  // let the client read before the close
    ::closesocket(s);
  }

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> held_;
  std::thread thread_;
};

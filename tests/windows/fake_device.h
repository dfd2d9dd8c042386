// A scripted device inside the Windows test program (Winsock): a small
// HTTP/1.1 server on 127.0.0.1 that records every request's raw bytes and
// answers each connection with the next scripted reply (the last repeats).
// The script, the replies and the HTTP framing are tests/device_script.h,
// as on Linux; Trickle and KeepOpen replies are not played here.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/device_script.h"

class FakeDevice : public DeviceScript {
 public:
  FakeDevice() {
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

  // Closes the stalled connections.
  void ReleaseHeld() {
    std::lock_guard<std::mutex> lock(heldMutex_);
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

  void Serve() {
    while (!stop_) {
      if (!WaitFor(listener_, false, 50)) continue;
      SOCKET s = ::accept(listener_, nullptr, nullptr);
      if (s != INVALID_SOCKET) Handle(s);
    }
  }

  void Handle(SOCKET s) {
    Reply reply = Answer(ReadRequest([s](char *buffer, size_t size) -> long {
      return WaitFor(s, false, 3000) ? ::recv(s, buffer, static_cast<int>(size), 0) : 0;
    }));
    if (reply.mode == Reply::Mode::Stall) {
      std::lock_guard<std::mutex> lock(heldMutex_);
      held_.push_back(s);
      return;
    }
    if (reply.mode == Reply::Mode::Answer) {
      const std::string answer = HttpAnswer(reply);
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
  std::mutex heldMutex_;
  std::vector<SOCKET> held_;
  std::thread thread_;
};

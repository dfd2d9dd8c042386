// Test harness shared by the benchmark, the fuzzer and the hostile-device
// tests: a loopback HTTP server running a handler per connection, SOAP answer
// builders, the simulator as a child process and records guarded by canaries.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "simulator.h"
#include "test_support.h"
#include "webservice/WebService.h"
#if __has_include("base_namespace.h")
#include "base_namespace.h"
#else
#define WS_BASE_NAMESPACE "http://tempuri.org/"
#endif

namespace wstest {

inline bool WriteAll(int fd, const char *bytes, size_t length) {
  while (length) {
    ssize_t n = ::send(fd, bytes, length, MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}
inline bool WriteAll(int fd, const std::string &s) { return WriteAll(fd, s.data(), s.size()); }

// Reads one HTTP message (header, then Content-Length bytes of body) into out.
inline bool ReadMessage(int fd, std::string &out) {
  out.clear();
  size_t need = std::string::npos;
  char buffer[16384];
  while (need == std::string::npos || out.size() < need) {
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return need != std::string::npos && out.size() >= need;
    out.append(buffer, static_cast<size_t>(n));
    size_t end = out.find("\r\n\r\n");
    if (need == std::string::npos && end != std::string::npos) {
      size_t at = out.find("Content-Length:");
      if (at == std::string::npos || at > end) at = out.find("content-length:");
      need = end + 4 + ((at != std::string::npos && at < end) ? std::strtoul(out.c_str() + at + 15, nullptr, 10) : 0);
    }
  }
  return true;
}

inline std::string HttpAnswer(const std::string &body, int status = 200, const std::string &extraHeaders = "") {
  return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Status") +
         "\r\nContent-Type: text/xml; charset=utf-8\r\nConnection: close\r\n" + extraHeaders +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}


// The operation named by a request's SOAPAction header ("" when none).
inline std::string OperationOf(const std::string &request) {
  size_t at = request.find("SOAPAction: \"");
  if (at == std::string::npos) return "";
  size_t end = request.find('"', at + 13);
  size_t slash = request.rfind('/', end);
  return request.substr(slash + 1, end - slash - 1);
}

// A loopback server: each thread accepts a connection, reads one request,
// hands it to the handler (which writes whatever it likes) and closes.
class LoopbackServer {
 public:
  using Handler = std::function<void(int fd, const std::string &request)>;

  explicit LoopbackServer(Handler handler, int threads = 2) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr *>(&address), length);
    ::listen(listener_, 1024);
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Serve(); });
  }
  ~LoopbackServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    for (auto &t : threads_) t.join();
    ::close(listener_);
  }
  int port() const { return port_; }
  int connections() const { return connections_; }

 private:
  void Serve() {
    std::string request;
    while (!stopping_) {
      int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      ++connections_;
      if (ReadMessage(fd, request)) handler_(fd, request);
      ::close(fd);
    }
  }
  Handler handler_;
  int listener_ = -1, port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::vector<std::thread> threads_;
};

// A record between two canary zones.  Arm() notes the record's state before
// a call, so that a nonzero status can be checked to have left it alone.
template <class T>
struct Guarded {
  static constexpr unsigned char kCanary = 0xA5;
  unsigned char before[64];
  T value;
  unsigned char after[64];
  T initial;

  Guarded() {
    std::memset(static_cast<void *>(this), kCanary, sizeof *this);
  }
  void Arm() { std::memcpy(static_cast<void *>(&initial), &value, sizeof value); }
  bool ZonesIntact() const {
    for (size_t i = 0; i < sizeof before; ++i)
      if (before[i] != kCanary || after[i] != kCanary) return false;
    return true;
  }
  bool Unchanged() const { return std::memcmp(&initial, &value, sizeof value) == 0; }
};

inline ConnectionInfo Loopback(int port, bool https = false) { return ConnectionInfo{0, https, port, 0}; }

}  // namespace wstest

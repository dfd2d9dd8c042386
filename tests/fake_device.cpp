#include "fake_device.h"

#include "golden_file.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// Waits up to timeoutMs for fd to become ready for events.
bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  int ready;
  do ready = ::poll(&p, 1, timeoutMs);
  while (ready < 0 && errno == EINTR);
  return ready > 0;
}

bool SendAll(int fd, const char *data, size_t size) {
  while (size) {
    if (!WaitFor(fd, POLLOUT, 2000)) return false;
    ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

Reply Reply::File(const std::string &op) { return Ok(GoldenAnswer(op)); }

FakeDevice::FakeDevice(int port) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(port ? 15 : 0);
  for (;;) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && ::listen(fd, 16) == 0) {
      socklen_t length = sizeof address;
      ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
      listener_ = fd;
      port_ = ntohs(address.sin_port);
      break;
    }
    int error = errno;
    ::close(fd);
    if (error != EADDRINUSE || std::chrono::steady_clock::now() > deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  thread_ = std::thread([this] { Serve(); });
}

FakeDevice::~FakeDevice() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  for (int fd : held_) ::close(fd);
  if (listener_ >= 0) ::close(listener_);
}

void FakeDevice::Serve() {
  while (!stop_) {
    if (!WaitFor(listener_, POLLIN, 50)) continue;
    int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) Handle(fd);
  }
}

void FakeDevice::Handle(int fd) {
  Reply reply = Answer(ReadRequest([fd](char *buffer, size_t size) -> long {
    return WaitFor(fd, POLLIN, 3000) ? ::recv(fd, buffer, size, 0) : 0;
  }));
  if (reply.mode == Reply::Mode::Stall) {
    held_.push_back(fd);
    return;
  }
  std::string answer = reply.mode == Reply::Mode::Close ? std::string() : HttpAnswer(reply);
  if (reply.mode == Reply::Mode::Trickle) {
    // The header goes out at once, the body in chunks.
    size_t at = answer.size() - reply.body.size();
    SendAll(fd, answer.data(), at);
    for (; at < answer.size() && !stop_; at += reply.chunk) {
      if (!SendAll(fd, answer.data() + at, std::min(reply.chunk, answer.size() - at))) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(reply.intervalMs));
    }
  } else {
    SendAll(fd, answer.data(), answer.size());
  }
  if (reply.mode == Reply::Mode::KeepOpen) {
    held_.push_back(fd);
    return;
  }
  ::shutdown(fd, SHUT_WR);
  WaitFor(fd, POLLIN, 200);  // let the client read before the close
  ::close(fd);
}

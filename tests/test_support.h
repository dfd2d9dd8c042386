// Helpers shared by the test programs: record patterns, a refusing port, and
// (portable_support.h) answer envelopes and a timer.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "portable_support.h"

// A record filled with a byte pattern, to see afterwards what a call wrote.
// Copies need not keep padding bytes: fill in place where padding matters.
template <class T>
void FillPattern(T &record) {
  std::memset(static_cast<void *>(&record), 0xA5, sizeof record);
}

template <class T>
T Pattern() {
  T record;
  FillPattern(record);
  return record;
}

template <class T>
bool Untouched(const T &record) {
  T pattern;
  FillPattern(pattern);
  return std::memcmp(&record, &pattern, sizeof record) == 0;
}

// How often needle occurs in text.
inline size_t Count(const std::string &text, const std::string &needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

// Any non-null request for the exports that do not read theirs.
inline const int kAnyRequest = 0;

// A loopback port that refuses connections: bound, never listening.
class RefusingPort {
 public:
  RefusingPort() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
      port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { ::close(fd_); }
  RefusingPort(const RefusingPort &) = delete;
  RefusingPort &operator=(const RefusingPort &) = delete;
  int port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

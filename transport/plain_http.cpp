#include "plain_http.h"

#include <http_parser.h>
#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>

#include "webservice/Transport.h"

namespace ws {

namespace {

using Clock = std::chrono::steady_clock;

// The time an attempt may still wait: the idle limit of its phase, clipped to
// what is left of the whole attempt.
class Deadline {
 public:
  explicit Deadline(long totalMs) : limited_(totalMs > 0), end_(Clock::now() + std::chrono::milliseconds(totalMs)) {}

  // Milliseconds for one wait: -1 for no limit, 0 when time is up.
  int WaitMs(long idleMs) const {
    long wait = idleMs > 0 ? idleMs : -1;
    if (limited_) {
      long left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(end_ - Clock::now()).count());
      if (left < 0) left = 0;
      if (wait < 0 || left < wait) wait = left;
    }
    return static_cast<int>(wait);
  }

 private:
  bool limited_;
  Clock::time_point end_;
};

// Waits until fd is ready for events: 1 ready, 0 timed out, -1 failed.
int WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  int ready;
  do ready = ::poll(&p, 1, timeoutMs);
  while (ready < 0 && errno == EINTR);
  return ready;
}

// The same within the idle limit of a phase and the attempt's deadline; 0
// once the deadline has passed, however much the device keeps sending.
int WaitFor(int fd, short events, const Deadline &deadline, long idleMs) {
  const int timeoutMs = deadline.WaitMs(idleMs);
  return timeoutMs == 0 ? 0 : WaitFor(fd, events, timeoutMs);
}

CURLcode SendAll(int fd, std::string_view head, std::string_view body, long idleMs, const Deadline &deadline) {
  iovec parts[2] = {{const_cast<char *>(head.data()), head.size()}, {const_cast<char *>(body.data()), body.size()}};
  msghdr message{};
  message.msg_iov = parts;
  message.msg_iovlen = body.empty() ? 1 : 2;
  size_t left = head.size() + body.size();
  while (left > 0) {
    ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return CURLE_SEND_ERROR;
      int ready = WaitFor(fd, POLLOUT, deadline, idleMs);
      if (ready == 0) return CURLE_OPERATION_TIMEDOUT;
      if (ready < 0) return CURLE_SEND_ERROR;
      continue;
    }
    left -= static_cast<size_t>(sent);
    // Step over what went out.
    while (message.msg_iovlen > 0 && static_cast<size_t>(sent) >= message.msg_iov->iov_len) {
      sent -= static_cast<ssize_t>(message.msg_iov->iov_len);
      ++message.msg_iov;
      --message.msg_iovlen;
    }
    if (message.msg_iovlen > 0) {
      message.msg_iov->iov_base = static_cast<char *>(message.msg_iov->iov_base) + sent;
      message.msg_iov->iov_len -= static_cast<size_t>(sent);
    }
  }
  return CURLE_OK;
}

// What the parser callbacks fill.
struct Reading {
  PlainHttpAnswer *answer = nullptr;
  unsigned long long limit = 0;
  std::string reason;        // only while tracing
  std::string lines;         // header lines, only while tracing
  bool inValue = false;
  bool complete = false;     // the final answer has been read whole
};

Reading &ReadingOf(http_parser *parser) { return *static_cast<Reading *>(parser->data); }

int OnStatus(http_parser *parser, const char *at, size_t length) {
  Reading &r = ReadingOf(parser);
  if (r.answer->headers) r.reason.append(at, length);
  return 0;
}

int OnHeaderField(http_parser *parser, const char *at, size_t length) {
  Reading &r = ReadingOf(parser);
  if (!r.answer->headers) return 0;
  if (r.inValue) r.lines.append("\r\n");
  r.inValue = false;
  r.lines.append(at, length);
  return 0;
}

int OnHeaderValue(http_parser *parser, const char *at, size_t length) {
  Reading &r = ReadingOf(parser);
  if (!r.answer->headers) return 0;
  if (!r.inValue) r.lines.append(": ");
  r.inValue = true;
  r.lines.append(at, length);
  return 0;
}

bool IsInterim(const http_parser *parser) { return parser->status_code >= 100 && parser->status_code < 200; }

int OnHeadersComplete(http_parser *parser) {
  Reading &r = ReadingOf(parser);
  PlainHttpAnswer &answer = *r.answer;
  answer.status = parser->status_code;
  answer.body->Reset(r.limit);
  if (answer.headers) {
    char status[64];
    std::snprintf(status, sizeof status, "HTTP/%u.%u %u ", parser->http_major, parser->http_minor,
                  parser->status_code);
    answer.headers->assign(status).append(r.reason).append("\r\n").append(r.lines);
    if (r.inValue) answer.headers->append("\r\n");
    answer.headers->append("\r\n");
    r.reason.clear();
    r.lines.clear();
    r.inValue = false;
  }
  // Room for the whole announced body at once; an answer announced over the
  // limit ends here, before its body.
  const uint64_t announced = parser->content_length;
  if (announced != ULLONG_MAX && !IsInterim(parser) && !answer.body->Expect(announced)) return -1;
  return 0;
}

int OnBody(http_parser *parser, const char *at, size_t length) {
  return ReadingOf(parser).answer->body->Append(at, length) ? 0 : 1;
}

int OnMessageComplete(http_parser *parser) {
  // An interim answer (100 Continue) is followed by the real one; the first
  // real one is the answer, whatever follows it.
  if (IsInterim(parser)) return 0;
  ReadingOf(parser).complete = true;
  http_parser_pause(parser, 1);
  return 0;
}

const http_parser_settings kSettings = [] {
  http_parser_settings s{};
  s.on_status = OnStatus;
  s.on_header_field = OnHeaderField;
  s.on_header_value = OnHeaderValue;
  s.on_headers_complete = OnHeadersComplete;
  s.on_body = OnBody;
  s.on_message_complete = OnMessageComplete;
  return s;
}();

CURLcode ReadAnswer(int fd, const PlainHttpLimits &limits, const Deadline &deadline, PlainHttpAnswer &answer) {
  Reading reading;
  reading.answer = &answer;
  reading.limit = limits.answerLimit;
  http_parser parser;
  http_parser_init(&parser, HTTP_RESPONSE);
  parser.data = &reading;
  bool received = false;
  char buffer[16384];
  for (;;) {
    // The answer is rarely there the moment the request is out: wait first.
    int ready = WaitFor(fd, POLLIN, deadline, limits.receiveIdleMs);
    if (ready == 0) return CURLE_OPERATION_TIMEDOUT;
    if (ready < 0) return CURLE_RECV_ERROR;
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return CURLE_RECV_ERROR;  // a reset, before the status line as after it
    }
    if (n == 0) {
      if (!received) return CURLE_GOT_NOTHING;
      http_parser_execute(&parser, &kSettings, nullptr, 0);  // the end of the input
      if (reading.complete) return CURLE_OK;
      return answer.status ? CURLE_PARTIAL_FILE : CURLE_WEIRD_SERVER_REPLY;
    }
    received = true;
    http_parser_execute(&parser, &kSettings, buffer, static_cast<size_t>(n));
    if (reading.complete) return CURLE_OK;
    if (answer.body->tooLarge()) return CURLE_WRITE_ERROR;
    if (HTTP_PARSER_ERRNO(&parser) != HPE_OK) return CURLE_WEIRD_SERVER_REPLY;
  }
}

}  // namespace

CURLcode PlainHttpExchange(int fd, std::string_view head, std::string_view body, const PlainHttpLimits &limits,
                           PlainHttpAnswer &answer) {
  Deadline deadline(limits.totalMs);
  answer.status = 0;
  answer.body->Reset(limits.answerLimit);
  if (answer.headers) answer.headers->clear();
  CURLcode code = SendAll(fd, head, body, limits.sendIdleMs, deadline);
  return code == CURLE_OK ? ReadAnswer(fd, limits, deadline, answer) : code;
}

int ConnectTo(const sockaddr *address, socklen_t length, long timeoutMs, int *error) {
  int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    *error = WS_ERROR_CANNOT_CONNECT;
    return -1;
  }
  if (::connect(fd, address, length) == 0) return fd;
  *error = WS_ERROR_CANNOT_CONNECT;
  if (errno == EINPROGRESS) {
    int ready = WaitFor(fd, POLLOUT, timeoutMs > 0 ? static_cast<int>(timeoutMs) : -1);
    int failure = 0;
    socklen_t size = sizeof failure;
    if (ready > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 && failure == 0) return fd;
    if (ready == 0) *error = WS_ERROR_TIMEOUT;
  }
  ::close(fd);
  return -1;
}

void CloseSocket(int fd, bool reset) {
  if (fd < 0) return;
  if (reset) {
    linger abort{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  ::close(fd);
}

}  // namespace ws

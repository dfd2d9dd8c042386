// The direct path for http:// endpoints: the request goes out in one send on
// the socket the open hook connected, and the answer is read to its
// Content-Length, its last chunk or the close of the connection.  https
// stays with libcurl.
//
// Outcomes are given in libcurl's vocabulary (CURLcode), so that both paths
// share one mapping onto the platform error numbers and one retry loop.
#pragma once

#include <curl/curl.h>
#include <sys/socket.h>

#include <string>
#include <string_view>

#include "answer_buffer.h"

namespace ws {

struct PlainHttpLimits {
  long sendIdleMs = 0;     // 0: no idle limit while sending
  long receiveIdleMs = 0;  // 0: no idle limit while receiving
  long totalMs = 0;        // the whole attempt, whatever arrives; 0: none
  unsigned long long answerLimit = 0;  // body bytes; 0: none
};

struct PlainHttpAnswer {
  long status = 0;               // 0 when no status line arrived
  AnswerBuffer *body = nullptr;  // receives the body of the first final answer
  std::string *headers = nullptr;  // when set, receives the status line and header lines
};

// Writes head and body in one go on the connected, non-blocking socket fd and
// reads the answer into answer.  CURLE_OK with a status; CURLE_GOT_NOTHING when
// the device closed without a byte; CURLE_OPERATION_TIMEDOUT, CURLE_SEND_ERROR,
// CURLE_RECV_ERROR (also a reset before the status line), CURLE_WEIRD_SERVER_REPLY
// (not HTTP), CURLE_PARTIAL_FILE (closed before the announced end) or
// CURLE_WRITE_ERROR (answer too large, announced or grown).
CURLcode PlainHttpExchange(int fd, std::string_view head, std::string_view body, const PlainHttpLimits &limits,
                           PlainHttpAnswer &answer);

// Connects a new non-blocking socket to address within timeoutMs (0: no
// limit).  Returns the socket, or -1 with *error set to a platform error number.
int ConnectTo(const sockaddr *address, socklen_t length, long timeoutMs, int *error);

// Closes fd; after a failed exchange with a reset, so that nothing of a broken
// exchange lingers.
void CloseSocket(int fd, bool reset);

}  // namespace ws

// What the scripted fake devices of both platforms share (tests/fake_device.h
// on Linux, tests/windows/fake_device.h with Winsock): the replies, the
// script they are taken from with the requests recorded, and the HTTP framing
// of a request and an answer.  The sockets are the platform's.
#pragma once

#include <deque>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

struct Reply {
  enum class Mode { Answer, Close, Stall, Trickle, KeepOpen };
  Mode mode = Mode::Answer;
  int status = 200;
  std::string body;
  size_t chunk = 0;       // Trickle: body bytes per write (the header goes at once)
  int intervalMs = 0;     // Trickle: pause between writes
  std::string headers{};  // extra header lines, each ending in "\r\n"
  size_t announced = 0;   // Content-Length to announce when not 0 (then the body is cut short)

  static Reply Status(int status, std::string body) { return {Mode::Answer, status, std::move(body)}; }
  static Reply Ok(std::string body) { return Status(200, std::move(body)); }
  static Reply File(const std::string &op);  // the answer of tests/golden/<op>.txt with 200 (Linux)
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

// The replies to give, one a connection (the last one repeats), and the
// requests received so far.
class DeviceScript {
 public:
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

 protected:
  // Records a request and gives the reply for it.
  Reply Answer(std::string request) {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(std::move(request));
    Reply reply = replies_.front();
    if (replies_.size() > 1) replies_.pop_front();
    return reply;
  }

 private:
  std::mutex mutex_;
  std::deque<Reply> replies_{Reply::Close()};
  std::vector<std::string> requests_;
};

// Reads one request: the header up to the blank line and Content-Length
// bytes of body, or whatever arrived before the peer closed or went quiet.
// receive(buffer, size) gives the bytes read, 0 or less for closed or quiet.
template <class Receive>
std::string ReadRequest(Receive receive) {
  std::string data;
  size_t expected = std::string::npos;
  char buffer[4096];
  while (data.size() < expected) {
    const long n = receive(buffer, sizeof buffer);
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

// The whole answer of an Answer, Trickle or KeepOpen reply.
inline std::string HttpAnswer(const Reply &reply) {
  std::ostringstream out;
  out << "HTTP/1.1 " << reply.status << (reply.status == 200 ? " OK" : " Status") << "\r\n" << reply.headers;
  if (reply.status == 401) out << "WWW-Authenticate: Basic realm=\"device\"\r\n";
  if (!reply.body.empty()) out << "Content-Type: text/xml; charset=utf-8\r\n";
  out << "Content-Length: " << (reply.announced ? reply.announced : reply.body.size())
      << "\r\nConnection: close\r\n\r\n" << reply.body;
  return out.str();
}

#include "sim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <strings.h>
#include <unistd.h>

#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <deque>
#include <list>
#include <mutex>
#include <random>
#include <string_view>

#include "sim/device_state.h"
#include "sim/service.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBacklog = 1024;
constexpr int kSweepMs = 200;                  // how often deadlines are checked
constexpr auto kLinger = std::chrono::seconds(1);  // reading what a refused client still sends
constexpr size_t kReadChunk = 16384;
constexpr int kDrainChunks = 8;  // per wake-up

std::vector<ServiceFactory> &Registry() {
  static std::vector<ServiceFactory> registry;
  return registry;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The offset just past the blank line that ends an HTTP head, or 0 while it
// has not arrived; lines may end in CR LF or LF alone.
size_t HeadEnd(std::string_view text, size_t from) {
  for (size_t at = text.find('\n', from); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
    if (at + 2 < text.size() && text[at + 1] == '\r' && text[at + 2] == '\n') return at + 3;
  }
  return 0;
}

// What the head of a request says about reading it.
struct HeadFacts {
  size_t bodyLength = 0;
  std::string_view authorization;  // within the head
  bool expectsContinue = false;    // the client waits for a 100 before it sends the body
};

// Reads the facts from a head: 0 when the request can be read within the
// bounds, or the HTTP status that refuses it.  Only a stated length is read
// (no chunked transfer) and only an identity encoding: a compressed body
// could inflate far beyond the cap.
int CheckHead(std::string_view head, HeadFacts *facts) {
  bool haveLength = false;
  size_t length = 0;
  for (size_t at = head.find('\n'); at != std::string_view::npos && at + 1 < head.size();) {
    const size_t next = head.find('\n', at + 1);
    const std::string_view line = head.substr(at + 1, next == std::string_view::npos ? next : next - at - 1);
    at = next;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon), value = Trimmed(line.substr(colon + 1));
    if (SameLetters(name, "Content-Length")) {
      if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos) return 400;
      if (value.size() > 12) return 413;
      const size_t stated = std::stoull(std::string(value));
      if (haveLength && stated != length) return 400;
      haveLength = true;
      length = stated;
    } else if (SameLetters(name, "Transfer-Encoding")) {
      return 411;
    } else if (SameLetters(name, "Content-Encoding")) {
      if (!value.empty() && !SameLetters(value, "identity")) return 415;
    } else if (SameLetters(name, "Authorization")) {
      facts->authorization = value;
    } else if (SameLetters(name, "Expect")) {
      facts->expectsContinue = SameLetters(value, "100-continue");
    }
  }
  if (head.size() + length > kMaxRequestBytes) return 413;
  facts->bodyLength = length;
  return 0;
}

const char *ReasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Payload Too Large";
    case 415: return "Unsupported Media Type";
    case 431: return "Request Header Fields Too Large";
    default: return "Error";
  }
}

// A bare HTTP answer with an empty body.
std::string StatusAnswer(int status) {
  const char *extra = status == 401   ? "WWW-Authenticate: Basic realm=\"device\"\r\n"
                      : status == 200 ? "Content-Type: text/xml; charset=utf-8\r\n"
                                      : "";
  char head[256];
  const int length = std::snprintf(head, sizeof head,
                                   "HTTP/1.1 %d %s\r\n%sContent-Length: 0\r\nConnection: close\r\n\r\n", status,
                                   ReasonOf(status), extra);
  return std::string(head, static_cast<size_t>(length));
}

// The bytes of a base64 text; false when it is not base64.
bool DecodeBase64(std::string_view text, std::string *bytes) {
  if (text.empty() || text.size() % 4 || text.find_first_not_of(
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=") != std::string_view::npos)
    return false;
  bytes->resize(text.size() / 4 * 3);
  const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char *>(bytes->data()),
                                     reinterpret_cast<const unsigned char *>(text.data()), static_cast<int>(text.size()));
  const size_t padding = text.substr(text.size() - 2).find('=') == std::string_view::npos ? 0
                         : text.back() == '=' && text[text.size() - 2] == '='          ? 2
                                                                                       : 1;
  if (length < 0 || static_cast<size_t>(length) < padding) return false;
  bytes->resize(static_cast<size_t>(length) - padding);
  return true;
}

// Equal lengths and equal bytes, the bytes compared in a time that does not
// depend on where they differ.
bool SameSecret(std::string_view given, const std::string &expected) {
  return given.size() == expected.size() && CRYPTO_memcmp(given.data(), expected.data(), given.size()) == 0;
}

// True when an Authorization value holds exactly the configured Basic
// credentials: the whole decoded text, a zero byte being just another byte.
bool CredentialsMatch(std::string_view authorization, const Options &options) {
  const size_t space = authorization.find(' ');
  std::string decoded;
  if (space == std::string_view::npos || !SameLetters(authorization.substr(0, space), "Basic") ||
      !DecodeBase64(Trimmed(authorization.substr(space + 1)), &decoded))
    return false;
  const size_t colon = decoded.find(':');
  if (colon == std::string::npos) return false;
  const std::string_view text = decoded;
  const bool user = SameSecret(text.substr(0, colon), options.user);
  const bool password = SameSecret(text.substr(colon + 1), options.password);
  return user && password;
}

// Text from a request as the log shows it: control and non-ASCII bytes as
// \xNN, so that no request can drive the terminal.
std::string Printable(std::string_view text) {
  std::string shown;
  for (const unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f) {
      shown += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
    }
  }
  return shown;
}

}  // namespace

bool RegisterService(ServiceFactory factory) {
  Registry().push_back(factory);
  return true;
}

const std::vector<ServiceFactory> &RegisteredServices() { return Registry(); }

// What a worker's event loop waits on: a listener, a connection, or (null)
// the stop pipe.
struct Watched {
  bool listener;
};

struct Server::Listener : Watched {
  Listener() : Watched{true} {}
  int fd = -1;
  int port = 0;
  EndpointKind kind;
  bool tls;
  const char *path;
  size_t device;  // index of the device it serves
};

// One client connection, from accept to close.  Its request is read whole,
// without blocking, before anything parses it; then the answer is written
// without blocking.  Each phase has a deadline.
struct Server::Connection : Watched {
  enum class Phase {
    kHandshake,  // TLS
    kHead,       // reading up to the blank line
    kBody,       // reading the stated length
    kAnswer,     // writing
    kLinger,     // answered before the request was read: reading the rest away
    kStalled     // an injected stall: never answered
  };

  Connection(int socket, const Listener &from) : Watched{false}, fd(socket), listener(from) {}

  int fd;
  const Listener &listener;
  SSL *ssl = nullptr;
  Phase phase = Phase::kHead;
  uint32_t events = EPOLLIN;  // watched now
  Clock::time_point accepted = Clock::now();
  Clock::time_point deadline = accepted + std::chrono::seconds(kHeadSeconds);
  std::string in;            // the request so far
  size_t scanned = 0;        // of in, searched for the end of the head
  size_t headLength = 0;     // once known
  size_t requestLength = 0;  // head and body, once the head is known
  std::string authorization;  // the value of its Authorization line
  std::string out;           // the answer
  size_t sent = 0;
  bool unread = false;  // answered before the whole request was read
  std::list<Connection>::iterator self;
};

namespace {

// The exchange in progress together with its bytes: the request, read
// beforehand, and the answer, sent afterwards.
struct Transfer : Exchange {
  std::string_view request = {};
  std::string_view body = {};  // of request
  size_t read = 0;
  std::string *answer = nullptr;
};

}  // namespace

// One thread with its own SOAP context, service objects and event loop; it
// serves every connection it accepts.
class Server::Worker {
 public:
  explicit Worker(Server &server) : server_(server) {
    for (DeviceState *device : server.devices_) transfers_.push_back(Transfer{{*device, server.options_}});
    soap_init2(&soap_, SOAP_C_UTFSTRING, SOAP_C_UTFSTRING);
    Select(0);
    defaultResponse = soap_.fresponse;
    defaultParseHeader = soap_.fparsehdr;
    soap_.fresponse = &Worker::RecordStatus;
    soap_.fparsehdr = &Worker::ParseHeader;
    soap_.frecv = &Worker::Recv;
    soap_.fsend = &Worker::Send;
    soap_.fclose = &Worker::KeepOpen;  // the event loop closes connections
    soap_.fpoll = &Worker::Connected;
    soap_.fget = &ServeDescription;
    for (ServiceFactory factory : RegisteredServices()) services_.push_back(factory(&soap_));
    spareFd_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
  }

  ~Worker() {
    while (!connections_.empty()) Close(connections_.front());
    if (epoll_ >= 0) close(epoll_);
    if (spareFd_ >= 0) close(spareFd_);
    services_.clear();
    soap_destroy(&soap_);
    soap_end(&soap_);
    soap_done(&soap_);
  }

  // HTTPS: a server context holding the device's certificate and key.
  bool InitTls(std::string *error) {
    const Options &options = server_.options_;
    if (soap_ssl_server_context(&soap_, SOAP_SSL_NO_AUTHENTICATION | SOAP_TLSv1, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr) ||
        !soap_.ctx ||
        SSL_CTX_use_certificate_chain_file(soap_.ctx, options.tlsCert.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(soap_.ctx, options.tlsKey.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(soap_.ctx) != 1) {
      *error = "cannot use TLS certificate " + options.tlsCert + " with key " + options.tlsKey;
      return false;
    }
    // Each worker has its own TLS context; one session ticket key and one
    // session id context let a client resume its session on any worker.
    static unsigned char ticketKeys[80];
    static std::once_flag once;
    std::call_once(once, [] { RAND_bytes(ticketKeys, sizeof ticketKeys); });
    static const unsigned char kSessionContext[] = "webservice-sim";
    SSL_CTX_clear_options(soap_.ctx, SSL_OP_NO_TICKET);
    SSL_CTX_set_session_cache_mode(soap_.ctx, SSL_SESS_CACHE_SERVER);
    SSL_CTX_set_session_id_context(soap_.ctx, kSessionContext, sizeof kSessionContext - 1);
    SSL_CTX_set_tlsext_ticket_keys(soap_.ctx, ticketKeys, sizeof ticketKeys);
    return true;
  }

  // Waits on every listener and the stop pipe; the kernel wakes one idle
  // worker per pending connection.
  bool Watch(std::string *error) {
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    epoll_event stop{EPOLLIN, {nullptr}};
    bool ok = epoll_ >= 0 && !epoll_ctl(epoll_, EPOLL_CTL_ADD, server_.wakeFds_[0], &stop);
    for (const auto &listener : server_.listeners_) {
      epoll_event ready{EPOLLIN | EPOLLEXCLUSIVE, {static_cast<Watched *>(listener.get())}};
      ok = ok && !epoll_ctl(epoll_, EPOLL_CTL_ADD, listener->fd, &ready);
    }
    if (!ok) *error = std::string("cannot watch the listeners: ") + std::strerror(errno);
    return ok;
  }

  void Run() {
    epoll_event events[64];
    Clock::time_point swept = Clock::now();
    while (!server_.stopping_.load()) {
      const int count = epoll_wait(epoll_, events, 64, connections_.empty() ? -1 : kSweepMs);
      if (count < 0 && errno != EINTR) return;
      for (int i = 0; i < count; ++i) {
        Watched *watched = static_cast<Watched *>(events[i].data.ptr);
        if (!watched) return;
        if (watched->listener) Accept(*static_cast<Listener *>(watched));
        else Progress(*static_cast<Connection *>(watched));
      }
      if (Clock::now() - swept >= std::chrono::milliseconds(kSweepMs)) {
        swept = Clock::now();
        Sweep(swept);
      }
    }
  }

 private:
  // ---- connections ----

  void Accept(const Listener &listener) {
    const int fd = accept4(listener.fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if ((errno == EMFILE || errno == ENFILE) && spareFd_ >= 0) {
        // Out of descriptors: take the pending connection with the spare one
        // and drop it, rather than being woken for it again and again.
        close(spareFd_);
        const int dropped = accept(listener.fd, nullptr, nullptr);
        if (dropped >= 0) close(dropped);
        spareFd_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
      }
      return;
    }
    if (server_.devices_[listener.device]->maintenance.Rebooting()) return RefuseWhileRebooting(fd);
    connections_.emplace_back(fd, listener);
    Connection &connection = connections_.back();
    connection.self = std::prev(connections_.end());
    if (listener.tls) {
      connection.phase = Connection::Phase::kHandshake;
      connection.ssl = SSL_new(soap_.ctx);
      if (!connection.ssl || !SSL_set_fd(connection.ssl, fd)) return Close(connection);
      SSL_set_accept_state(connection.ssl);
    }
    epoll_event ready{connection.events, {static_cast<Watched *>(&connection)}};
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ready)) return Close(connection);
    Progress(connection);  // the request may be there already
  }

  void Close(Connection &connection) {
    if (connection.ssl) {
      // A finished handshake is closed properly, so that its session stays resumable.
      if (SSL_is_init_finished(connection.ssl)) SSL_shutdown(connection.ssl);
      SSL_free(connection.ssl);
      ERR_clear_error();
    }
    close(connection.fd);
    connections_.erase(connection.self);
  }

  // Watches a connection for events (EPOLLIN or EPOLLOUT).
  void Want(Connection &connection, uint32_t events) {
    if (connection.events == events) return;
    connection.events = events;
    epoll_event ready{events, {static_cast<Watched *>(&connection)}};
    epoll_ctl(epoll_, EPOLL_CTL_MOD, connection.fd, &ready);
  }

  // Moves a connection on as far as it can go without blocking.  Each step
  // returns false when the connection waits or is closed.
  void Progress(Connection &connection) {
    using Phase = Connection::Phase;
    if (connection.phase == Phase::kHandshake && !Handshake(connection)) return;
    if ((connection.phase == Phase::kHead || connection.phase == Phase::kBody) && !ReadRequest(connection)) return;
    if (connection.phase == Phase::kAnswer && !Flush(connection)) return;
    if (connection.phase == Phase::kLinger || connection.phase == Phase::kStalled) Drain(connection);
  }

  // Ends the connections whose phase has outlived its deadline; a client
  // still sending its request is told so.
  void Sweep(Clock::time_point now) {
    for (auto at = connections_.begin(); at != connections_.end();) {
      Connection &connection = *at++;
      if (now < connection.deadline) continue;
      if (connection.phase == Connection::Phase::kHead || connection.phase == Connection::Phase::kBody) {
        Reject(connection, 408);
        Progress(connection);
      } else {
        Close(connection);
      }
    }
  }

  // A byte count (>0), 0 when the connection ended, or -1 when it must wait
  // (and is watched for what it waits for).
  ssize_t Read(Connection &connection, char *data, size_t length) {
    if (connection.ssl) {
      ERR_clear_error();  // SSL_get_error reads this thread's queue
      const int got = SSL_read(connection.ssl, data, static_cast<int>(length));
      return got > 0 ? got : TlsWait(connection, got);
    }
    ssize_t got;
    while ((got = recv(connection.fd, data, length, 0)) < 0 && errno == EINTR) {
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Want(connection, EPOLLIN), -1;
    return got < 0 ? 0 : got;
  }

  ssize_t Write(Connection &connection, const char *data, size_t length) {
    if (connection.ssl) {
      ERR_clear_error();
      const int sent = SSL_write(connection.ssl, data, static_cast<int>(length));
      return sent > 0 ? sent : TlsWait(connection, sent);
    }
    ssize_t sent;
    while ((sent = send(connection.fd, data, length, MSG_NOSIGNAL)) < 0 && errno == EINTR) {
    }
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Want(connection, EPOLLOUT), -1;
    return sent < 0 ? 0 : sent;
  }

  ssize_t TlsWait(Connection &connection, int result) {
    switch (SSL_get_error(connection.ssl, result)) {
      case SSL_ERROR_WANT_READ:
        return Want(connection, EPOLLIN), -1;
      case SSL_ERROR_WANT_WRITE:
        return Want(connection, EPOLLOUT), -1;
      default:
        return 0;
    }
  }

  bool Handshake(Connection &connection) {
    ERR_clear_error();
    const int done = SSL_do_handshake(connection.ssl);
    if (done == 1) {
      connection.phase = Connection::Phase::kHead;
      return true;
    }
    if (TlsWait(connection, done) == 0) Close(connection);
    return false;
  }

  // Reads until the request is complete (then answers it) or refused.
  bool ReadRequest(Connection &connection) {
    char chunk[kReadChunk];
    for (;;) {
      const ssize_t got = Read(connection, chunk, sizeof chunk);
      if (got < 0) return false;
      if (got == 0) return Close(connection), false;  // the client gave up
      connection.in.append(chunk, static_cast<size_t>(got));
      if (connection.phase == Connection::Phase::kHead) {
        const size_t end = HeadEnd(connection.in, connection.scanned);
        if (!end) {
          if (connection.in.size() > kMaxHeadBytes) return Reject(connection, 431), true;
          connection.scanned = connection.in.size() > 2 ? connection.in.size() - 2 : 0;
          continue;
        }
        HeadFacts facts;
        if (const int status = CheckHead(std::string_view(connection.in).substr(0, end), &facts))
          return Reject(connection, status), true;
        connection.authorization.assign(facts.authorization);
        connection.headLength = end;
        connection.requestLength = end + facts.bodyLength;
        connection.in.reserve(connection.requestLength);
        if (facts.expectsContinue && connection.in.size() < connection.requestLength) {
          static const char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
          Write(connection, kContinue, sizeof kContinue - 1);
        }
        connection.phase = Connection::Phase::kBody;
        connection.deadline = connection.accepted + std::chrono::seconds(kRequestSeconds);
      }
      if (connection.in.size() >= connection.requestLength) return Answer(connection), true;
    }
  }

  // Answers a request that cannot be read whole.
  void Reject(Connection &connection, int status) {
    Select(connection.listener.device);
    transfer_->status = status;
    transfer_->resultCode = -1;
    Log("-", "-");
    connection.out = StatusAnswer(status);
    connection.unread = true;
    connection.phase = Connection::Phase::kAnswer;
    connection.deadline = Clock::now() + std::chrono::seconds(kAnswerSeconds);
  }

  bool Flush(Connection &connection) {
    while (connection.sent < connection.out.size()) {
      const ssize_t sent =
          Write(connection, connection.out.data() + connection.sent, connection.out.size() - connection.sent);
      if (sent < 0) return false;
      if (sent == 0) return Close(connection), false;
      connection.sent += static_cast<size_t>(sent);
    }
    if (!connection.unread || connection.ssl) return Close(connection), false;
    // Closing with unread bytes would reset the connection before the client
    // has read the answer: end the sending side and read the rest away.
    shutdown(connection.fd, SHUT_WR);
    connection.phase = Connection::Phase::kLinger;
    connection.deadline = Clock::now() + kLinger;
    Want(connection, EPOLLIN);
    return true;
  }

  // Reads and drops what has arrived, a few chunks at a time so that a fast
  // sender cannot keep the worker from its other connections; closes when
  // the client does.
  void Drain(Connection &connection) {
    char chunk[kReadChunk];
    for (int i = 0; i < kDrainChunks; ++i) {
      const ssize_t got = Read(connection, chunk, sizeof chunk);
      if (got < 0) return;
      if (got == 0) return Close(connection);
    }
  }

  // ---- the exchange ----

  // Serves a complete request through the SOAP runtime.
  void Answer(Connection &connection) {
    Select(connection.listener.device);
    transfer_->request = std::string_view(connection.in).substr(0, connection.requestLength);
    transfer_->body = transfer_->request.substr(connection.headLength);
    transfer_->read = 0;
    transfer_->answer = &connection.out;
    transfer_->kind = connection.listener.kind;
    transfer_->tls = connection.ssl != nullptr;
    transfer_->resultCode = -1;
    transfer_->status = 0;
    operation_ = path_ = "-";
    authorization_ = connection.authorization;
    stall_ = false;
    soap_.socket = connection.fd;
    soap_.keep_alive = 0;
    soap_.recv_timeout = soap_.send_timeout = 0;
    Handle(connection.listener);
    soap_destroy(&soap_);
    soap_end(&soap_);
    soap_.socket = SOAP_INVALID_SOCKET;
    Log(operation_, path_);
    NoteExchange(transfer_->device, operation_, transfer_->status, transfer_->resultCode);
    transfer_->answer = nullptr;
    std::string().swap(connection.in);
    connection.authorization.clear();
    if (stall_) {
      connection.out.clear();
      connection.phase = Connection::Phase::kStalled;
      connection.deadline = Clock::time_point::max();
    } else {
      connection.phase = Connection::Phase::kAnswer;
      connection.deadline = Clock::now() + std::chrono::seconds(kAnswerSeconds);
    }
  }

  void Log(std::string_view operation, std::string_view path) {
    if (server_.options_.verbose)
      std::fprintf(stderr, "webservice-sim: %s %s status=%d resultCode=%d\n", Printable(operation).c_str(),
                   Printable(path).c_str(), transfer_->status, transfer_->resultCode);
  }

  // Notes the HTTP status of every answer gSOAP writes.
  static int RecordStatus(struct soap *soap, int status, ULONG64 count) {
    ExchangeOf(soap).status = status == SOAP_OK ? 200 : (status >= 100 && status < 600 ? status : 500);
    return defaultResponse(soap, status, count);
  }

  // The event loop has answered an Expect line already, before it read the body.
  static int ParseHeader(struct soap *soap, const char *key, const char *value) {
    return strcasecmp(key, "Expect") ? defaultParseHeader(soap, key, value) : SOAP_OK;
  }

  static Transfer &TransferOf(struct soap *soap) { return static_cast<Transfer &>(ExchangeOf(soap)); }

  // The runtime reads the request from memory and writes the answer there.
  static size_t Recv(struct soap *soap, char *data, size_t length) {
    Transfer &transfer = TransferOf(soap);
    const size_t got = std::min(length, transfer.request.size() - transfer.read);
    std::memcpy(data, transfer.request.data() + transfer.read, got);
    transfer.read += got;
    return got;
  }

  static int Send(struct soap *soap, const char *data, size_t length) {
    TransferOf(soap).answer->append(data, length);
    return SOAP_OK;
  }

  static int KeepOpen(struct soap *) { return SOAP_OK; }
  static int Connected(struct soap *) { return SOAP_OK; }

  static int (*defaultResponse)(struct soap *, int, ULONG64);
  static int (*defaultParseHeader)(struct soap *, const char *, const char *);

  // A rebooting device takes no connections: reset at once, nothing read.
  static void RefuseWhileRebooting(int fd) {
    const linger reset{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(fd);
  }

  // One request: path, credentials, injected failure, then the services.
  void Handle(const Listener &listener) {
    const Options &options = server_.options_;
    struct soap *soap = &soap_;
    soap_begin(soap);
    soap->userid = soap->passwd = nullptr;
    if (soap_begin_recv(soap)) return Fault();
    path_ = soap->path;
    if (soap->action) {  // names the operation in the log until the body does
      const char *slash = std::strrchr(soap->action, '/');
      operation_ = slash ? slash + 1 : soap->action;
    }
    if (path_ != listener.path) return Refuse(404);
    if (options.requireAuth && !CredentialsMatch(authorization_, options)) return Refuse(401);
    // A body that is not well-formed is the client's fault; so is an Envelope
    // of a namespace other than SOAP's, which the runtime takes for no
    // envelope at all.
    const std::string problem = XmlProblem(transfer_->body);
    if (!problem.empty()) {
      soap->version = 1;  // its own envelope unread: a SOAP 1.1 fault
      soap_sender_fault(soap, ("The request is not well-formed XML: " + problem).c_str(), nullptr);
      return Fault();
    }
    if (soap_envelope_begin_in(soap)) {
      const char *colon = std::strchr(soap->tag, ':');
      if (std::strcmp(colon ? colon + 1 : soap->tag, "Envelope") == 0) soap->error = SOAP_VERSIONMISMATCH;
      return Fault();
    }
    if (soap_recv_header(soap) || soap_body_begin_in(soap)) return Fault();
    soap_peek_element(soap);
    const char *colon = std::strchr(soap->tag, ':');
    operation_ = colon ? colon + 1 : soap->tag;

    const auto failure = options.failures.find(operation_);
    switch (failure == options.failures.end() ? FailMode::kNone : failure->second) {
      case FailMode::kNone:
        return Dispatch();
      case FailMode::kStatus401:
        return Refuse(401);
      case FailMode::kStatus407:
        return Refuse(407);
      case FailMode::kEmpty:
        return Refuse(200);
      case FailMode::kStall:
        stall_ = true;
        return;
      case FailMode::kFaultClient:
        soap_sender_fault(soap, "Simulated client fault", nullptr);
        return Fault();
      case FailMode::kFaultServer:
        soap_receiver_fault(soap, "Simulated server fault", nullptr);
        return Fault();
    }
  }

  // Every registered service in turn until one knows the operation.
  void Dispatch() {
    int error = SOAP_NO_METHOD;
    for (auto &service : services_) {
      soap_.error = SOAP_OK;
      if ((error = service->Dispatch(&soap_)) != SOAP_NO_METHOD) break;
    }
    if (error && error < SOAP_STOP) Fault();
  }

  void Fault() {
    if (soap_.error != SOAP_EOF) soap_send_fault(&soap_);
  }

  // Answers a bare HTTP status with an empty body.
  void Refuse(int status) {
    const std::string answer = StatusAnswer(status);
    if (soap_.fsend(&soap_, answer.data(), answer.size()) == SOAP_OK) transfer_->status = status;
  }

  // The exchange (and so the device) that the next request goes to.
  void Select(size_t device) {
    transfer_ = &transfers_[device];
    soap_.user = static_cast<Exchange *>(transfer_);
  }

  Server &server_;
  struct soap soap_;
  std::deque<Transfer> transfers_;  // one per device
  Transfer *transfer_ = nullptr;
  std::vector<std::unique_ptr<ServiceEndpoint>> services_;
  std::list<Connection> connections_;
  int epoll_ = -1;
  int spareFd_ = -1;  // given up to accept (and drop) a connection when out of descriptors
  std::string_view authorization_;  // of the request in progress
  bool stall_ = false;              // the request in progress is never answered
  std::string operation_, path_;    // for the log
};

int (*Server::Worker::defaultResponse)(struct soap *, int, ULONG64) = nullptr;
int (*Server::Worker::defaultParseHeader)(struct soap *, const char *, const char *) = nullptr;

Server::Server(const Options &options, DeviceState &device) : Server(options, std::vector<DeviceState *>{&device}) {}

Server::Server(const Options &options, std::vector<DeviceState *> devices)
    : options_(options), devices_(std::move(devices)) {}

Server::~Server() { Stop(); }

int Server::PortOf(EndpointKind kind) const {
  for (const auto &listener : listeners_)
    if (listener->kind == kind) return listener->port;
  return 0;
}

bool Server::Listen(EndpointKind kind, int port, bool tls, size_t device, std::string *error) {
  addrinfo hints{};
  hints.ai_flags = AI_PASSIVE;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(options_.bind.c_str(), service.c_str(), &hints, &found) || !found) {
    *error = "cannot resolve bind address " + options_.bind;
    return false;
  }
  auto listener = std::make_unique<Listener>();
  listener->kind = kind;
  listener->tls = tls;
  listener->path = kind == EndpointKind::kSoapPath ? "/soap" : "/";
  listener->device = device;
  listener->fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  const bool ok = listener->fd >= 0 && !setsockopt(listener->fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) &&
                  !bind(listener->fd, found->ai_addr, found->ai_addrlen) && !listen(listener->fd, kBacklog);
  freeaddrinfo(found);
  sockaddr_storage bound{};
  socklen_t boundLength = sizeof bound;
  if (!ok || getsockname(listener->fd, reinterpret_cast<sockaddr *>(&bound), &boundLength)) {
    *error = "cannot listen on " + options_.bind + ":" + service + ": " + std::strerror(errno);
    if (listener->fd >= 0) close(listener->fd);
    return false;
  }
  listener->port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6 &>(bound).sin6_port
                                                     : reinterpret_cast<sockaddr_in &>(bound).sin_port);
  listeners_.push_back(std::move(listener));
  return true;
}

bool Server::Start(std::string *error) {
  if (!options_.onlyPort81) {
    if (!ListenFleet(error)) return false;
    if (options_.rootPort >= 0 && !Listen(EndpointKind::kRoot, options_.rootPort, false, 0, error)) return false;
  }
  std::string port81Error;
  if ((options_.port81 || options_.onlyPort81) && !Listen(EndpointKind::kPort81, 81, false, 0, &port81Error) &&
      options_.onlyPort81) {
    *error = port81Error;
    return false;
  }
  if (pipe2(wakeFds_, O_CLOEXEC)) {
    *error = "cannot create pipe";
    return false;
  }
  for (int i = 0; i < options_.threads; ++i) {
    workers_.push_back(std::make_unique<Worker>(*this));
    if (!workers_.back()->Watch(error) || (tls() && !workers_.back()->InitTls(error))) return false;
  }
  for (auto &worker : workers_) threads_.emplace_back(&Worker::Run, worker.get());
  return true;
}

// The /soap listeners of every device on consecutive ports.  With port 0 a
// single device takes the port the system picks; a fleet tries first ports
// at random below the system's range for outgoing connections (32768 and
// up), where a run of ports is unlikely to meet a client's, and starts over
// when one of its ports is taken.
bool Server::ListenFleet(std::string *error) {
  const size_t before = listeners_.size();
  const int count = static_cast<int>(devices_.size());
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 50; ++attempt) {
    int first = options_.port;
    if (first == 0 && count > 1)
      first = std::uniform_int_distribution<int>(10000, std::max(10000, 32767 - count))(random);
    bool ok = first + count - 1 <= 65535;
    for (int i = 0; ok && i < count; ++i) {
      ok = Listen(EndpointKind::kSoapPath, i == 0 ? first : listeners_[before]->port + i, tls(),
                  static_cast<size_t>(i), error);
    }
    if (ok) return true;
    while (listeners_.size() > before) {
      close(listeners_.back()->fd);
      listeners_.pop_back();
    }
    if (options_.port != 0) break;
  }
  if (error->empty()) *error = "no run of " + std::to_string(count) + " free ports";
  return false;
}

void Server::Stop() {
  if (!stopping_.exchange(true)) {
    if (wakeFds_[1] >= 0 && write(wakeFds_[1], "x", 1) < 0) std::perror("webservice-sim: wake");
  }
  for (std::thread &thread : threads_) thread.join();
  threads_.clear();
  workers_.clear();
  for (const auto &listener : listeners_) close(listener->fd);
  listeners_.clear();
  for (int &fd : wakeFds_) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

}  // namespace sim

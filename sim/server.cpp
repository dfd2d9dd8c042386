#include "sim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/rand.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <mutex>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/device_state.h"
#include "sim/service.h"

namespace sim {
namespace {

constexpr int kBacklog = 1024;
constexpr int kIoTimeoutSeconds = 10;  // a silent client frees its worker after this
constexpr int kStallPollMs = 250;

std::vector<ServiceFactory> &Registry() {
  static std::vector<ServiceFactory> registry;
  return registry;
}

}  // namespace

bool RegisterService(ServiceFactory factory) {
  Registry().push_back(factory);
  return true;
}

const std::vector<ServiceFactory> &RegisteredServices() { return Registry(); }

struct Server::Listener {
  int fd = -1;
  int port = 0;
  EndpointKind kind;
  bool tls;
  const char *path;
};

// One thread with its own SOAP context and service objects, reused for every
// connection it serves.
class Server::Worker {
 public:
  explicit Worker(Server &server) : server_(server), exchange_{server.device_, server.options_} {
    soap_init2(&soap_, SOAP_C_UTFSTRING, SOAP_C_UTFSTRING);
    soap_.user = &exchange_;
    defaultResponse = soap_.fresponse;
    defaultRecv = soap_.frecv;
    defaultSend = soap_.fsend;
    soap_.fresponse = &Worker::RecordStatus;
    soap_.frecv = &Worker::Recv;
    soap_.fsend = &Worker::Send;
    soap_.fget = &ServeDescription;
    for (ServiceFactory factory : RegisteredServices()) services_.push_back(factory(&soap_));
  }

  ~Worker() {
    if (epoll_ >= 0) close(epoll_);
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
      epoll_event ready{EPOLLIN | EPOLLEXCLUSIVE, {listener.get()}};
      ok = ok && !epoll_ctl(epoll_, EPOLL_CTL_ADD, listener->fd, &ready);
    }
    if (!ok) *error = std::string("cannot watch the listeners: ") + std::strerror(errno);
    return ok;
  }

  void Run() {
    epoll_event events[4];
    while (!server_.stopping_.load()) {
      const int count = epoll_wait(epoll_, events, 4, -1);
      if (count < 0 && errno != EINTR) return;
      for (int i = 0; i < count; ++i) {
        const Listener *listener = static_cast<const Listener *>(events[i].data.ptr);
        if (!listener) return;
        const int fd = accept4(listener->fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0 && server_.device_.maintenance.Rebooting()) RefuseWhileRebooting(fd);
        else if (fd >= 0) Serve(fd, *listener);
        else if (errno == EMFILE || errno == ENFILE) usleep(10000);  // let other workers close some
      }
    }
  }

  // Unblocks the exchange in progress when stopping.  Racing with the worker,
  // it may hit a connection accepted just now, which stopping ends anyway.
  void Interrupt() {
    const int fd = active_.load();
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
  }

 private:
  // Notes the HTTP status of every answer gSOAP writes.
  static int RecordStatus(struct soap *soap, int status, ULONG64 count) {
    ExchangeOf(soap).status = status == SOAP_OK ? 200 : (status >= 100 && status < 600 ? status : 500);
    return defaultResponse(soap, status, count);
  }

  // Plain connections read and write the socket directly: its kernel time-outs
  // (set on the listener) end a silent exchange, where gSOAP's own time-outs
  // would poll before every read and write.  TLS keeps gSOAP's I/O.
  static size_t Recv(struct soap *soap, char *data, size_t length) {
    if (soap->ssl) return defaultRecv(soap, data, length);
    ssize_t got;
    while ((got = recv(soap->socket, data, length, 0)) < 0 && errno == EINTR) {
    }
    if (got < 0) soap->errnum = errno;
    return got < 0 ? 0 : static_cast<size_t>(got);
  }

  static int Send(struct soap *soap, const char *data, size_t length) {
    if (soap->ssl) return defaultSend(soap, data, length);
    while (length) {
      const ssize_t sent = send(soap->socket, data, length, MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0) return soap->errnum = errno, SOAP_EOF;
      data += sent;
      length -= static_cast<size_t>(sent);
    }
    return SOAP_OK;
  }

  static int (*defaultResponse)(struct soap *, int, ULONG64);
  static size_t (*defaultRecv)(struct soap *, char *, size_t);
  static int (*defaultSend)(struct soap *, const char *, size_t);

  void Serve(int fd, const Listener &listener) {
    active_.store(fd);
    soap_.socket = fd;
    soap_.keep_alive = 0;
    soap_.recv_timeout = soap_.send_timeout = listener.tls ? kIoTimeoutSeconds : 0;
    exchange_.kind = listener.kind;
    exchange_.resultCode = -1;
    exchange_.status = 0;
    operation_ = path_ = "-";
    if (!server_.stopping_.load() && (!listener.tls || soap_ssl_accept(&soap_) == SOAP_OK)) Handle(listener);
    if (server_.options_.verbose)
      std::fprintf(stderr, "webservice-sim: %s %s status=%d resultCode=%d\n", operation_.c_str(), path_.c_str(),
                   exchange_.status, exchange_.resultCode);
    NoteExchange(server_.device_, operation_, exchange_.status, exchange_.resultCode);
    soap_destroy(&soap_);
    soap_end(&soap_);
    active_.store(-1);
    if (soap_valid_socket(soap_.socket)) soap_force_closesock(&soap_);
    soap_.socket = SOAP_INVALID_SOCKET;
  }

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
    headerBytes_ = soap->count - (soap->buflen - soap->bufidx);
    if (path_ != listener.path) return Refuse(404, "Not Found");
    if (options.requireAuth && !(soap->userid && soap->passwd && options.user == soap->userid &&
                                 options.password == soap->passwd))
      return Refuse(401, "Unauthorized");
    if (soap_envelope_begin_in(soap) || soap_recv_header(soap) || soap_body_begin_in(soap)) return Fault();
    soap_peek_element(soap);
    const char *colon = std::strchr(soap->tag, ':');
    operation_ = colon ? colon + 1 : soap->tag;

    const auto failure = options.failures.find(operation_);
    switch (failure == options.failures.end() ? FailMode::kNone : failure->second) {
      case FailMode::kNone:
        return Dispatch();
      case FailMode::kStatus401:
        return Refuse(401, "Unauthorized");
      case FailMode::kStatus407:
        return Refuse(407, "Proxy Authentication Required");
      case FailMode::kEmpty:
        return Refuse(200, "OK");
      case FailMode::kStall:
        Discard();
        return Stall();
      case FailMode::kFaultClient:
        Discard();
        soap_sender_fault(soap, "Simulated client fault", nullptr);
        return Fault();
      case FailMode::kFaultServer:
        Discard();
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

  // Reads what is left of the request body, so that closing does not reset
  // the connection before the client has read the answer.
  void Discard() {
    char scratch[4096];
    for (ULONG64 received = soap_.count - headerBytes_; received < soap_.length;) {
      const size_t got = soap_.frecv(&soap_, scratch, std::min<ULONG64>(sizeof scratch, soap_.length - received));
      if (!got) return;
      received += got;
    }
  }

  // Answers a bare HTTP status with an empty body.
  void Refuse(int status, const char *reason) {
    Discard();
    const char *challenge = status == 401   ? "WWW-Authenticate: Basic realm=\"device\"\r\n"
                            : status == 200 ? "Content-Type: text/xml; charset=utf-8\r\n"
                                            : "";
    char head[256];
    const int length = std::snprintf(head, sizeof head,
                                     "HTTP/1.1 %d %s\r\n%sContent-Length: 0\r\nConnection: close\r\n\r\n", status,
                                     reason, challenge);
    if (soap_.fsend(&soap_, head, static_cast<size_t>(length)) == SOAP_OK) exchange_.status = status;
  }

  // Never answers; returns when the client closes or the server stops.
  void Stall() {
    char scratch[1024];
    while (!server_.stopping_.load()) {
      pollfd waiting{soap_.socket, POLLIN, 0};
      const int ready = poll(&waiting, 1, kStallPollMs);
      if (ready < 0 && errno != EINTR) return;
      if (ready > 0 && recv(soap_.socket, scratch, sizeof scratch, 0) <= 0) return;
    }
  }

  Server &server_;
  struct soap soap_;
  Exchange exchange_;
  std::vector<std::unique_ptr<ServiceEndpoint>> services_;
  int epoll_ = -1;
  std::atomic<int> active_{-1};
  ULONG64 headerBytes_ = 0;  // of the request in progress
  std::string operation_, path_;  // for the log
};

int (*Server::Worker::defaultResponse)(struct soap *, int, ULONG64) = nullptr;
size_t (*Server::Worker::defaultRecv)(struct soap *, char *, size_t) = nullptr;
int (*Server::Worker::defaultSend)(struct soap *, const char *, size_t) = nullptr;

Server::Server(const Options &options, DeviceState &device) : options_(options), device_(device) {}

Server::~Server() { Stop(); }

int Server::PortOf(EndpointKind kind) const {
  for (const auto &listener : listeners_)
    if (listener->kind == kind) return listener->port;
  return 0;
}

bool Server::Listen(EndpointKind kind, int port, bool tls, std::string *error) {
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
  listener->fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  const timeval timeout{kIoTimeoutSeconds, 0};  // accepted sockets inherit these
  const bool ok = listener->fd >= 0 && !setsockopt(listener->fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) &&
                  (tls || (!setsockopt(listener->fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) &&
                           !setsockopt(listener->fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout))) &&
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
    if (!Listen(EndpointKind::kSoapPath, options_.port, tls(), error)) return false;
    if (options_.rootPort >= 0 && !Listen(EndpointKind::kRoot, options_.rootPort, false, error)) return false;
  }
  std::string port81Error;
  if ((options_.port81 || options_.onlyPort81) && !Listen(EndpointKind::kPort81, 81, false, &port81Error) &&
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

void Server::Stop() {
  if (!stopping_.exchange(true)) {
    if (wakeFds_[1] >= 0 && write(wakeFds_[1], "x", 1) < 0) std::perror("webservice-sim: wake");
    for (auto &worker : workers_) worker->Interrupt();
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

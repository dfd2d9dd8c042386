// The simulator's network side: listeners, a pool of worker threads that each
// accept many connections and serve them from one event loop, and the
// handling of one HTTP exchange (path, credentials, injected failures, then
// the services' dispatch).
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sim {

class DeviceState;

// Bounds on every request, whatever the client does.  A worker reads the
// whole request before it parses any of it; a client that is slower than
// these, or sends more, is answered 408, 411, 413, 415 or 431 and
// disconnected.
constexpr size_t kMaxRequestBytes = size_t{1} << 20;  // head and body
constexpr size_t kMaxHeadBytes = 64 * 1024;
constexpr int kHeadSeconds = 3;      // from the connection to the end of the head (TLS handshake included)
constexpr int kRequestSeconds = 10;  // from the connection to the end of the body
constexpr int kAnswerSeconds = 10;   // to write the answer

// How a request reached the device; the values of the client's endpoint kinds.
enum class EndpointKind { kSoapPath = 0, kPort81 = 1, kRoot = 2 };

// A failure to inject for one operation (--fail OP:MODE).
enum class FailMode { kNone, kStatus401, kStatus407, kStall, kFaultClient, kFaultServer, kEmpty };

struct Options {
  std::string bind = "127.0.0.1";
  int port = 8080;      // path /soap; 0 picks a free port
  int rootPort = -1;    // path /; -1 not served, 0 picks a free port
  bool port81 = true;   // path / on port 81 when it can be bound
  bool onlyPort81 = false;
  std::string tlsCert, tlsKey;
  bool requireAuth = false;
  std::string user, password;
  int generatedUsers = 0;
  std::map<std::string, FailMode, std::less<>> failures;
  bool emptyVersionOnSoapPath = false;
  int rebootSeconds = 2;  // connections refused after a Reboot
  int threads = 8;
  bool verbose = false;
  int devices = 1;          // served on consecutive /soap ports from port
  std::string stateFile;    // settings loaded at start, saved on a clean stop

};

// Why a request body is not well-formed XML (an end tag that does not match
// its element, a '<' that begins no element, a body that ends inside an
// element, ...), or "" when it is; the answer never quotes the body.
std::string XmlProblem(std::string_view xml);

class Server {
 public:
  // One device, or a fleet: device i answers on the /soap port of the first
  // plus i; the root path and port 81 serve the first device.
  Server(const Options &options, DeviceState &device);
  Server(const Options &options, std::vector<DeviceState *> devices);
  ~Server();
  Server(const Server &) = delete;
  Server &operator=(const Server &) = delete;

  // Binds the listeners and starts the threads; false with a reason on failure.
  bool Start(std::string *error);
  // Stops accepting, ends the exchanges in progress and joins every thread.
  void Stop();

  // The bound port of each listener, 0 when it is not served.
  int port() const { return PortOf(EndpointKind::kSoapPath); }
  int lastPort() const { return port() ? port() + static_cast<int>(devices_.size()) - 1 : 0; }
  int rootPort() const { return PortOf(EndpointKind::kRoot); }
  bool port81() const { return PortOf(EndpointKind::kPort81) != 0; }
  bool tls() const { return !options_.tlsCert.empty(); }

 private:
  struct Listener;
  struct Connection;
  class Worker;

  int PortOf(EndpointKind kind) const;
  bool Listen(EndpointKind kind, int port, bool tls, size_t device, std::string *error);
  bool ListenFleet(std::string *error);

  const Options &options_;
  std::vector<DeviceState *> devices_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<std::thread> threads_;
  int wakeFds_[2] = {-1, -1};  // readable once stopping
  std::atomic<bool> stopping_{false};
};

}  // namespace sim

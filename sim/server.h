// The simulator's network side: listeners, a pool of worker threads that each
// accept and serve connections, and the handling of one HTTP exchange (path, credentials, injected failures, then
// the services' dispatch).
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class DeviceState;

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
};

class Server {
 public:
  Server(const Options &options, DeviceState &device);
  ~Server();
  Server(const Server &) = delete;
  Server &operator=(const Server &) = delete;

  // Binds the listeners and starts the threads; false with a reason on failure.
  bool Start(std::string *error);
  // Stops accepting, ends the exchanges in progress and joins every thread.
  void Stop();

  // The bound port of each listener, 0 when it is not served.
  int port() const { return PortOf(EndpointKind::kSoapPath); }
  int rootPort() const { return PortOf(EndpointKind::kRoot); }
  bool port81() const { return PortOf(EndpointKind::kPort81) != 0; }
  bool tls() const { return !options_.tlsCert.empty(); }

 private:
  struct Listener;
  class Worker;

  int PortOf(EndpointKind kind) const;
  bool Listen(EndpointKind kind, int port, bool tls, std::string *error);

  const Options &options_;
  DeviceState &device_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<std::thread> threads_;
  int wakeFds_[2] = {-1, -1};  // readable once stopping
  std::atomic<bool> stopping_{false};
};

}  // namespace sim

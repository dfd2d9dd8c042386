// Starts the device simulator as a child process and stops it again.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#ifndef WS_SIM_PATH
#define WS_SIM_PATH "webservice-sim"  // not built: the start fails, ready() is false
#endif

namespace {

// One simulator process; its ready line tells the ports it serves.
class Simulator {
 public:
  // logPath, when given, receives the simulator's standard error.
  explicit Simulator(std::vector<std::string> args, const std::string &logPath = "") {
    int out[2];
    if (::pipe2(out, O_CLOEXEC)) return;
    args.insert(args.begin(), WS_SIM_PATH);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the test
      ::dup2(out[1], STDOUT_FILENO);
      int log = logPath.empty() ? -1 : ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (log >= 0) ::dup2(log, STDERR_FILENO);
      std::vector<char *> argv;
      for (std::string &arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1) line += c;
    ::close(out[0]);
    char port81[8] = "";
    ready_ = std::sscanf(line.c_str(), "webservice-sim ready port=%d root-port=%d port81=%3s", &port_, &rootPort_,
                         port81) == 3;
    port81_ = std::string(port81) == "yes";
    line_ = line;
  }

  // Stops the simulator; returns its exit status (0 for a clean stop).
  int Stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) ::usleep(50000);
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      status = -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Simulator() { Stop(); }

  bool ready() const { return ready_; }
  int port() const { return port_; }
  int rootPort() const { return rootPort_; }
  bool port81() const { return port81_; }
  const std::string &line() const { return line_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false, port81_ = false;
  int port_ = 0, rootPort_ = 0;
  std::string line_;
};

}  // namespace

// wsctl: one device as the commands address it, one call to it with the
// answer as JSON, and the words that say why a call failed.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/codec.h"

namespace wsctl {

constexpr int kUsageError = 2;

struct Device {
  std::string host = "127.0.0.1";
  ConnectionInfo conn{0, 0, 8080, 0};
  std::string user, password;
  bool credentials = false;  // user and password are sent

  // host:port, as the device is named in reports.
  std::string Name() const;
};

struct Outcome {
  int status = 0;      // the export's status
  int resultCode = 0;  // the device's verdict, when it answered
  std::string words;   // why it failed, empty on success
  nlohmann::json response;  // the response record, when the device answered

  bool ok() const { return status == 0 && resultCode == 0; }
  // Why it failed as reported: words, after the status and its name when
  // the call itself failed.
  std::string Why() const;
};

// A failed status as wsctl reports it: "12029 WS_STATUS_CANNOT_CONNECT: " and
// words, or the status's own text when words is empty.
std::string StatusWords(int status, const std::string &words);

// Calls op with a request already filled and prepared.  Safe to call from
// several threads at once.
Outcome Call(const Operation &op, Device &device, const void *request);

// Fills a request record from a JSON object; an empty string or the error.
std::string FillRequest(const Operation &op, RecordBuffer &request, const nlohmann::json &fields);

// Installs the trace callback that keeps each thread's last exchange (and,
// with print, shows every exchange on standard error).
void TraceExchanges(bool print);
// What happened in the calling thread's last exchange, in words; empty when
// nothing is known beyond the status.
std::string ExplainLastExchange();

// Reads a fleet's inventory (one device a line, "host[:port] [kind] [https]",
// or a JSON array of {host, port, kind, https, user, password}) into devices,
// what an entry leaves out taken from defaults.  Returns "" or why the
// inventory is refused, naming the line or entry but never its credentials.
std::string ReadInventory(const std::string &text, const Device &defaults, std::vector<Device> &devices);

// The subcommands beside single calls; argv starts after the subcommand's
// name.  Each returns the process's exit code.
int FleetCommand(int argc, char **argv, const Device &defaults, const char *jsonIn);
int BackupCommand(int argc, char **argv, Device device);
int RestoreCommand(int argc, char **argv, Device device);
// Every operation, record, enumeration and status as JSON on standard output.
int DescribeCommand();

}  // namespace wsctl

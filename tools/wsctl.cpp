// wsctl: calls one device operation through libWebService and prints the
// answer as JSON.  Exit codes: 0 success, 1 the call failed (status), 2 usage,
// 3 the device answered with a nonzero resultCode.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "tools/codec.h"
#include "tools/session.h"

namespace {

using namespace wsctl;

const char kUsage[] =
    "usage: wsctl [options] OPERATION [field=value ...]\n"
    "       wsctl [options] probe     GetVersion, and the endpoint kind that answered\n"
    "       wsctl list                operations by service, with their request and response records\n"
    "       wsctl describe            operations, records (offsets and sizes), enumerations and statuses as JSON\n"
    "       wsctl [options] fleet [--parallel N] INVENTORY OPERATION [field=value ...]\n"
    "                         the operation on every device of INVENTORY, N calls in flight (4):\n"
    "                         one JSON line per device on stdout, a summary on stderr, exit 1 when any failed;\n"
    "                         INVENTORY lines 'host[:port] [kind] [https]', or a JSON array of objects\n"
    "                         {host, port, kind, https, user, password}\n"
    "       wsctl [options] backup [--include NAME]...   every readable setting as one JSON document\n"
    "       wsctl [options] restore FILE [--dry-run] [--keep-going] [--merge] [--include NAME]...\n"
    "                         writes back what differs; IPv4 (network address), MacAddress and Serial\n"
    "                         are left out unless named by --include; --merge lays FILE's settings and\n"
    "                         items over the device's and removes nothing\n"
    "options:\n"
    "  --host H          device address (127.0.0.1)\n"
    "  --port P          TCP port for endpoint kinds 0 and 2 (8080)\n"
    "  --https           use https for endpoint kind 0\n"
    "  --kind 0|1|2      0 http[s]://H:P/soap, 1 http://H:81, 2 http://H:P (0)\n"
    "  --user U --password P   HTTP Basic credentials; else WSCTL_USER and WSCTL_PASSWORD\n"
    "  --credentials F   user:password on the first line of F, a file only its owner may read\n"
    "  --ca-file F       extra trusted authorities (PEM)\n"
    "  --insecure        accept certificates that fail verification\n"
    "  --trace           print each exchange (credentials masked) to standard error\n"
    "  --json-in F|-     read the request record as JSON from file F or standard input,\n"
    "                    in the shape wsctl prints (field=value arguments then apply on top)\n"
    "fields: dotted paths into the request record (user.userID=bob,\n"
    "  config.maxRTPStreamTime.0.hour=3); enumeration symbols accepted for numbers;\n"
    "  text requests take text=..., int32_t requests value=...\n"
    "output: the response record as JSON; enumeration values as their symbols\n";

struct Options {
  const char *host = "127.0.0.1";
  ConnectionInfo conn{0, 0, 8080, 0};
  const char *user = nullptr;
  const char *password = nullptr;
  const char *jsonIn = nullptr;  // file name, or "-" for standard input
  std::string fileUser, filePassword;  // read from --credentials
};

int Fail(const std::string &message) {
  std::fprintf(stderr, "wsctl: %s\n", message.c_str());
  return kUsageError;
}

int Usage(const std::string &message) {
  std::fputs(kUsage, stderr);
  return Fail(message);
}

int AcceptCertificate(int error, const char *, void *) {
  bool certificate = error == WS_ERROR_SEC_CERT_DATE_INVALID || error == WS_ERROR_SEC_CERT_CN_INVALID ||
                     error == WS_ERROR_INVALID_CA;
  return certificate ? WS_RESOLVE_RETRY : WS_RESOLVE_NO_RETRY;
}

// --credentials: "user:password" on the first line of a file that no one but
// its owner may read or write.
std::string ReadCredentials(const char *name, Options &options) {
  struct stat facts {};
  if (stat(name, &facts)) return std::string("cannot read the credentials file ") + name;
  if ((facts.st_mode & 077) || facts.st_uid != geteuid())
    return std::string("the credentials file ") + name + " must belong to you and be readable by you alone (chmod 600)";
  std::ifstream in(name);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return std::string("the credentials file ") + name + " holds no user:password line";
  options.fileUser = line.substr(0, colon);
  options.filePassword = line.substr(colon + 1);
  return "";
}

// Parses the options before the command; returns the index of the command,
// or -1 after printing the error.
int ParseOptions(int argc, char **argv, Options &options) {
  int i = 1;
  bool trace = false;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    std::string name = argv[i];
    if (name == "--https") {
      options.conn.useHttps = 1;
      continue;
    }
    if (name == "--insecure") {
      WebService_SetResolveCallback(AcceptCertificate, nullptr);
      continue;
    }
    if (name == "--trace") {
      trace = true;
      continue;
    }
    if (name == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    const char *value = nullptr;
    size_t equals = name.find('=');
    if (equals != std::string::npos) {
      value = argv[i] + equals + 1;
      name.resize(equals);
    } else if (i + 1 < argc) {
      value = argv[++i];
    }
    char *end = nullptr;
    long number = value ? std::strtol(value, &end, 10) : 0;
    bool numeric = value && *value && !*end;
    if (!value) {
      Usage(name + " needs a value");
      return -1;
    } else if (name == "--host") {
      options.host = value;
    } else if (name == "--user") {
      options.user = value;
    } else if (name == "--password") {
      options.password = value;
    } else if (name == "--json-in") {
      options.jsonIn = value;
    } else if (name == "--credentials") {
      const std::string error = ReadCredentials(value, options);
      if (!error.empty()) {
        Fail(error);
        return -1;
      }
    } else if (name == "--port" && numeric && number >= 1 && number <= 65535) {
      options.conn.port = static_cast<int32_t>(number);
    } else if (name == "--kind" && numeric && number >= 0 && number <= 2) {
      options.conn.endpointKind = static_cast<int32_t>(number);
    } else if (name == "--ca-file") {
      if (WebService_SetCAFile(value) != 0) {
        Fail(std::string("cannot read the CA file ") + value);
        return -1;
      }
    } else {
      Usage("bad option " + name + " " + value);
      return -1;
    }
  }
  TraceExchanges(trace);
  if (!options.user && !options.password && !options.fileUser.empty()) {
    options.user = options.fileUser.c_str();
    options.password = options.filePassword.c_str();
  }
  if (!options.user) options.user = std::getenv("WSCTL_USER");
  if (!options.password) options.password = std::getenv("WSCTL_PASSWORD");
  return i;
}

int List() {
  size_t count;
  const Service *services = Services(&count);
  for (size_t s = 0; s < count; ++s) {
    const Service &service = services[s];
    std::printf("%s%s (%zu)\n", s ? "\n" : "", service.name, service.count);
    for (size_t i = 0; i < service.count; ++i) {
      const Operation &op = service.operations[i];
      std::printf("  %-40s %-34s -> %s\n", op.name, op.request().name, op.response().name);
    }
  }
  return 0;
}

// The whole of a file, or of standard input for "-"; false when unreadable.
bool ReadInput(const char *name, std::string &text) {
  if (std::strcmp(name, "-") == 0) {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream in(name, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.good() || in.eof();
}

std::string EndpointUrl(const Options &options, int kind) {
  std::string host = options.host, port = std::to_string(options.conn.port);
  if (kind == ENDPOINT_KIND_PORT_81) return "http://" + host + ":81";
  if (kind == ENDPOINT_KIND_ROOT) return "http://" + host + ":" + port;
  return (options.conn.useHttps ? "https://" : "http://") + host + ":" + port + "/soap";
}

// Fills the request from the field arguments, calls the operation and prints
// its answer (for a probe, with the endpoint kind that answered).
int Run(const Operation &op, Options &options, int argc, char **argv, bool probe) {
  const RecordDesc &requestDesc = op.request(), &responseDesc = op.response();
  RecordBuffer request(requestDesc.size), response(responseDesc.size);
  if (options.jsonIn) {
    std::string json;
    if (!ReadInput(options.jsonIn, json)) return Fail(std::string("cannot read ") + options.jsonIn);
    std::string error = FromJson(requestDesc, request, json);
    if (!error.empty()) return Fail(std::string(op.name) + ": --json-in " + options.jsonIn + ": " + error);
  }
  for (int i = 0; i < argc; ++i) {
    const char *equals = std::strchr(argv[i], '=');
    if (!equals) return Usage(std::string("expected field=value, got '") + argv[i] + "'");
    std::string error = SetField(requestDesc, request.data(), std::string(argv[i], equals - argv[i]), equals + 1);
    if (!error.empty()) return Fail(std::string(op.name) + ": " + error);
  }
  if (requestDesc.prepare) requestDesc.prepare(request.data());
  int status = op.call(options.host, options.user, options.password, request.data(), response.data(), &options.conn);
  if (status != 0) {
    std::fprintf(stderr, "%s failed: %s\n", op.name, StatusWords(status, ExplainLastExchange()).c_str());
    return 1;
  }
  std::string json = ToJson(responseDesc, response.data(), probe ? 1 : 0);
  int kind = options.conn.endpointKind;
  if (probe)
    json = "{\n  \"endpointKind\": " + std::to_string(kind) + ",\n  \"url\": " +
           JsonString(EndpointUrl(options, kind).c_str(), std::string::npos) + ",\n  \"" + responseDesc.name +
           "\": " + json + "\n}";
  std::printf("%s\n", json.c_str());
  int resultCode = ResultCode(responseDesc, response.data());
  FreeItems(responseDesc, response.data());
  if (resultCode == 0) return 0;
  std::fprintf(stderr, "device resultCode %d\n", resultCode);
  return 3;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  int command = ParseOptions(argc, argv, options);
  if (command < 0) return kUsageError;
  if (command >= argc) return Usage("no operation given");
  std::string name = argv[command];
  if (name == "list") return List();
  if (name == "describe") return DescribeCommand();
  if (name == "fleet" || name == "backup" || name == "restore") {
    Device device;
    device.host = options.host;
    device.conn = options.conn;
    device.credentials = options.user || options.password;
    device.user = options.user ? options.user : "";
    device.password = options.password ? options.password : "";
    char **rest = argv + command + 1;
    const int count = argc - command - 1;
    if (name == "fleet") return FleetCommand(count, rest, device, options.jsonIn);
    return name == "backup" ? BackupCommand(count, rest, device) : RestoreCommand(count, rest, device);
  }
  bool probe = name == "probe";
  const Operation *op = FindOperation(probe ? "GetVersion" : name.c_str());
  if (!op) return Usage("unknown operation '" + name + "' (wsctl list shows them)");
  return Run(*op, options, argc - command - 1, argv + command + 1, probe);
}

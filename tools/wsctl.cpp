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

#include "tools/codec.h"

namespace {

using namespace wsctl;

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: wsctl [options] OPERATION [field=value ...]\n"
    "       wsctl [options] probe     GetVersion, and the endpoint kind that answered\n"
    "       wsctl list                operations by service, with their request and response records\n"
    "options:\n"
    "  --host H          device address (127.0.0.1)\n"
    "  --port P          TCP port for endpoint kinds 0 and 2 (8080)\n"
    "  --https           use https for endpoint kind 0\n"
    "  --kind 0|1|2      0 http[s]://H:P/soap, 1 http://H:81, 2 http://H:P (0)\n"
    "  --user U --password P   HTTP Basic credentials\n"
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

// Parses the options before the command; returns the index of the command,
// or -1 after printing the error.
// The last exchange of the call, kept to say in words why it failed.
struct LastExchange {
  std::string url, headers, body;
  int status = -1, error = 0;
} gLast;
bool gPrintTrace = false;

// The text of the first element named name (any prefix) in body.
std::string ElementText(const std::string &body, const char *name) {
  for (size_t at = body.find(name); at != std::string::npos; at = body.find(name, at + 1)) {
    const char before = at ? body[at - 1] : ' ';
    const size_t close = at + std::strlen(name);
    if ((before != '<' && before != ':') || close >= body.size() || body[close] != '>') continue;
    const size_t end = body.find('<', close);
    return body.substr(close + 1, end == std::string::npos ? std::string::npos : end - close - 1);
  }
  return "";
}

std::string HeaderValue(const std::string &headers, const char *name) {
  const size_t at = headers.find(std::string("\n") + name + ":");
  if (at == std::string::npos) return "";
  size_t start = headers.find_first_not_of(' ', at + std::strlen(name) + 2);
  return headers.substr(start, headers.find_first_of("\r\n", start) - start);
}

// What happened, in words, from the last exchange.
std::string Explain() {
  const LastExchange &e = gLast;
  if (e.status < 0) return "";
  if (e.status == 0) return "the device at " + e.url + " cannot be reached (" + WebService_StatusText(e.error) + ")";
  if (e.status == 401 || e.status == 407)
    return "HTTP " + std::to_string(e.status) + ": the device refused the user name or password";
  if (e.status >= 300 && e.status < 400)
    return "HTTP " + std::to_string(e.status) + " to " + HeaderValue(e.headers, "Location") +
           ": the device redirects; the library follows no redirects";
  const std::string code = ElementText(e.body, "faultcode");
  if (!code.empty()) {
    const size_t colon = code.find(':');
    return "SOAP fault " + code.substr(colon == std::string::npos ? 0 : colon + 1) + ": " +
           ElementText(e.body, "faultstring");
  }
  if (e.status != 200) return "HTTP " + std::to_string(e.status);
  return "";
}

// --trace: one exchange as the library saw it, credentials already masked.
void PrintExchange(const WebServiceExchange *e, void *) {
  gLast = {e->url, e->answerHeaders, std::string(e->answerBody, e->answerBodyLength), e->httpStatus, e->error};
  if (!gPrintTrace) return;
  std::fprintf(stderr, "> POST %s\n%s\n", e->url, e->requestHeaders);
  std::fwrite(e->requestBody, 1, e->requestBodyLength, stderr);
  if (e->httpStatus == 0) {
    std::fprintf(stderr, "\n< no answer: %d: %s\n", e->error, WebService_StatusText(e->error));
    return;
  }
  std::fprintf(stderr, "\n< %s", e->answerHeaders);
  std::fwrite(e->answerBody, 1, e->answerBodyLength, stderr);
  std::fputs("\n", stderr);
}

int ParseOptions(int argc, char **argv, Options &options) {
  int i = 1;
  WebService_SetTraceCallback(PrintExchange, nullptr);
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
      gPrintTrace = true;
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
    const std::string words = Explain();
    std::fprintf(stderr, "%s failed: %d: %s\n", op.name, status,
                 words.empty() ? WebService_StatusText(status) : words.c_str());
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
  bool probe = name == "probe";
  const Operation *op = FindOperation(probe ? "GetVersion" : name.c_str());
  if (!op) return Usage("unknown operation '" + name + "' (wsctl list shows them)");
  return Run(*op, options, argc - command - 1, argv + command + 1, probe);
}

// Feeds arbitrary bytes, as the body of an HTTP 200 answer, to the exports
// through the real transport and decoder: a loopback server thread answers
// each request with the current input.  The export is the one whose response
// element the input names (so the canned answers seed it), else the first
// byte picks one.  Aborts when a call writes outside its record, changes the
// record although it failed, or hands out an item array it did not fill.
#include <cstdlib>
#include <mutex>
#include <type_traits>

#include "harness.h"
#include "services/operations.h"

namespace {

using namespace wstest;

std::mutex gMutex;
std::string gAnswer;

template <class T, class = void>
struct HasItems : std::false_type {};
template <class T>
struct HasItems<T, std::void_t<decltype(std::declval<T>().items)>> : std::true_type {};

void Check(bool ok, const char *op, const char *what) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s\n", op, what);
  std::abort();
}

template <class Request, class Response>
void Exercise(const char *op, int (*call)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *), int port) {
  alignas(8) static const unsigned char request[2048] = {};  // every text empty, every number 0
  Guarded<Response> record;
  if constexpr (HasItems<Response>::value) {
    record.value.count = 0;
    record.value.items = nullptr;
  }
  record.Arm();
  ConnectionInfo conn = Loopback(port);
  int status = call("127.0.0.1", "admin", "admin", reinterpret_cast<const Request *>(request), &record.value, &conn);
  Check(record.ZonesIntact(), op, "wrote outside the record");
  Check(status == 0 || record.Unchanged(), op, "failed but changed the record");
  if constexpr (HasItems<Response>::value) {
    auto &list = record.value;
    Check(list.count >= 0 && (list.count == 0 || list.items), op, "count without items");
    volatile unsigned char sum = 0;  // every listed item must be readable (ASan checks the bounds)
    const auto *bytes = reinterpret_cast<const unsigned char *>(list.items);
    for (size_t i = 0; list.items && i < list.count * sizeof *list.items; ++i) sum += bytes[i];
    WebService_FreeItems(list.items);
  }
}

struct Export {
  const char *name;
  void (*run)(int port);
};

#define WS_FUZZ_EXPORT(Op, Request, Response) {#Op, [](int port) { Exercise<Request, Response>(#Op, DLL_WebService##Op, port); }},
const Export kExports[] = {WS_ALL_OPERATIONS(WS_FUZZ_EXPORT)};
constexpr size_t kExportCount = sizeof kExports / sizeof *kExports;

LoopbackServer *gServer = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  gServer = new LoopbackServer([](int fd, const std::string &) {
    std::string answer;
    {
      std::lock_guard<std::mutex> lock(gMutex);
      answer = gAnswer;
    }
    WriteAll(fd, answer);
  }, 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string body(reinterpret_cast<const char *>(data), size);
  const Export *chosen = nullptr;
  for (const Export &e : kExports)
    if (!chosen && body.find(std::string(e.name) + "Response") != std::string::npos) chosen = &e;
  if (!chosen) chosen = &kExports[size ? data[0] % kExportCount : 0];
  {
    std::lock_guard<std::mutex> lock(gMutex);
    // An input that is an HTTP answer itself goes out as it is, so that the
    // transport's answer parser meets it; any other is the body of a 200.
    gAnswer = body.compare(0, 5, "HTTP/") == 0 ? body : HttpAnswer(body);
  }
  chosen->run(gServer->port());
  return 0;
}

// Feeds arbitrary bytes, as the body of an HTTP 200 answer, to the exports
// through the real transport and decoder: a loopback server thread answers
// each request with the current input.  The export is the one whose response
// element the input names (so the canned answers seed it), else the first
// byte picks one.  Aborts when a call writes outside its record, changes the
// record although it failed, or hands out an item array it did not fill; the
// library's record descriptions say what each record holds to release.
#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>

#include "harness.h"
#include "services/operations.h"
#include "tools/codec.h"
#include "core/record_desc.h"

namespace {

using namespace wstest;

std::mutex gMutex;
std::string gAnswer;

void Check(bool ok, const char *op, const char *what) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s\n", op, what);
  std::abort();
}

// Every pointer the library may hand over in a record (item arrays, the
// lists inside their items, texts) starts null with its count 0, so that
// after the call exactly what the library allocated is there to release.
void ClearHandedOver(const wsctl::RecordDesc &desc, void *record) {
  char *base = static_cast<char *>(record);
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const wsctl::Field &field = desc.fields[i];
    char *at = base + field.offset;
    if (field.kind == wsctl::Kind::Record) {
      for (size_t k = 0; k < field.count; ++k) ClearHandedOver(field.nested(), at + k * field.size);
    } else if (field.kind == wsctl::Kind::TextPointer) {
      std::memset(at, 0, field.count * sizeof(char *));
    } else if (field.kind == wsctl::Kind::Items) {
      std::memset(at, 0, sizeof(void *));
      std::memset(base + field.countOffset, 0, sizeof(int32_t));
    }
  }
}

template <class Request, class Response>
void Exercise(const char *op, int (*call)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *), int port) {
  alignas(8) static const unsigned char request[2048] = {};  // every text empty, every number 0
  // An export whose response is any pointer it never writes gets one byte.
  constexpr bool kRecord = !std::is_void_v<Response>;
  Guarded<std::conditional_t<kRecord, Response, unsigned char>> record;
  if constexpr (kRecord) ClearHandedOver(wsctl::Describe<Response>(), &record.value);
  record.Arm();
  ConnectionInfo conn = Loopback(port);
  int status = call("127.0.0.1", "admin", "admin", reinterpret_cast<const Request *>(request), &record.value, &conn);
  Check(record.ZonesIntact(), op, "wrote outside the record");
  // The version probe is the one export that keeps a partial answer: when its
  // first attempt answers without a software version and the second (port 81,
  // where nothing listens here) fails, the record holds the first answer.
  const bool keepsFirstAttempt = std::strcmp(op, "GetVersion") == 0;
  Check(status == 0 || keepsFirstAttempt || record.Unchanged(), op, "failed but changed the record");
  // Releasing reads every listed item and every list inside them (ASan checks
  // the bounds, LeakSanitizer that nothing else was allocated).
  if constexpr (kRecord) wsctl::FreeItems(wsctl::Describe<Response>(), &record.value);
}

// An export without a response record: only its status is there to check.
template <class Request, class Response>
void Exercise(const char *, int (*call)(const char *, const char *, const char *, const Request *, ConnectionInfo *),
              int port) {
  alignas(8) static const unsigned char request[2048] = {};
  ConnectionInfo conn = Loopback(port);
  call("127.0.0.1", "admin", "admin", reinterpret_cast<const Request *>(request), &conn);
}

struct Export {
  const char *name;
  void (*run)(int port);
};

#define WS_FUZZ_EXPORT(Op, Request, Response, ...) {#Op, [](int port) { Exercise<Request, Response>(#Op, DLL_WebService##Op, port); }},
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
    // An answer that says it keeps the connection is followed by silence, not
    // by a close: the client must end it at its length.
    if (answer.find("\r\nConnection: keep-alive\r\n") != std::string::npos) {
      pollfd closed{fd, POLLIN, 0};
      ::poll(&closed, 1, 1000);
    }
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

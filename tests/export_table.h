// The table of every export, for the test programs of both platforms
// (tests/operations_test.cpp, tests/windows/windows_test.cpp): how to call
// each one with a request of zeros but for a few marks, what the marks put in
// the request body, and where its response record keeps resultCode and the
// boolean result; and the answers every export is checked with.  Drawn from
// the operation table (services/operations.h).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "device_script.h"
#include "portable_support.h"
#include "services/operations.h"
#include "webservice/WebService.h"

namespace export_table {

template <class Record>
constexpr size_t SizeOf() {
  if constexpr (std::is_void_v<Record>) return 0;
  return sizeof(std::conditional_t<std::is_void_v<Record>, char, Record>);
}

#define WS_REQUEST_SIZE(Op, Request, Response, ...) SizeOf<Request>(),
#define WS_RESPONSE_SIZE(Op, Request, Response, ...) SizeOf<Response>(),
constexpr size_t kRequestBytes = std::max({WS_ALL_OPERATIONS(WS_REQUEST_SIZE) size_t{1}});
constexpr size_t kResponseBytes = std::max({WS_ALL_OPERATIONS(WS_RESPONSE_SIZE) size_t{1}});

// A request: every number 0, every text empty, every list without items, but
// for the marks MarkRequest sets.
struct RequestBytes {
  alignas(16) unsigned char bytes[kRequestBytes] = {};
};

// A response record's bytes, pattern-filled, to see what a call wrote.
struct ResponseBytes {
  std::unique_ptr<unsigned char[]> storage{new unsigned char[kResponseBytes]};
  unsigned char *bytes = storage.get();
  ResponseBytes() { Fill(0xA5); }
  void Fill(unsigned char value) { std::memset(bytes, value, kResponseBytes); }
  bool Untouched(size_t size) const {
    return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0xA5; });
  }
};

template <class Request, class Response>
int CallExport(int (*fn)(const char *, const char *, const char *, const Request *, Response *, ConnectionInfo *),
               const char *host, const void *request, void *response, ConnectionInfo *conn) {
  return fn(host, "admin", "admin", static_cast<const Request *>(request), static_cast<Response *>(response), conn);
}

// An export without a response argument: the response given is not passed.
template <class Request>
int CallExport(int (*fn)(const char *, const char *, const char *, const Request *, ConnectionInfo *),
               const char *host, const void *request, void *, ConnectionInfo *conn) {
  return fn(host, "admin", "admin", static_cast<const Request *>(request), conn);
}

#define WS_TEST_HAS_MEMBER(Name, member)                                                      \
  template <class R, class = void>                                                             \
  struct Name : std::false_type {};                                                            \
  template <class R>                                                                           \
  struct Name<R, std::void_t<decltype(std::declval<R &>().member)>> : std::true_type {};
WS_TEST_HAS_MEMBER(HasChannel, channel)
WS_TEST_HAS_MEMBER(HasMaster, master)
WS_TEST_HAS_MEMBER(HasText, text)
WS_TEST_HAS_MEMBER(HasAlias, alias)
WS_TEST_HAS_MEMBER(HasResultCode, resultCode)
WS_TEST_HAS_MEMBER(HasResult, result)

// Sets what a request carries at its own offset, after any prefix: channel 7,
// the master stream, the text or alias "mark" (written past a text field
// declared shorter: the caller's record holds it); a bare number or text
// request is 7 or "mark".  Returns what the request body must then hold.
template <class Request>
std::vector<std::string> MarkRequest(void *request) {
  auto text = [request](size_t offset) { std::memcpy(static_cast<char *>(request) + offset, "mark", 5); };
  std::vector<std::string> marks;
  if constexpr (std::is_same_v<Request, int32_t>) {
    *static_cast<int32_t *>(request) = 7;
    marks.push_back(">7</ns1:");
  } else if constexpr (std::is_same_v<Request, char>) {
    text(0);
    marks.push_back(">mark</ns1:");
  } else if constexpr (!std::is_void_v<Request>) {
    Request &record = *static_cast<Request *>(request);
    if constexpr (HasChannel<Request>::value) {
      record.channel = 7;
      marks.push_back("hannel>7</ns1:");
    }
    if constexpr (HasMaster<Request>::value) {
      record.master = true;
      marks.push_back("<ns1:master>true</ns1:master>");
    }
    if constexpr (HasText<Request>::value) text(offsetof(Request, text));
    if constexpr (HasAlias<Request>::value) text(offsetof(Request, alias));
    if constexpr (HasText<Request>::value || HasAlias<Request>::value) marks.push_back(">mark</ns1:");
  }
  return marks;
}

// Whether a response record holds a Set-like answer's boolean result.
template <class Response>
constexpr bool HasBoolResult() {
  if constexpr (HasResult<Response>::value) return std::is_same_v<decltype(Response::result), bool>;
  return false;
}

// What a response record holds of an answer: resultCode sits in the record's
// resultCode, or is the whole response when that is an int32; the boolean
// result where the record has one.  A record without either reads as
// resultCode 12 and result true, the values the tests answer with.
struct StoredAnswer {
  int resultCode = 12;
  bool result = true;
};

template <class Response>
StoredAnswer ReadStoredAnswer(const void *response) {
  StoredAnswer stored;
  if constexpr (std::is_same_v<Response, int32_t>) stored.resultCode = *static_cast<const int32_t *>(response);
  if constexpr (HasResultCode<Response>::value) stored.resultCode = static_cast<const Response *>(response)->resultCode;
  if constexpr (HasBoolResult<Response>()) stored.result = static_cast<const Response *>(response)->result;
  return stored;
}

struct Export {
  const char *name;
  size_t responseSize;  // 0: nothing to write
  bool hasResponseArgument, hasBoolResult;
  int (*call)(const char *host, const void *request, void *response, ConnectionInfo *conn);
  std::vector<std::string> (*mark)(void *request);
  StoredAnswer (*stored)(const void *response);

  int Call(void *response, ConnectionInfo *conn, const char *host = "127.0.0.1") const {
    RequestBytes request;
    mark(request.bytes);
    return call(host, request.bytes, response, conn);
  }
  // GetVersion tries port 81 after a failed first attempt: its failures and
  // time-outs are checked with its probe.
  bool probe() const { return std::string(name) == "GetVersion"; }
};

#define WS_TEST_EXPORT(Op, Request, Response, ...)                                                                       \
  {#Op, SizeOf<Response>(),                                                                                           \
   !std::is_invocable_v<decltype(&DLL_WebService##Op), const char *, const char *, const char *, const void *,      \
                        ConnectionInfo *>,                                                                            \
   HasBoolResult<Response>(),                                                                                         \
   [](const char *host, const void *request, void *response, ConnectionInfo *conn) {                                 \
     return CallExport(DLL_WebService##Op, host, request, response, conn);                                            \
   },                                                                                                                 \
   MarkRequest<Request>, ReadStoredAnswer<Response>},
inline const Export kExports[] = {WS_ALL_OPERATIONS(WS_TEST_EXPORT)};

inline const Export *Find(const std::string &name) {
  for (const Export &e : kExports)
    if (name == e.name) return &e;
  return nullptr;
}

// The answer to an export's own operation: resultCode 12, with a true result
// (or, for the version probe, a version) where its record keeps one.
inline std::string OwnAnswer(const Export &e) {
  const std::string op = e.name;
  const std::string result = e.probe() ? "<swVersion>1</swVersion>" : e.hasBoolResult ? "true" : "";
  const std::string element = result.empty() ? "" : "<" + op + "Result>" + result + "</" + op + "Result>";
  return Response(op, element + "<resultCode>12</resultCode>");
}

// The failures every export is checked with, each with the status it gives
// on either platform (a connection closed without a byte of answer too: -1).
inline std::vector<std::pair<Reply, int>> Failures(const Export &e) {
  auto fault = [](const char *code, bool soap12) {
    return Reply::Status(500, Envelope(soap12 ? std::string("<e:Fault><e:Code><e:Value>e:") + code +
                                                    "</e:Value></e:Code><e:Reason><e:Text xml:lang=\"en\">no"
                                                    "</e:Text></e:Reason></e:Fault>"
                                              : std::string("<e:Fault><faultcode>e:") + code +
                                                    "</faultcode><faultstring>no</faultstring></e:Fault>",
                                       soap12));
  };
  // A resultCode that is no number; TriggerVAEvent's answer has no resultCode to misread.
  const int misread = std::string(e.name) == "TriggerVAEvent" ? 0 : 4;
  return {{fault("Client", false), 1},
          {fault("Server", false), 2},
          {fault("Sender", true), 1},
          {fault("Receiver", true), 2},
          {Reply::Ok(Response("SomethingElse", "<resultCode>0</resultCode>")), 3},
          {Reply::Ok(""), -1},
          {Reply::Close(), -1},
          {Reply::Status(401, ""), -1},
          {Reply::Ok(Response(e.name, "<resultCode>zero</resultCode>")), misread}};
}

}  // namespace export_table

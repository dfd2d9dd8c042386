// wsctl: the enumerations, the bare requests and the operation table.  The
// records of each public header are described in records_<service>.cpp.
#include "tools/records.h"

#include <cstring>
#include <iterator>
#include <strings.h>
#include <type_traits>
#include <vector>

#include "services/operations.h"
#include "tools/describe.h"

namespace wsctl {

#define WSCTL_ENUM_VALUE(symbol, value) {#symbol, value},
#define WSCTL_ENUM(ctype, schema, values)                         \
  const EnumValue ctype##Values[] = {values(WSCTL_ENUM_VALUE)}; \
  extern const EnumDesc ctype##Enum{#ctype, ctype##Values, std::size(ctype##Values)};
WS_ENUMERATIONS(WSCTL_ENUM)
#define WSCTL_ENUM_ENTRY(ctype, schema, values) &ctype##Enum,
const EnumDesc *const kEnumerations[] = {WS_ENUMERATIONS(WSCTL_ENUM_ENTRY)};

namespace {

// The bare requests: a text, and one integer.
struct TextArgument {
  char text[1024];
};
struct IntArgument {
  int32_t value;
};
// A bare int32 response: the device's resultCode and nothing else.
struct ResultCodeAnswer {
  int32_t resultCode;
};

// The record a response of type T is described as: its own, except that a
// bare int32 is the device's resultCode (so that wsctl reports a refusal).
template <class T>
struct ResponseRecord {
  using type = T;
};
template <>
struct ResponseRecord<int32_t> {
  using type = ResultCodeAnswer;
};

}  // namespace

template <>
const RecordDesc &Describe<void>() {
  static const RecordDesc desc{"void", 0, nullptr, 0};
  return desc;
}

WSCTL_RECORD_AS(char, TextArgument, "text", F(text))
WSCTL_RECORD_AS(int32_t, IntArgument, "int32_t", F(value))
WSCTL_RECORD_AS(ResultCodeAnswer, ResultCodeAnswer, "int32_t", F(resultCode))

#undef F
#undef E
#undef L
#undef EL

namespace {

// Calls an export, with or without its response argument (Reboot has none).
template <class Req, class Resp, class Export>
int CallExport(Export fn, const char *host, const char *user, const char *password, const void *request,
               void *response, ConnectionInfo *conn) {
  if constexpr (std::is_invocable_v<Export, const char *, const char *, const char *, const Req *, ConnectionInfo *>)
    return fn(host, user, password, static_cast<const Req *>(request), conn);
  else
    return fn(host, user, password, static_cast<const Req *>(request), static_cast<Resp *>(response), conn);
}

#define WSCTL_OPERATION(Op, Req, Resp, ...)                                                             \
  {#Op, &Describe<Req>, &Describe<ResponseRecord<Resp>::type>,                                                             \
   [](const char *host, const char *user, const char *password, const void *request, void *response, \
      ConnectionInfo *conn) {                                                                        \
     return CallExport<Req, Resp>(DLL_WebService##Op, host, user, password, request, response, conn); \
   }},

const Operation kOperations[] = {
    WS_ALL_OPERATIONS(WSCTL_OPERATION)
};

// Each service's name and number of operations; its operations follow those
// of the services before it in kOperations.
struct ServiceSize {
  const char *name;
  size_t count;
};
#define WSCTL_COUNT(Op, Req, Resp, ...) +1
#define WSCTL_SERVICE_SIZE(Service, Operations, X) {#Service, 0 Operations(X)},
const ServiceSize kServiceSizes[] = {WS_ALL_SERVICES(WSCTL_SERVICE_SIZE, WSCTL_COUNT)};

}  // namespace

const Service *Services(size_t *count) {
  static const std::vector<Service> services = [] {
    std::vector<Service> slices;
    const Operation *next = kOperations;
    for (const ServiceSize &size : kServiceSizes) {
      slices.push_back({size.name, next, size.count});
      next += size.count;
    }
    return slices;
  }();
  *count = services.size();
  return services.data();
}

const Operation *Operations(size_t *count) {
  *count = std::size(kOperations);
  return kOperations;
}

const Operation *FindOperation(const char *name) {
  for (const Operation &op : kOperations)
    if (std::strcmp(op.name, name) == 0) return &op;
  for (const Operation &op : kOperations)
    if (strcasecmp(op.name, name) == 0) return &op;
  return nullptr;
}

const EnumDesc *const *Enumerations(size_t *count) {
  *count = std::size(kEnumerations);
  return kEnumerations;
}

}  // namespace wsctl

// wsctl describe: every operation, record, enumeration and status as one JSON
// document, for bindings generated in other languages.  Offsets and sizes are
// the compiler's (offsetof, sizeof), so a binding can check its own layouts.
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "services/operations.h"
#include "core/describe.h"
#include "tools/session.h"

namespace wsctl {

namespace {

using Json = nlohmann::json;

// A request that wsctl fills through an argument layout of its own and a
// prepare step is described as the header declares it: a binding fills the
// record's own fields.
template <class T>
const RecordDesc *HeaderLayout() {
  return nullptr;
}
template <>
const RecordDesc *HeaderLayout<KeyListRecord>() {
  using R = KeyListRecord;
  static const Field fields[] = {F(count), L(keys, count)};
  static const RecordDesc desc{"KeyListRecord", sizeof(R), fields, std::size(fields)};
  return &desc;
}

const char *KindName(Kind kind) {
  switch (kind) {
    case Kind::Int: return "int";
    case Kind::Bool: return "bool";
    case Kind::Text: return "text";
    case Kind::TextPointer: return "textPointer";
    case Kind::Record: return "record";
    case Kind::Items: return "items";
  }
  return "?";
}

class Describer {
 public:
  // The record's key in "records": its name, or for the bare types (void,
  // text, int32_t, bool) its name and role, since a bare request and a bare
  // answer may share a name.
  std::string Add(const RecordDesc &desc, const char *role) {
    std::string key = desc.name;
    if (!std::isupper(static_cast<unsigned char>(key[0]))) key += std::string(".") + role;
    auto known = owners_.emplace(key, &desc);
    if (!known.second) {
      if (known.first->second != &desc) throw std::runtime_error("two records are described as " + key);
      return key;
    }
    Json fields = Json::array();
    for (size_t i = 0; i < desc.fieldCount; ++i) fields.push_back(FieldJson(desc.fields[i]));
    records_[key] = {{"name", desc.name}, {"size", desc.size}, {"fields", fields}};
    return key;
  }

  Json Records() const { return records_; }

 private:
  Json FieldJson(const Field &field) {
    Json out = {{"name", field.name}, {"kind", KindName(field.kind)}, {"offset", field.offset},
                {"size", field.size}, {"count", field.count}};
    const Field element = field.kind == Kind::Items ? ItemOf(field) : field;
    if (field.kind == Kind::Items) {
      out["itemKind"] = KindName(field.itemKind);
      out["countOffset"] = field.countOffset;
    }
    if (element.kind == Kind::Record) out["record"] = Add(element.nested(), "nested");
    if (element.enumeration) out["enumeration"] = element.enumeration->name;
    return out;
  }

  std::map<std::string, const RecordDesc *> owners_;
  Json records_ = Json::object();
};

}  // namespace

int DescribeCommand() {
  Describer describer;
  Json operations = Json::array();
  size_t serviceCount;
  const Service *services = Services(&serviceCount);
#define WSCTL_HEADER_LAYOUT(Op, Req, ...) {#Op, HeaderLayout<Req>()},
  const std::map<std::string, const RecordDesc *> headerLayouts = {WS_ALL_OPERATIONS(WSCTL_HEADER_LAYOUT)};
  for (size_t s = 0; s < serviceCount; ++s)
    for (size_t i = 0; i < services[s].count; ++i) {
      const Operation &op = services[s].operations[i];
      const RecordDesc *header = headerLayouts.at(op.name);
      if (op.request().prepare && !header) {
        std::fprintf(stderr, "wsctl describe: %s's request has a prepare step and no header layout\n", op.name);
        return 1;
      }
      operations.push_back({{"name", op.name},
                            {"service", services[s].name},
                            {"request", describer.Add(header ? *header : op.request(), "request")},
                            {"response", describer.Add(op.response(), "response")}});
    }
  Json enumerations = Json::object();
  size_t enumCount;
  const EnumDesc *const *enums = Enumerations(&enumCount);
  for (size_t e = 0; e < enumCount; ++e) {
    Json values = Json::array();
    for (size_t v = 0; v < enums[e]->count; ++v) values.push_back({enums[e]->values[v].symbol, enums[e]->values[v].value});
    enumerations[enums[e]->name] = values;
  }
  Json statuses = Json::array();
#define WSCTL_STATUS(name, value, text) statuses.push_back({#name, value, text});
  WS_STATUS_TABLE(WSCTL_STATUS)
  WS_PLATFORM_ERROR_TABLE(WSCTL_STATUS)
  const Json out = {{"pointerSize", sizeof(void *)}, {"operations", operations},
                    {"records", describer.Records()}, {"enumerations", enumerations},
                    {"statuses", statuses}};
  std::printf("%s\n", out.dump(1).c_str());
  return 0;
}

}  // namespace wsctl

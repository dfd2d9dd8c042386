// wsctl: the records of the public headers described as data, and the
// operations that take and fill them.  Printing and parsing (codec.h) work on
// these descriptions only, so a new service needs record tables and its
// operation table in records.cpp, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "webservice/WebService.h"

namespace wsctl {

struct EnumValue {
  const char *symbol;
  int32_t value;
};

struct EnumDesc {
  const char *name;
  const EnumValue *values;
  size_t count;
};

enum class Kind {
  Int,     // int32_t
  Bool,    // bool
  Text,    // char[size], zero-terminated
  Record,  // a nested record
  Items,   // T *items, allocated by the library, with an int32_t count beside it
  OwnedText  // char *, a zero-terminated text of its own (strdup), released with free
};

struct RecordDesc;
using DescribeFn = const RecordDesc &(*)();

struct Field {
  const char *name;
  Kind kind;
  size_t offset;
  size_t size;   // of one element
  size_t count;  // elements of a fixed array; 1 for a plain field
  DescribeFn nested = nullptr;        // Record and Items
  const EnumDesc *enumeration = nullptr;  // Int fields holding an enumeration
  size_t countOffset = 0;             // Items: where the item count lives
};

struct RecordDesc {
  const char *name;
  size_t size;
  const Field *fields;
  size_t fieldCount;
};

// The description of record type T (defined in records.cpp for every type
// the operation tables use; void, char and int32_t describe the bare
// requests "nothing", "text=..." and "value=...").
template <class T>
const RecordDesc &Describe();

// A field's description, its kind deduced from the member's declared type.
template <class T>
constexpr Field FieldOf(const char *name, size_t offset, const EnumDesc *enumeration = nullptr) {
  if constexpr (std::is_array_v<T> && !std::is_same_v<std::remove_extent_t<T>, char>) {
    Field field = FieldOf<std::remove_extent_t<T>>(name, offset, enumeration);
    field.count = std::extent_v<T>;
    return field;
  } else if constexpr (std::is_array_v<T>) {
    return {name, Kind::Text, offset, sizeof(T), 1};
  } else if constexpr (std::is_same_v<T, bool>) {
    return {name, Kind::Bool, offset, sizeof(T), 1};
  } else if constexpr (std::is_same_v<T, int32_t>) {
    return {name, Kind::Int, offset, sizeof(T), 1, nullptr, enumeration};
  } else if constexpr (std::is_same_v<T, char *>) {
    return {name, Kind::OwnedText, offset, sizeof(T), 1};
  } else if constexpr (std::is_pointer_v<T>) {
    using Item = std::remove_pointer_t<T>;
    return {name, Kind::Items, offset, sizeof(Item), 1, &Describe<Item>};
  } else {
    static_assert(std::is_class_v<T>, "field type without a description rule");
    return {name, Kind::Record, offset, sizeof(T), 1, &Describe<T>};
  }
}

using CallFn = int (*)(const char *host, const char *user, const char *password, const void *request,
                       void *response, ConnectionInfo *conn);

struct Operation {
  const char *name;
  DescribeFn request;
  DescribeFn response;
  CallFn call;
};

// Every operation of every service, in table order.
const Operation *Operations(size_t *count);
// The operation of that name (exact, else ignoring case); null when unknown.
const Operation *FindOperation(const char *name);
// Every enumeration of Enums.h.
const EnumDesc *const *Enumerations(size_t *count);

}  // namespace wsctl

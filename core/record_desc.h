// The records of the public headers described as data, and the operations
// that take and fill them.  The library releases answers by them (the
// WebService_Free<Record> functions); wsctl prints and parses by them
// (tools/codec.h), the fuzzer and the manual pages read them.  A new service
// needs its record tables in services/<name>/<name>_records.cpp and its
// operation table (gathered by services/operations.h), nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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
  Int,          // int32_t
  Bool,         // bool
  Text,         // char[size], zero-terminated
  TextPointer,  // char *, a zero-terminated text of any length (null: none)
  Record,       // a nested record
  Items         // Item *items with an int32_t count beside it; the library
                // allocates them in answers, the caller in requests
};

struct RecordDesc;
using DescribeFn = const RecordDesc &(*)();

struct Field {
  const char *name;
  Kind kind;
  size_t offset;
  size_t size;   // of one element (of one item for Items)
  size_t count;  // elements of a fixed array; 1 for a plain field
  DescribeFn nested = nullptr;        // Record, and Items of records
  const EnumDesc *enumeration = nullptr;  // Int fields and items holding an enumeration
  size_t countOffset = 0;             // Items: where the item count lives
  Kind itemKind = Kind::Record;       // Items: the kind of one item (never Items)
};

struct RecordDesc {
  const char *name;
  size_t size;
  const Field *fields;
  size_t fieldCount;
  // For a request that points at texts of its own: run after the fields are
  // set and before the call, it ties the pointers to the record's storage.
  void (*prepare)(void *record) = nullptr;
};

// The description of record type T (defined in a records file for every type
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
  } else if constexpr (std::is_same_v<T, char *> || std::is_same_v<T, const char *>) {
    return {name, Kind::TextPointer, offset, sizeof(T), 1};
  } else if constexpr (std::is_pointer_v<T>) {
    // An item list: the item described as a field of its own, at offset 0.
    using Item = std::remove_cv_t<std::remove_pointer_t<T>>;
    static_assert(!std::is_pointer_v<Item> || std::is_same_v<std::remove_cv_t<std::remove_pointer_t<Item>>, char>,
                  "items are records, integers, booleans, texts or text pointers");
    Field field = FieldOf<std::conditional_t<std::is_pointer_v<Item>, const char *, Item>>(name, 0, enumeration);
    static_assert(!std::is_array_v<Item> || std::is_same_v<std::remove_extent_t<Item>, char>,
                  "items that are arrays of anything but char have no description rule");
    field.itemKind = field.kind;
    field.kind = Kind::Items;
    field.offset = offset;
    return field;
  } else {
    static_assert(std::is_class_v<T>, "field type without a description rule");
    return {name, Kind::Record, offset, sizeof(T), 1, &Describe<T>};
  }
}

// One item of an Items field, described as a plain field at offset 0.
constexpr Field ItemOf(const Field &items) {
  Field item = items;
  item.kind = items.itemKind;
  item.offset = 0;
  item.count = 1;
  return item;
}

using CallFn = int (*)(const char *host, const char *user, const char *password, const void *request,
                       void *response, ConnectionInfo *conn);

struct Operation {
  const char *name;
  DescribeFn request;
  DescribeFn response;
  CallFn call;
};

// One service and its operations, a slice of the table of all operations.
struct Service {
  const char *name;
  const Operation *operations;
  size_t count;
};

// Every operation of every service, in table order.
const Operation *Operations(size_t *count);
// Every service, in table order (services without operations included).
const Service *Services(size_t *count);
// The operation of that name (exact, else ignoring case); null when unknown.
const Operation *FindOperation(const char *name);
// Every enumeration of Enums.h.
const EnumDesc *const *Enumerations(size_t *count);

// The pointer stored at an unaligned place of a record.
inline const char *ReadPointer(const char *at) {
  const char *pointer;
  std::memcpy(&pointer, at, sizeof pointer);
  return pointer;
}
inline void WritePointer(char *at, const void *pointer) { std::memcpy(at, &pointer, sizeof pointer); }

// The items of a list field of the record at base: where they start (null
// when none) and how many (0 when the pointer is null or the count below 1).
inline size_t ListedItems(const Field &field, const char *base, const char **first) {
  int32_t listed;
  std::memcpy(&listed, base + field.countOffset, sizeof listed);
  *first = ReadPointer(base + field.offset);
  return *first && listed > 0 ? static_cast<size_t>(listed) : 0;
}

// Whether a record of this description can hold memory the library
// allocated: an item list or a text pointer, in it or in a record it nests.
bool OwnsMemory(const RecordDesc &desc);

// Releases the item arrays and texts the library allocated into the record,
// those inside items first, and leaves every pointer null and every count of
// a list 0, so that a second call finds nothing to release.  Item arrays and
// a text on its own are array allocations (WebService_FreeItems); the texts
// of a text list are separate duplicates (free).
void FreeItems(const RecordDesc &desc, void *record);

}  // namespace wsctl

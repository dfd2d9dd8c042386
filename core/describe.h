// The macros that describe records, shared by the description files
// (services/<name>/<name>_records.cpp, core/common_records.cpp).
//
// A record is listed once, field by field; each field's kind, size and array
// length come from its declared type.  Fields the library neither reads nor
// writes (prefix, spare, extra) are left out.  A nested record is described
// by its own WSCTL_RECORD, in any file.
#pragma once

#include <cstddef>
#include <iterator>

#include "core/record_desc.h"

namespace wsctl {

// The enumeration tables of Enums.h, as <ctype>Enum.
#define WSCTL_DECLARE_ENUM(ctype, schema, values) extern const EnumDesc ctype##Enum;
WS_ENUMERATIONS(WSCTL_DECLARE_ENUM)
#undef WSCTL_DECLARE_ENUM

constexpr Field WithCount(Field items, size_t countOffset) {
  items.countOffset = countOffset;
  return items;
}

}  // namespace wsctl

// F: a plain field; E: an int field (or fixed int array) holding an
// enumeration; L: an item list and its count; EL: a list of enumeration
// values and its count.  Items may be records, int32_t, bool, char[N] or
// char * texts; a record item may hold item lists of its own.
#define F(member) FieldOf<decltype(R::member)>(#member, offsetof(R, member))
#define E(member, ctype) FieldOf<decltype(R::member)>(#member, offsetof(R, member), &ctype##Enum)
#define L(items, count) WithCount(F(items), offsetof(R, count))
#define EL(items, count, ctype) WithCount(E(items, ctype), offsetof(R, count))

#define WSCTL_RECORD_AS(Type, Layout, Name, ...)                              \
  template <>                                                                 \
  const RecordDesc &Describe<Type>() {                                        \
    using R = Layout;                                                         \
    static const Field fields[] = {__VA_ARGS__};                              \
    static const RecordDesc desc{Name, sizeof(R), fields, std::size(fields)}; \
    return desc;                                                              \
  }
#define WSCTL_RECORD(Type, ...) WSCTL_RECORD_AS(Type, Type, #Type, __VA_ARGS__)
// As WSCTL_RECORD_AS, with the record's prepare step (see RecordDesc).
#define WSCTL_RECORD_PREPARED(Type, Layout, Name, Prepare, ...)                          \
  template <>                                                                            \
  const RecordDesc &Describe<Type>() {                                                   \
    using R = Layout;                                                                    \
    static const Field fields[] = {__VA_ARGS__};                                         \
    static const RecordDesc desc{Name, sizeof(R), fields, std::size(fields), Prepare};   \
    return desc;                                                                         \
  }

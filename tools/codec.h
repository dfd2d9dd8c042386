// wsctl: records filled from "path=value" arguments and printed as JSON,
// driven by their descriptions (core/record_desc.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/record_desc.h"

namespace wsctl {

// Zero-filled storage for one record, aligned for any record type (a new
// char array is), and never empty, so a "void" request is still a non-null
// pointer.  It also owns the item arrays and texts that a request read from
// JSON points to.
class RecordBuffer {
 public:
  explicit RecordBuffer(size_t size) : storage_(Block(size)) {}
  void *data() { return storage_.get(); }
  // Zero-filled memory that lives as long as the buffer.
  void *Allocate(size_t size) {
    blocks_.push_back(Block(size));
    return blocks_.back().get();
  }

 private:
  static std::unique_ptr<unsigned char[]> Block(size_t size) {
    return std::unique_ptr<unsigned char[]>(new unsigned char[size + 1]());
  }
  std::unique_ptr<unsigned char[]> storage_;
  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
};

// Stores value into the field that the dotted path names ("user.userLevel",
// "config.maxRTPStreamTime.0.hour").  An item list is indexed like an array
// and grows to hold the item named ("schedule.notifies.1.type", and for
// items of one value "schedule.weeks.0"); the record then owns the array
// (FreeItems, core/record_desc.h, releases it).  Returns an empty string, or
// an error message; on error the record is unchanged.
std::string SetField(const RecordDesc &desc, void *record, const std::string &path, const std::string &value);

// Fills the record from JSON in the shape ToJson prints: an object per
// record, arrays for fixed arrays and item lists, enumeration symbols or
// numbers.  Fields left out stay as they are; an item list's count is the
// number of items given.  A "resultCode" member that the record lacks is
// skipped, so an answer can be fed back as a request.  Returns an empty
// string, or an error message naming the offending path (the record may
// then be partly filled).
std::string FromJson(const RecordDesc &desc, RecordBuffer &record, const std::string &json);
// The same for JSON already parsed; a text holding a NUL is refused.
std::string FromJsonValue(const RecordDesc &desc, RecordBuffer &record, const nlohmann::json &value);

// The settable paths of a record, for messages ("user.userID, user.password").
std::string FieldPaths(const RecordDesc &desc);

// The record as indented JSON (no trailing newline).
std::string ToJson(const RecordDesc &desc, const void *record, int depth = 0);

// A text of at most maxLength bytes (fewer when terminated) as a JSON string.
std::string JsonString(const char *text, size_t maxLength);

// The record's resultCode field, 0 when it has none.
int ResultCode(const RecordDesc &desc, const void *record);

// Why the record holds a value outside its field's enumeration table, naming
// the first such field (path its prefix); empty when every value is in its
// table.  FromJson and SetField let such values through, since the library
// sends them as numbers; a caller that must send only values the device
// knows asks here.
std::string OutsideEnumeration(const RecordDesc &desc, const void *record, const std::string &path = "");

}  // namespace wsctl

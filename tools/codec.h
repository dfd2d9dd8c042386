// wsctl: records filled from "path=value" arguments and printed as JSON,
// driven by their descriptions (records.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "tools/records.h"

namespace wsctl {

// Zero-filled storage for one record, aligned for any record type (a new
// char array is), and never empty, so a "void" request is still a non-null
// pointer.
class RecordBuffer {
 public:
  explicit RecordBuffer(size_t size) : storage_(new unsigned char[size + 1]()) {}
  void *data() { return storage_.get(); }

 private:
  std::unique_ptr<unsigned char[]> storage_;
};

// Stores value into the field that the dotted path names ("user.userLevel",
// "config.maxRTPStreamTime.0.hour").  An item of a request list is named by
// its index ("items.0.key"); the list grows to hold it, and FreeItems
// releases it.  Returns an empty string, or an error message; on error the
// record is unchanged.
std::string SetField(const RecordDesc &desc, void *record, const std::string &path, const std::string &value);

// The settable paths of a record, for messages ("user.userID, user.password").
std::string FieldPaths(const RecordDesc &desc);

// The record as indented JSON (no trailing newline).
std::string ToJson(const RecordDesc &desc, const void *record, int depth = 0);

// A text of at most maxLength bytes (fewer when terminated) as a JSON string.
std::string JsonString(const char *text, size_t maxLength);

// The record's resultCode field, 0 when it has none.
int ResultCode(const RecordDesc &desc, const void *record);

// Releases the item arrays the library allocated into the record.
void FreeItems(const RecordDesc &desc, void *record);

}  // namespace wsctl

#include "tools/codec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace wsctl {

namespace {

// The most items an argument can give a list.
constexpr long long kMaxListItems = 65536;

int32_t ReadInt(const char *at) {
  int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

const char *ReadPointer(const char *at) {
  const char *pointer;
  std::memcpy(&pointer, at, sizeof pointer);
  return pointer;
}

void WritePointer(char *at, const void *pointer) { std::memcpy(at, &pointer, sizeof pointer); }

// The one field of an item that is a bare value (an int32_t, a name): a
// record of one field that fills it.  Such items print and parse as the
// value itself.  Null for items of several fields.
const Field *BareValue(const Field &items) {
  const RecordDesc &item = items.nested();
  if (item.fieldCount != 1) return nullptr;
  const Field &value = item.fields[0];
  return value.offset == 0 && value.count == 1 && value.size == items.size && value.kind != Kind::Items ? &value
                                                                                                       : nullptr;
}

// Whether field is the count of an item list of desc: it follows the list,
// which argument paths grow, and is never set on its own.
bool IsListCount(const RecordDesc &desc, const Field &field) {
  for (size_t i = 0; i < desc.fieldCount; ++i)
    if (desc.fields[i].kind == Kind::Items && desc.fields[i].countOffset == field.offset) return true;
  return false;
}

// An item list's array and count before a command line argument grew it.
struct ListGrowth {
  char *list;  // where the items pointer lives; the count is at countAt
  char *countAt;
  char *oldItems;
  int32_t oldCount;
};

// Makes the item list at list (count at countAt) hold at least index+1
// items, zero-filled beyond the old ones; returns the array, or null when
// memory ran out.
char *GrowList(const Field &field, char *list, char *countAt, size_t index, std::vector<ListGrowth> &undo) {
  char *items = const_cast<char *>(ReadPointer(list));
  const int32_t count = ReadInt(countAt);
  if (items && count > 0 && index < static_cast<size_t>(count)) return items;
  const size_t old = items && count > 0 ? static_cast<size_t>(count) : 0;
  char *grown = static_cast<char *>(::operator new[]((index + 1) * field.size, std::nothrow));
  if (!grown) return nullptr;
  std::memset(grown, 0, (index + 1) * field.size);
  if (old) std::memcpy(grown, items, old * field.size);
  undo.push_back({list, countAt, items, count});
  WritePointer(list, grown);
  const int32_t newCount = static_cast<int32_t>(index + 1);
  std::memcpy(countAt, &newCount, sizeof newCount);
  return grown;
}

// Puts every grown list back as it was, latest first.
void UndoGrowth(std::vector<ListGrowth> &undo) {
  for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
    WebService_FreeItems(const_cast<char *>(ReadPointer(it->list)));
    WritePointer(it->list, it->oldItems);
    std::memcpy(it->countAt, &it->oldCount, sizeof it->oldCount);
  }
}

// Releases the growth records once the new arrays are kept: the arrays they
// replaced go.
void KeepGrowth(std::vector<ListGrowth> &undo) {
  for (const ListGrowth &growth : undo) WebService_FreeItems(growth.oldItems);
}

const Field *FindField(const RecordDesc &desc, const std::string &name) {
  for (size_t i = 0; i < desc.fieldCount; ++i)
    if (name == desc.fields[i].name) return &desc.fields[i];
  return nullptr;
}

std::vector<std::string> SplitPath(const std::string &path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t dot; (dot = path.find('.', start)) != std::string::npos; start = dot + 1)
    parts.push_back(path.substr(start, dot - start));
  parts.push_back(path.substr(start));
  return parts;
}

bool ParseNumber(const std::string &text, long long low, long long high, long long *out) {
  if (text.empty() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return false;
  errno = 0;
  char *end;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end || errno || value < low || value > high) return false;
  *out = value;
  return true;
}

const EnumValue *FindSymbol(const EnumDesc &enumeration, const std::string &symbol) {
  for (size_t i = 0; i < enumeration.count; ++i)
    if (symbol == enumeration.values[i].symbol) return &enumeration.values[i];
  return nullptr;
}

// A number, or a symbol of the field's enumeration (of any enumeration when
// the field names none).
std::string ParseInt(const Field &field, const std::string &path, const std::string &text, int32_t *out) {
  long long number;
  if (ParseNumber(text, INT32_MIN, INT32_MAX, &number)) {
    *out = static_cast<int32_t>(number);
    return "";
  }
  size_t count = 1;
  const EnumDesc *const *tables = &field.enumeration;
  if (!field.enumeration) tables = Enumerations(&count);
  for (size_t t = 0; t < count; ++t)
    if (const EnumValue *value = FindSymbol(*tables[t], text)) {
      *out = value->value;
      return "";
    }
  std::string message = "'" + path + "': expected a 32-bit integer";
  if (!field.enumeration) return message + " or an enumeration symbol";
  message += std::string(" or a ") + field.enumeration->name + " symbol (";
  for (size_t i = 0; i < field.enumeration->count; ++i)
    message += (i ? "|" : "") + std::string(field.enumeration->values[i].symbol);
  return message + ")";
}

std::string SetLeaf(const Field &field, char *at, const std::string &path, const std::string &text) {
  switch (field.kind) {
    case Kind::Int: {
      int32_t value = 0;
      std::string error = ParseInt(field, path, text, &value);
      if (error.empty()) std::memcpy(at, &value, sizeof value);
      return error;
    }
    case Kind::Bool: {
      bool value = text == "true" || text == "1";
      if (!value && text != "false" && text != "0") return "'" + path + "': expected true or false";
      std::memcpy(at, &value, sizeof value);
      return "";
    }
    case Kind::OwnedText: {
      char *copy = strdup(text.c_str());
      if (!copy) return "'" + path + "': out of memory";
      std::free(const_cast<char *>(ReadPointer(at)));
      WritePointer(at, copy);
      return "";
    }
    case Kind::Text:
      if (text.size() >= field.size)
        return "'" + path + "': at most " + std::to_string(field.size - 1) + " bytes (got " +
               std::to_string(text.size()) + ")";
      std::memset(at, 0, field.size);
      std::memcpy(at, text.data(), text.size());
      return "";
    default:
      return "'" + path + "' is filled by the device and cannot be set";
  }
}

void AppendPaths(const RecordDesc &desc, const std::string &prefix, std::string &out) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    if (IsListCount(desc, field)) continue;
    std::string path = prefix + field.name;
    if (field.count > 1) path += ".<0.." + std::to_string(field.count - 1) + ">";
    if (field.kind == Kind::Items) path += ".<n>";
    if (field.kind == Kind::Items && !BareValue(field)) {
      AppendPaths(field.nested(), path + ".", out);
    } else if (field.kind == Kind::Record) {
      AppendPaths(field.nested(), path + ".", out);
    } else {
      out += (out.empty() ? "" : ", ") + path;
    }
  }
}

// The UTF-8 sequence length at s, 0 when s does not start a valid one.
size_t Utf8Length(const unsigned char *s, size_t available) {
  size_t length = s[0] >= 0xF5 ? 0 : s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC2 ? 2 : 0;
  if (length == 0 || length > available) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((s[k] & 0xC0) != 0x80) return 0;
  return length;
}

void AppendIndent(std::string &out, int depth) {
  out += '\n';
  out.append(2 * depth, ' ');
}

std::string ElementJson(const Field &field, const char *at, int depth) {
  switch (field.kind) {
    case Kind::Int: return std::to_string(ReadInt(at));
    case Kind::Bool: return *reinterpret_cast<const unsigned char *>(at) ? "true" : "false";
    case Kind::Text: return JsonString(at, field.size);
    case Kind::OwnedText: {
      const char *text = ReadPointer(at);
      return text ? JsonString(text, std::strlen(text)) : "null";
    }
    case Kind::Items:
      if (const Field *value = BareValue(field)) return ElementJson(*value, at, depth);
      return ToJson(field.nested(), at, depth);
    default: return ToJson(field.nested(), at, depth);
  }
}

std::string FieldJson(const Field &field, const char *base, int depth) {
  const char *first = base + field.offset;
  size_t count = field.count;
  if (field.kind == Kind::Items) {
    int32_t listed = ReadInt(base + field.countOffset);
    first = ReadPointer(first);
    count = first && listed > 0 ? static_cast<size_t>(listed) : 0;
  } else if (count == 1) {
    return ElementJson(field, first, depth);
  }
  bool multiline = field.kind == Kind::Record || (field.kind == Kind::Items && !BareValue(field));
  std::string out = "[";
  for (size_t k = 0; k < count; ++k) {
    out += k ? "," : "";
    if (multiline)
      AppendIndent(out, depth + 1);
    else if (k)
      out += ' ';
    out += ElementJson(field, first + k * field.size, depth + 1);
  }
  if (multiline && count) AppendIndent(out, depth);
  return out + "]";
}

}  // namespace

std::string SetField(const RecordDesc &desc, void *record, const std::string &path, const std::string &value) {
  std::vector<std::string> parts = SplitPath(path);
  std::vector<ListGrowth> growth;
  auto index = [&](size_t &next, const Field &field, long long limit, long long *out) -> std::string {
    if (next < parts.size() && ParseNumber(parts[next], 0, limit - 1, out)) return ++next, "";
    return "'" + path + "': " + field.name + " is " + (field.kind == Kind::Items ? "a list" : "an array") +
           "; follow it with an index 0.." + std::to_string(limit - 1);
  };
  auto walk = [&]() -> std::string {
    const RecordDesc *current = &desc;
    char *at = static_cast<char *>(record);
    size_t next = 0;
    for (;;) {
      const Field *field = next < parts.size() ? FindField(*current, parts[next++]) : nullptr;
      if (!field) {
        if (desc.fieldCount == 0) return "unknown field '" + path + "': " + desc.name + " takes no fields";
        return "unknown field '" + path + "' in " + desc.name + " (fields: " + FieldPaths(desc) + ")";
      }
      char *base = at;
      at += field->offset;
      long long k;
      if (field->count > 1) {
        std::string error = index(next, *field, field->count, &k);
        if (!error.empty()) return error;
        at += k * field->size;
      }
      if (field->kind == Kind::Items) {
        // An item list grows to hold the item named; items it skips are zero.
        std::string error = index(next, *field, kMaxListItems, &k);
        if (!error.empty()) return error;
        char *items = GrowList(*field, at, base + field->countOffset, static_cast<size_t>(k), growth);
        if (!items) return "'" + path + "': out of memory";
        at = items + k * field->size;
        const Field *bare = BareValue(*field);
        if (next == parts.size() && bare) return SetLeaf(*bare, at, path, value);
        if (next == parts.size())
          return "'" + path + "' names no single value of " + desc.name + " (fields: " + FieldPaths(desc) + ")";
        current = &field->nested();
        continue;
      }
      if (field->kind != Kind::Record || next == parts.size()) {
        if (next != parts.size() || field->kind == Kind::Record)
          return "'" + path + "' names no single value of " + desc.name + " (fields: " + FieldPaths(desc) + ")";
        if (IsListCount(*current, *field))
          return "'" + path + "' counts the items given: set the list's items instead";
        return SetLeaf(*field, at, path, value);
      }
      current = &field->nested();
    }
  };
  std::string error = walk();
  if (error.empty())
    KeepGrowth(growth);
  else
    UndoGrowth(growth);
  return error;
}

std::string FieldPaths(const RecordDesc &desc) {
  std::string out;
  AppendPaths(desc, "", out);
  return out;
}

std::string ToJson(const RecordDesc &desc, const void *record, int depth) {
  if (desc.fieldCount == 0) return "{}";
  const char *base = static_cast<const char *>(record);
  std::string out = "{";
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    AppendIndent(out, depth + 1);
    out += JsonString(field.name, std::strlen(field.name)) + ": " + FieldJson(field, base, depth + 1);
    out += i + 1 < desc.fieldCount ? "," : "";
  }
  AppendIndent(out, depth);
  return out + "}";
}

// Valid UTF-8 passes through; any other byte above 0x7f is taken as Latin-1,
// so the output stays valid JSON whatever the device sent.
std::string JsonString(const char *text, size_t maxLength) {
  size_t length = strnlen(text, maxLength);
  const auto *bytes = reinterpret_cast<const unsigned char *>(text);
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = bytes[i];
    if (size_t sequence = c >= 0x80 ? Utf8Length(bytes + i, length - i) : 0) {
      out.append(text + i, sequence);
      i += sequence - 1;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || c >= 0x80) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int ResultCode(const RecordDesc &desc, const void *record) {
  const Field *field = FindField(desc, "resultCode");
  return field && field->kind == Kind::Int ? ReadInt(static_cast<const char *>(record) + field->offset) : 0;
}

void FreeItems(const RecordDesc &desc, void *record) {
  char *base = static_cast<char *>(record);
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    for (size_t k = 0; field.kind == Kind::Record && k < field.count; ++k)
      FreeItems(field.nested(), base + field.offset + k * field.size);
    if (field.kind == Kind::OwnedText) {
      std::free(const_cast<char *>(ReadPointer(base + field.offset)));
      WritePointer(base + field.offset, nullptr);
    }
    if (field.kind != Kind::Items) continue;
    // The arrays inside the items go first.
    char *items = const_cast<char *>(ReadPointer(base + field.offset));
    const int32_t count = ReadInt(base + field.countOffset);
    for (int32_t k = 0; items && k < count; ++k) FreeItems(field.nested(), items + k * field.size);
    WebService_FreeItems(items);
    std::memset(base + field.offset, 0, sizeof(void *));
  }
}

}  // namespace wsctl

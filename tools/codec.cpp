#include "tools/codec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wsctl {

namespace {

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
    if (field.kind == Kind::Items || field.kind == Kind::Texts) continue;
    std::string path = prefix + field.name;
    if (field.count > 1) path += ".<0.." + std::to_string(field.count - 1) + ">";
    if (field.kind == Kind::Record) {
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
    case Kind::Texts: {
      const char *text = ReadPointer(at);
      return text ? JsonString(text, std::string::npos) : "null";
    }
    default: return ToJson(field.nested(), at, depth);
  }
}

std::string FieldJson(const Field &field, const char *base, int depth) {
  const char *first = base + field.offset;
  size_t count = field.count;
  if (field.kind == Kind::Items || field.kind == Kind::Texts) {
    int32_t listed = ReadInt(base + field.countOffset);
    first = ReadPointer(first);
    count = first && listed > 0 ? static_cast<size_t>(listed) : 0;
  } else if (count == 1) {
    return ElementJson(field, first, depth);
  }
  bool multiline = field.kind == Kind::Record || field.kind == Kind::Items;
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

// The most items a request list takes from the command line.
constexpr long long kMaxListItems = 1024;

// Makes the request list of field (in the record at base) hold at least
// needed items: a zero-filled array, the old items kept, count raised.
char *GrowItems(const Field &field, char *base, int32_t needed) {
  const int32_t count = ReadInt(base + field.countOffset);
  char *items = const_cast<char *>(ReadPointer(base + field.offset));
  if (items && needed <= count) return items;
  char *grown = static_cast<char *>(::operator new[](needed * field.size));
  std::memset(grown, 0, needed * field.size);
  if (items && count > 0) std::memcpy(grown, items, count * field.size);
  ::operator delete[](items);
  std::memcpy(base + field.offset, &grown, sizeof grown);
  std::memcpy(base + field.countOffset, &needed, sizeof needed);
  return grown;
}

// "items.<i>.<field>" of a request list: item i, the list grown to hold it.
// The value is tried on a blank item first, so an error changes nothing.
std::string SetListItem(const Field &field, char *base, const std::vector<std::string> &parts, size_t next,
                        const std::string &path, const std::string &value) {
  long long index;
  if (next + 1 >= parts.size() || !ParseNumber(parts[next], 0, kMaxListItems - 1, &index))
    return "'" + path + "': " + field.name + " is a list; give an item index 0.." +
           std::to_string(kMaxListItems - 1) + " and one of its fields (" + FieldPaths(field.nested()) + ")";
  std::string rest = parts[next + 1];
  for (size_t k = next + 2; k < parts.size(); ++k) rest += "." + parts[k];
  std::vector<char> blank(field.size);
  std::string error = SetField(field.nested(), blank.data(), rest, value);
  if (!error.empty()) return "'" + path + "': " + error;
  char *item = GrowItems(field, base, static_cast<int32_t>(index) + 1) + index * field.size;
  return SetField(field.nested(), item, rest, value);
}

}  // namespace

std::string SetField(const RecordDesc &desc, void *record, const std::string &path, const std::string &value) {
  std::vector<std::string> parts = SplitPath(path);
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
    if (field->kind == Kind::Items) return SetListItem(*field, base, parts, next, path, value);
    if (field->count > 1) {
      long long index;
      if (next == parts.size() || !ParseNumber(parts[next++], 0, field->count - 1, &index))
        return "'" + path + "': " + field->name + " is an array; follow it with an index 0.." +
               std::to_string(field->count - 1);
      at += index * field->size;
    }
    if (field->kind != Kind::Record || next == parts.size()) {
      if (next != parts.size() || field->kind == Kind::Record)
        return "'" + path + "' names no single value of " + desc.name + " (fields: " + FieldPaths(desc) + ")";
      return SetLeaf(*field, at, path, value);
    }
    current = &field->nested();
  }
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
    if (field.kind != Kind::Items && field.kind != Kind::Texts) continue;
    const char *items = ReadPointer(base + field.offset);
    const int32_t listed = ReadInt(base + field.countOffset);
    for (int32_t k = 0; items && field.kind == Kind::Texts && k < listed; ++k)
      std::free(const_cast<char *>(ReadPointer(items + k * sizeof(char *))));
    WebService_FreeItems(const_cast<char *>(items));
    std::memset(base + field.offset, 0, sizeof(void *));
  }
}

}  // namespace wsctl

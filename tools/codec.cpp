#include "tools/codec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/json_input.h"

namespace wsctl {

namespace {

int32_t ReadInt(const char *at) {
  int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void WriteInt(char *at, int32_t value) { std::memcpy(at, &value, sizeof value); }

const Field *FindField(const RecordDesc &desc, const std::string &name) {
  for (size_t i = 0; i < desc.fieldCount; ++i)
    if (name == desc.fields[i].name) return &desc.fields[i];
  return nullptr;
}

// The item list whose count the field holds, if any.
const Field *ListCountedBy(const RecordDesc &desc, const Field &field) {
  for (size_t i = 0; field.kind == Kind::Int && i < desc.fieldCount; ++i)
    if (desc.fields[i].kind == Kind::Items && desc.fields[i].countOffset == field.offset) return &desc.fields[i];
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
  if (end != text.c_str() + text.size() || errno || value < low || value > high) return false;
  *out = value;
  return true;
}

const EnumValue *FindSymbol(const EnumDesc &enumeration, const std::string &symbol) {
  for (size_t i = 0; i < enumeration.count; ++i)
    if (symbol == enumeration.values[i].symbol) return &enumeration.values[i];
  return nullptr;
}

// "<Name> symbol (A|B|C)", for messages.
std::string SymbolsOf(const EnumDesc &enumeration) {
  std::string symbols = std::string(enumeration.name) + " symbol (";
  for (size_t i = 0; i < enumeration.count; ++i) symbols += (i ? "|" : "") + std::string(enumeration.values[i].symbol);
  return symbols + ")";
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
  return message + " or a " + SymbolsOf(*field.enumeration);
}

// A NUL would end the C text early: the record would carry another value.
std::string TextProblem(const std::string &path, const std::string &text) {
  return text.find('\0') == std::string::npos ? "" : "'" + path + "': the text holds a NUL character (\\u0000)";
}

std::string SetLeaf(const Field &field, char *at, const std::string &path, const std::string &text) {
  switch (field.kind) {
    case Kind::Int: {
      int32_t value = 0;
      std::string error = ParseInt(field, path, text, &value);
      if (error.empty()) WriteInt(at, value);
      return error;
    }
    case Kind::Bool: {
      bool value = text == "true" || text == "1";
      if (!value && text != "false" && text != "0") return "'" + path + "': expected true or false";
      std::memcpy(at, &value, sizeof value);
      return "";
    }
    case Kind::Text:
      if (std::string why = TextProblem(path, text); !why.empty()) return why;
      if (text.size() >= field.size)
        return "'" + path + "': at most " + std::to_string(field.size - 1) + " bytes (got " +
               std::to_string(text.size()) + ")";
      std::memset(at, 0, field.size);
      std::memcpy(at, text.data(), text.size());
      return "";
    default:
      return "'" + path + "' is a list or a text of any length; give it with --json-in";
  }
}

void AppendPaths(const RecordDesc &desc, const std::string &prefix, std::string &out) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    if (field.kind == Kind::Items || field.kind == Kind::TextPointer) continue;
    std::string path = prefix + field.name;
    if (field.count > 1) path += ".<0.." + std::to_string(field.count - 1) + ">";
    if (field.kind == Kind::Record) {
      AppendPaths(field.nested(), path + ".", out);
    } else {
      out += (out.empty() ? "" : ", ") + path;
    }
  }
}

void AppendIndent(std::string &out, int depth) {
  out += '\n';
  out.append(2 * depth, ' ');
}

const EnumValue *FindValue(const EnumDesc *enumeration, int32_t value) {
  for (size_t i = 0; enumeration && i < enumeration->count; ++i)
    if (enumeration->values[i].value == value) return &enumeration->values[i];
  return nullptr;
}

// An enumeration value as its symbol; a value outside the table as its number.
std::string IntJson(const Field &field, int32_t value) {
  const EnumValue *known = FindValue(field.enumeration, value);
  return known ? "\"" + std::string(known->symbol) + "\"" : std::to_string(value);
}

std::string ElementJson(const Field &field, const char *at, int depth) {
  switch (field.kind) {
    case Kind::Int: return IntJson(field, ReadInt(at));
    case Kind::Bool: return *reinterpret_cast<const unsigned char *>(at) ? "true" : "false";
    case Kind::Text: return JsonString(at, field.size);
    case Kind::TextPointer: {
      const char *text = ReadPointer(at);
      return text ? JsonString(text, std::string::npos) : "null";
    }
    default: return ToJson(field.nested(), at, depth);
  }
}

std::string FieldJson(const Field &field, const char *base, int depth) {
  const char *first = base + field.offset;
  size_t count = field.count;
  const Field element = field.kind == Kind::Items ? ItemOf(field) : field;
  if (field.kind == Kind::Items) {
    count = ListedItems(field, base, &first);
  } else if (count == 1) {
    return ElementJson(field, first, depth);
  }
  bool multiline = element.kind == Kind::Record;
  std::string out = "[";
  for (size_t k = 0; k < count; ++k) {
    out += k ? "," : "";
    if (multiline)
      AppendIndent(out, depth + 1);
    else if (k)
      out += ' ';
    out += ElementJson(element, first + k * field.size, depth + 1);
  }
  if (multiline && count) AppendIndent(out, depth);
  return out + "]";
}

using Json = nlohmann::json;

std::string Join(const std::string &path, const std::string &name) { return path.empty() ? name : path + "." + name; }

// Names the kind of value found, never the value: it may be a password.
std::string Expected(const std::string &path, const std::string &what, const Json &value) {
  const std::string kind = value.type_name();
  return "'" + path + "': expected " + what + ", got " + (kind == "array" || kind == "object" ? "an " : "a ") + kind;
}

std::string FieldNames(const RecordDesc &desc) {
  std::string names;
  for (size_t i = 0; i < desc.fieldCount; ++i) names += (i ? ", " : "") + std::string(desc.fields[i].name);
  return names;
}

// Fills records from parsed JSON; item arrays and texts of any length are
// allocated in the buffer that holds the record.
class JsonReader {
 public:
  explicit JsonReader(RecordBuffer &buffer) : buffer_(buffer) {}

  std::string Record(const RecordDesc &desc, char *base, const Json &value, const std::string &path) {
    if (!value.is_object()) return Expected(path.empty() ? desc.name : path, "an object", value);
    for (const auto &member : value.items())
      if (!FindField(desc, member.key()) && member.key() != "resultCode")
        return "unknown field '" + Join(path, member.key()) + "' in " + desc.name + " (fields: " + FieldNames(desc) +
               ")";
    for (size_t i = 0; i < desc.fieldCount; ++i) {
      const Field &field = desc.fields[i];
      const auto member = value.find(field.name);
      std::string error = member == value.end() ? "" : FieldValue(field, base, *member, Join(path, field.name));
      if (!error.empty()) return error;
    }
    for (size_t i = 0; i < desc.fieldCount; ++i) {
      std::string error = desc.fields[i].kind == Kind::Items ? CountItems(desc, desc.fields[i], base, value, path) : "";
      if (!error.empty()) return error;
    }
    return "";
  }

 private:
  // A list's count is the number of its items: a count given beside them
  // must agree, so the library never reads past the array.
  std::string CountItems(const RecordDesc &desc, const Field &list, char *base, const Json &value,
                         const std::string &path) {
    const auto items = value.find(list.name);
    const Field *counter = nullptr;
    for (size_t i = 0; i < desc.fieldCount; ++i)
      if (ListCountedBy(desc, desc.fields[i]) == &list) counter = &desc.fields[i];
    const bool counted = counter && value.contains(counter->name);
    if (items == value.end() && !counted) return "";
    const size_t given = items != value.end() && items->is_array() ? items->size() : 0;
    if (counted && static_cast<size_t>(ReadInt(base + list.countOffset)) != given)
      return "'" + Join(path, counter->name) + "' is " + std::to_string(ReadInt(base + list.countOffset)) + " but '" +
             Join(path, list.name) + "' holds " + std::to_string(given) + " items";
    WriteInt(base + list.countOffset, static_cast<int32_t>(given));
    return "";
  }

  std::string FieldValue(const Field &field, char *base, const Json &value, const std::string &path) {
    char *at = base + field.offset;
    if (field.kind == Kind::Items) {
      if (value.is_null()) {
        WritePointer(at, nullptr);
        return "";
      }
      if (!value.is_array() || value.size() > INT32_MAX) return Expected(path, "an array of items", value);
      char *items = value.empty() ? nullptr : static_cast<char *>(buffer_.Allocate(value.size() * field.size));
      WritePointer(at, items);
      return Elements(ItemOf(field), items, value, path);
    }
    if (field.count == 1) return Element(field, at, value, path);
    if (!value.is_array() || value.size() > field.count)
      return Expected(path, "an array of at most " + std::to_string(field.count) + " elements", value);
    return Elements(field, at, value, path);
  }

  std::string Elements(const Field &field, char *first, const Json &array, const std::string &path) {
    for (size_t k = 0; k < array.size(); ++k) {
      std::string error = Element(field, first + k * field.size, array[k], Join(path, std::to_string(k)));
      if (!error.empty()) return error;
    }
    return "";
  }

  std::string Element(const Field &field, char *at, const Json &value, const std::string &path) {
    switch (field.kind) {
      // Read as the words of a field=value argument: a number out of range,
      // a fraction or another kind of value is refused, never wrapped.
      case Kind::Int: return SetLeaf(field, at, path, value.is_string() ? value.get<std::string>() : wsjson::Print(value));
      case Kind::Bool: return SetLeaf(field, at, path, wsjson::Print(value));
      case Kind::Text:
        return value.is_string() ? SetLeaf(field, at, path, value.get<std::string>()) : Expected(path, "a text", value);
      case Kind::TextPointer: {
        if (value.is_null()) {
          WritePointer(at, nullptr);
          return "";
        }
        if (!value.is_string()) return Expected(path, "a text or null", value);
        const std::string &text = value.get_ref<const std::string &>();
        if (std::string why = TextProblem(path, text); !why.empty()) return why;
        char *copy = static_cast<char *>(buffer_.Allocate(text.size()));
        std::memcpy(copy, text.data(), text.size());
        WritePointer(at, copy);
        return "";
      }
      case Kind::Record: return Record(field.nested(), at, value, path);
      case Kind::Items: break;  // items of items do not occur: an item is a record holding its lists
    }
    return "'" + path + "': a list of lists has no description";
  }

  RecordBuffer &buffer_;
};

}  // namespace

std::string FromJson(const RecordDesc &desc, RecordBuffer &record, const std::string &text) {
  Json value;
  const std::string why = wsjson::Parse(text, &value);
  return why.empty() ? FromJsonValue(desc, record, value) : why;
}

std::string FromJsonValue(const RecordDesc &desc, RecordBuffer &record, const nlohmann::json &value) {
  return JsonReader(record).Record(desc, static_cast<char *>(record.data()), value, "");
}

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
    at += field->offset;
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
      if (const Field *list = ListCountedBy(*current, *field))
        return "'" + path + "' counts the items of '" + list->name + "'; give them with --json-in";
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
    if (size_t sequence = c >= 0x80 ? wsjson::Utf8Length(bytes + i, length - i) : 0) {
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

std::string OutsideEnumeration(const RecordDesc &desc, const void *record, const std::string &path) {
  const char *base = static_cast<const char *>(record);
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    const Field element = field.kind == Kind::Items ? ItemOf(field) : field;
    if (element.kind != Kind::Record && !element.enumeration) continue;
    const char *first = base + field.offset;
    const size_t count = field.kind == Kind::Items ? ListedItems(field, base, &first) : field.count;
    for (size_t k = 0; k < count; ++k) {
      const char *at = first + k * field.size;
      const bool indexed = field.kind == Kind::Items || field.count > 1;
      const std::string where = Join(path, field.name) + (indexed ? "." + std::to_string(k) : "");
      std::string why = element.kind == Kind::Record ? OutsideEnumeration(element.nested(), at, where) : "";
      if (element.kind != Kind::Record && !FindValue(element.enumeration, ReadInt(at)))
        why = "'" + where + "': " + std::to_string(ReadInt(at)) + " is not a " + SymbolsOf(*element.enumeration);
      if (!why.empty()) return why;
    }
  }
  return "";
}

}  // namespace wsctl

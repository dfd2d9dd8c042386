// What a record owns, and its release, read from its description.
#include <cstdlib>

#include "core/record_desc.h"

namespace wsctl {

bool OwnsMemory(const RecordDesc &desc) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    if (field.kind == Kind::Items || field.kind == Kind::TextPointer) return true;
    if (field.kind == Kind::Record && OwnsMemory(field.nested())) return true;
  }
  return false;
}

void FreeItems(const RecordDesc &desc, void *record) {
  char *base = static_cast<char *>(record);
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    char *at = base + field.offset;
    if (field.kind == Kind::Record) {
      for (size_t k = 0; k < field.count; ++k) FreeItems(field.nested(), at + k * field.size);
    } else if (field.kind == Kind::TextPointer) {
      // A text handed over on its own is an array allocation of the library.
      for (size_t k = 0; k < field.count; ++k) {
        WebService_FreeItems(const_cast<char *>(ReadPointer(at + k * field.size)));
        WritePointer(at + k * field.size, nullptr);
      }
    } else if (field.kind == Kind::Items) {
      const char *first;
      const size_t count = ListedItems(field, base, &first);
      const Field item = ItemOf(field);
      // What each item holds goes first: the texts of a text list are
      // separate duplicates (free); a record item releases its own lists.
      for (size_t k = 0; k < count; ++k) {
        char *one = const_cast<char *>(first) + k * field.size;
        if (item.kind == Kind::TextPointer)
          std::free(const_cast<char *>(ReadPointer(one)));
        else if (item.kind == Kind::Record)
          FreeItems(field.nested(), one);
      }
      WebService_FreeItems(const_cast<char *>(first));
      WritePointer(at, nullptr);
      const int32_t none = 0;
      std::memcpy(base + field.countOffset, &none, sizeof none);
    }
  }
}

}  // namespace wsctl

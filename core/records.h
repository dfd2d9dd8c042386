// Copy rules between SOAP objects and the caller's fixed-layout records.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "webservice/Common.h"

namespace ws {

// The caller's texts are sent in place, never copied.
inline char *SendText(const char *text) { return const_cast<char *>(text); }

// A request field's wire value: texts in place, numbers as they are, and a
// boolean as the caller's byte, any nonzero value counting as true.
inline char *Send(const char *text) { return SendText(text); }
inline int Send(int value) { return value; }
inline bool Send(const bool &flag) {
  unsigned char byte;
  std::memcpy(&byte, &flag, 1);
  return byte != 0;
}

// The wire objects of one request beyond its element: created for the
// exchange, outside the SOAP context, and deleted with it.
class Outgoing {
 public:
  template <class T>
  T *New() {
    auto object = std::make_shared<T>();
    objects_.push_back(object);
    return object.get();
  }
  // A new wire object for member, which then points at it.
  template <class T>
  T &Element(T *&member) {
    return *(member = New<T>());
  }

 private:
  std::vector<std::shared_ptr<void>> objects_;
};

// Fills the wire list with one new wire item per caller item, in order, each
// by fill(wire item, caller item).
template <class Wire, class Item, class Fill>
void SendItems(Outgoing &out, std::vector<Wire *> &list, const Item *items, size_t count, Fill fill) {
  for (size_t i = 0; i < count; ++i) {
    Wire *wire = out.New<Wire>();
    fill(*wire, items[i]);
    list.push_back(wire);
  }
}

// Stores the boolean result and the device's result code of a Set-like answer
// into any record that has both (CallResult, or a service's own order of them).
template <class Record>
int StoreCallResult(Record *response, bool result, int resultCode) {
  response->result = result;
  response->resultCode = resultCode;
  return 0;
}

// Copies text from the device into a fixed array: at most N-1 bytes, always
// terminated.  A missing text leaves the array as it was.
template <size_t N>
void CopyTextIfPresent(char (&field)[N], const char *text) {
  if (!text) return;
  size_t length = strnlen(text, N - 1);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

// As CopyTextIfPresent, but a missing text yields an empty field.
template <size_t N>
void CopyTextOrEmpty(char (&field)[N], const char *text) {
  field[0] = '\0';
  CopyTextIfPresent(field, text);
}

// Copies one key/value pair from the device; a missing key or value leaves
// its field empty.
template <class Item, class Wire>
void CopyKeyValue(Item &item, const Wire &pair) {
  CopyTextOrEmpty(item.key, pair.key);
  CopyTextOrEmpty(item.value, pair.value);
}

// The most items a caller's array holds: its count is an int32.
constexpr size_t kMaxItems = 0x7fffffff;

// Allocates a zero-filled array that the caller owns afterwards; it can be
// released with delete[] of the same type or with WebService_FreeItems.
// Returns null when the memory is not there or count is past kMaxItems.
template <class Item>
Item *AllocateItems(size_t count) {
  if (count > kMaxItems || count > static_cast<size_t>(-1) / sizeof(Item)) return nullptr;
  void *memory = ::operator new[](count * sizeof(Item), std::nothrow);
  if (memory) std::memset(memory, 0, count * sizeof(Item));
  return static_cast<Item *>(memory);
}

// Allocates the caller's array of one item per source, fills each with
// copyItem(item, source) and stores count and items.
template <class Item, class Source, class CopyItem>
int StoreArray(int32_t &count, Item *&items, const std::vector<Source> &sources, CopyItem copyItem) {
  Item *array = AllocateItems<Item>(sources.size());
  if (!array) return WS_STATUS_OUT_OF_MEMORY;
  for (size_t i = 0; i < sources.size(); ++i) copyItem(array[i], sources[i]);
  count = static_cast<int32_t>(sources.size());
  items = array;
  return 0;
}

// StoreArray into a list record; a nil item leaves its entry zero-filled.
template <class ListRecord, class Source, class CopyItem>
int StoreItems(ListRecord *record, const std::vector<Source *> &items, CopyItem copyItem) {
  return StoreArray(record->count, record->items, items, [&](auto &item, const Source *source) {
    if (source) copyItem(item, *source);
  });
}

// The account list rule: count and items are written only when the device
// reported resultCode 0 and listed at least one item.
template <class ListRecord, class Source, class CopyItem>
int FillListWhenNonEmpty(ListRecord *record, int resultCode, const std::vector<Source *> *items,
                         CopyItem copyItem) {
  record->resultCode = resultCode;
  if (resultCode != 0 || !items || items->empty()) return 0;
  return StoreItems(record, *items, copyItem);
}

// The parameter-list rule: with resultCode 0 and the list present, count is
// written even when 0; items only when there is at least one.
template <class ListRecord, class Source, class CopyItem>
int FillListCountAlways(ListRecord *record, int resultCode, const std::vector<Source *> *items,
                        CopyItem copyItem) {
  record->resultCode = resultCode;
  if (resultCode != 0 || !items) return 0;
  if (items->empty()) {
    record->count = 0;
    return 0;
  }
  return StoreItems(record, *items, copyItem);
}

// The new-array list rule: with resultCode 0 and the list present, count and
// a new item array are written, also for an empty list (an array of 0 items).
template <class ListRecord, class Source, class CopyItem>
int FillListArrayAlways(ListRecord *record, int resultCode, const std::vector<Source *> *items,
                        CopyItem copyItem) {
  record->resultCode = resultCode;
  if (resultCode != 0 || !items) return 0;
  return StoreItems(record, *items, copyItem);
}

// Copies a list of texts for the caller: a new[] array of count pointers,
// each a separate strdup copy (released with free; the array with delete[]).
// A nil text gives a null entry.  Returns null when the memory is not there,
// having released whatever it had copied.
inline char **DuplicateTexts(const std::vector<char *> &texts) {
  char **array = AllocateItems<char *>(texts.size());
  if (!array) return nullptr;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (!texts[i]) continue;
    if (!(array[i] = strdup(texts[i]))) {
      for (size_t j = 0; j < i; ++j) std::free(array[j]);
      ::operator delete[](array);
      return nullptr;
    }
  }
  return array;
}

}  // namespace ws

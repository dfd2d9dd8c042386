// The records of Factory.h.
#include "core/describe.h"

namespace wsctl {

namespace {

// FactoryCommandRecord with room for a text of up to 1023 bytes.
struct FactoryCommandArgument {
  char id[sizeof FactoryCommandRecord::id];
  char password[sizeof FactoryCommandRecord::password];
  char text[1024];
};
static_assert(offsetof(FactoryCommandArgument, text) == offsetof(FactoryCommandRecord, text),
              "the argument must start like the record");

// KeyListRecord with the key names it points at: key.0=... key.1=... on the
// command line.
constexpr int kMaxKeys = 16;
struct KeyListArgument {
  KeyListRecord list;
  char key[kMaxKeys][256];
  const char *names[kMaxKeys];
};
static_assert(offsetof(KeyListArgument, list) == 0, "the argument must start with the record");

// Sends the keys up to the last one given (none: the empty key list).
void PointAtKeys(void *record) {
  auto *argument = static_cast<KeyListArgument *>(record);
  argument->list.count = 0;
  for (int i = 0; i < kMaxKeys; ++i) {
    argument->names[i] = argument->key[i];
    if (argument->key[i][0]) argument->list.count = i + 1;
  }
  argument->list.keys = argument->names;
}

}  // namespace

WSCTL_RECORD_AS(FactoryCommandRecord, FactoryCommandArgument, "FactoryCommandRecord", F(id), F(password), F(text))
WSCTL_RECORD_PREPARED(KeyListRecord, KeyListArgument, "KeyListRecord", PointAtKeys, F(key))
WSCTL_RECORD(FactoryTextRecord, F(text), F(resultCode))

}  // namespace wsctl

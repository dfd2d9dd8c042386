// wsctl: the records of Factory.h.
#include "tools/describe.h"

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

}  // namespace

WSCTL_RECORD_AS(FactoryCommandRecord, FactoryCommandArgument, "FactoryCommandRecord", F(id), F(password), F(text))
// Only the empty key list (every setting) can be given on the command line:
// the record points at the caller's key names.
WSCTL_RECORD(KeyListRecord, F(count))
WSCTL_RECORD(FactoryTextRecord, F(text), F(resultCode))

}  // namespace wsctl

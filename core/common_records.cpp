// The records of Common.h.
#include "core/describe.h"

namespace wsctl {

namespace {

// A TextRequestRecord with room for a text of up to 1023 bytes.
struct TextRequestLayout {
  char prefix[100];
  char text[1024];
};

}  // namespace

WSCTL_RECORD(CallResult, F(result), F(resultCode))
WSCTL_RECORD(IntValueRecord, F(value), F(resultCode))
WSCTL_RECORD(ChannelRecord, F(channel))
WSCTL_RECORD(StreamRecord, F(channel), F(master))
WSCTL_RECORD_AS(TextRequestRecord, TextRequestLayout, "TextRequestRecord", F(text))

}  // namespace wsctl

// wsctl: the records of Common.h.
#include "tools/describe.h"

namespace wsctl {

namespace {

// TextRequestRecord declares one byte of text; wsctl gives it room.
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

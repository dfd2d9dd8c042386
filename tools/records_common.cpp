// wsctl: the records of Common.h.
#include "tools/describe.h"

namespace wsctl {

WSCTL_RECORD(CallResult, F(result), F(resultCode))
WSCTL_RECORD(IntValueRecord, F(value), F(resultCode))
WSCTL_RECORD(ChannelRecord, F(channel))
WSCTL_RECORD(StreamRecord, F(channel), F(master))

}  // namespace wsctl

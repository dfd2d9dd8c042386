// wsctl: the records of BasicSystem.h.
#include "tools/describe.h"

namespace wsctl {

WSCTL_RECORD(ChannelListRecord, F(channel), F(count), F(resultCode))
WSCTL_RECORD(VersionRecord, F(swVersion), F(hwVersion), F(fwVersion), F(resultCode))
WSCTL_RECORD(ParameterRecord, F(key), F(value))
WSCTL_RECORD(ParameterListRecord, F(count), L(items, count), F(resultCode))

}  // namespace wsctl

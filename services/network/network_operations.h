// The Network service's exports: (operation, request type, response type).
#pragma once

#include "webservice/Network.h"

#define WS_NETWORK_OPERATIONS(X)                              \
  X(GetIPSectionList, void, IPSectionListRecord)              \
  X(GetIPSection, TextRequestRecord, IPSectionResponseRecord) \
  X(AddIPSection, IPSectionRequestRecord, CallResult)         \
  X(RemoveIPSection, TextRequestRecord, CallResult)           \
  X(RemoveAllIPSection, void, CallResult)                     \
  X(GetAccessPolicy, void, BoolValueRecord)                   \
  X(SetAccessPolicy, BoolRequestRecord, CallResult)           \
  X(GetWebProtocol, void, WebProtocolResponseRecord)          \
  X(SetWebProtocol, WebProtocolRequestRecord, CallResult)     \
  X(GetARPPingUsage, void, BoolValueRecord)                   \
  X(SetARPPingUsage, BoolRequestRecord, CallResult)           \
  X(GetMacAddress, void, MacAddressRecord)                    \
  X(GetIPv4, void, IPv4ResponseRecord)                        \
  X(SetIPv4, IPv4RequestRecord, CallResult)                   \
  X(GetDNSServer, void, DNSResponseRecord)                    \
  X(SetDNSServer, DNSRequestRecord, CallResult)               \
  X(GetDDNSServer, void, DDNSResponseRecord)                  \
  X(SetDDNSServer, DDNSRequestRecord, CallResult)             \
  X(GetTTL, void, IntValueRecord)                             \
  X(SetTTL, IntRequestRecord, CallResult)                     \
  X(GetRTSPPort, void, IntValueRecord)                        \
  X(SetRTSPPort, IntRequestRecord, CallResult)                \
  X(GetRTPConfig, StreamRecord, RTPConfigResponseRecord)      \
  X(SetRTPConfig, RTPConfigRequestRecord, CallResult)

// The Network service's exports: (operation, request type, response type,
// answer shape, request statements); see core/shapes.h.  RefreshDDNSServer,
// the web-service list and the wireless operations are declared by the
// service but not exported.
#pragma once

#include "webservice/Network.h"

#define WS_NETWORK_OPERATIONS(X)                                                                             \
  X(GetIPSectionList, void, IPSectionListRecord, List(CountAlways, IPSection_USCORET), )                      \
  X(GetIPSection, TextRequestRecord, IPSectionResponseRecord, Item(section), WS_SET(alias, request->text))     \
  X(AddIPSection, IPSectionRequestRecord, CallResult, CallResult, WS_FILL)                                    \
  X(RemoveIPSection, TextRequestRecord, CallResult, CallResult, WS_SET(alias, request->text))                 \
  X(RemoveAllIPSection, void, CallResult, CallResult, )                                                       \
  X(GetAccessPolicy, void, BoolValueRecord, Value, )                                                          \
  X(SetAccessPolicy, BoolRequestRecord, CallResult, CallResult, WS_SET(allow, request->value))                \
  X(GetWebProtocol, void, WebProtocolResponseRecord, Item(protocol), )                                        \
  X(SetWebProtocol, WebProtocolRequestRecord, CallResult, CallResult, WS_FILL)                                \
  X(GetARPPingUsage, void, BoolValueRecord, Value, )                                                          \
  X(SetARPPingUsage, BoolRequestRecord, CallResult, CallResult, WS_SET(enable, request->value))               \
  X(GetMacAddress, void, MacAddressRecord, Text(macAddress), )                                                \
  X(GetIPv4, void, IPv4ResponseRecord, Item(ipv4), )                                                          \
  X(SetIPv4, IPv4RequestRecord, CallResult, CallResult, WS_FILL)                                              \
  X(GetDNSServer, void, DNSResponseRecord, Item(dns), )                                                       \
  X(SetDNSServer, DNSRequestRecord, CallResult, CallResult, WS_FILL)                                          \
  X(GetDDNSServer, void, DDNSResponseRecord, Item(ddns), )                                                    \
  X(SetDDNSServer, DDNSRequestRecord, CallResult, CallResult, WS_FILL)                                        \
  X(GetTTL, void, IntValueRecord, Value, )                                                                    \
  X(SetTTL, IntRequestRecord, CallResult, CallResult, WS_SET(ttl, request->value))                            \
  X(GetRTSPPort, void, IntValueRecord, Value, )                                                               \
  X(SetRTSPPort, IntRequestRecord, CallResult, CallResult, WS_SET(port, request->value))                      \
  X(GetRTPConfig, StreamRecord, RTPConfigResponseRecord, Item(config),                                        \
    WS_SET(channel, request->channel) WS_SET(master, request->master))                                        \
  X(SetRTPConfig, RTPConfigRequestRecord, CallResult, CallResult,                                             \
    WS_SET(channel, request->channel) WS_SET(master, request->master) WS_FILL)

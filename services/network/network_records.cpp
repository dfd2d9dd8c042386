// The records of Network.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(IPv4Record, F(enableAuto), F(ipAddress), F(subNetMask), F(defaultGateway))
WSCTL_RECORD(DNSRecord, F(primaryDNS), F(secondaryDNS))
WSCTL_RECORD(DDNSRecord, F(enable), F(hostname))
WSCTL_RECORD(RTPConfigRecord, F(videoRTPPort), F(audioRTPPort), F(vaRTPPort), F(enableMulticast), F(multicastIP))
WSCTL_RECORD(IPSectionRecord, F(alias), F(fromAddress), F(toAddress))
WSCTL_RECORD(WebProtocolRecord, F(enableHTTPS), F(port))

WSCTL_RECORD(IPv4RequestRecord, F(ipv4))
WSCTL_RECORD(DNSRequestRecord, F(dns))
WSCTL_RECORD(DDNSRequestRecord, F(ddns))
WSCTL_RECORD(IntRequestRecord, F(value))
WSCTL_RECORD(BoolRequestRecord, F(value))
WSCTL_RECORD(RTPConfigRequestRecord, F(channel), F(master), F(config))
WSCTL_RECORD(IPSectionRequestRecord, F(section))
WSCTL_RECORD(WebProtocolRequestRecord, F(protocol))

WSCTL_RECORD(IPv4ResponseRecord, F(ipv4), F(resultCode))
WSCTL_RECORD(MacAddressRecord, F(macAddress), F(resultCode))
WSCTL_RECORD(DNSResponseRecord, F(dns), F(resultCode))
WSCTL_RECORD(DDNSResponseRecord, F(ddns), F(resultCode))
WSCTL_RECORD(BoolValueRecord, F(value), F(resultCode))
WSCTL_RECORD(RTPConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(IPSectionResponseRecord, F(section), F(resultCode))
WSCTL_RECORD(WebProtocolResponseRecord, F(protocol), F(resultCode))
WSCTL_RECORD(IPSectionListRecord, F(count), L(items, count), F(resultCode))

}  // namespace wsctl

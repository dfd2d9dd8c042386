/* The Network service's records. */
SIZE(IPv4Record, 301); AT(IPv4Record, ipAddress, 1); AT(IPv4Record, subNetMask, 101);
AT(IPv4Record, defaultGateway, 201);
SIZE(DNSRecord, 200); AT(DNSRecord, secondaryDNS, 100);
SIZE(DDNSRecord, 257); AT(DDNSRecord, hostname, 1);
SIZE(RTPConfigRecord, 116); AT(RTPConfigRecord, audioRTPPort, 4); AT(RTPConfigRecord, vaRTPPort, 8);
AT(RTPConfigRecord, enableMulticast, 12); AT(RTPConfigRecord, multicastIP, 13);
SIZE(IPSectionRecord, 456); AT(IPSectionRecord, fromAddress, 256); AT(IPSectionRecord, toAddress, 356);
SIZE(WebProtocolRecord, 8); AT(WebProtocolRecord, port, 4);

SIZE(IPv4RequestRecord, 401); AT(IPv4RequestRecord, ipv4, 100);
SIZE(DNSRequestRecord, 300); AT(DNSRequestRecord, dns, 100);
SIZE(DDNSRequestRecord, 357); AT(DDNSRequestRecord, ddns, 100);
SIZE(IntRequestRecord, 104); AT(IntRequestRecord, value, 100);
SIZE(BoolRequestRecord, 101); AT(BoolRequestRecord, value, 100);
SIZE(RTPConfigRequestRecord, 224); AT(RTPConfigRequestRecord, channel, 100); AT(RTPConfigRequestRecord, master, 104);
AT(RTPConfigRequestRecord, config, 108);
SIZE(IPSectionRequestRecord, 556); AT(IPSectionRequestRecord, section, 100);
SIZE(WebProtocolRequestRecord, 108); AT(WebProtocolRequestRecord, protocol, 100);

SIZE(IPv4ResponseRecord, 308); AT(IPv4ResponseRecord, resultCode, 304);
SIZE(MacAddressRecord, 56); AT(MacAddressRecord, resultCode, 52);
SIZE(DNSResponseRecord, 204); AT(DNSResponseRecord, resultCode, 200);
SIZE(DDNSResponseRecord, 264); AT(DDNSResponseRecord, resultCode, 260);
SIZE(BoolValueRecord, 8); AT(BoolValueRecord, resultCode, 4);
SIZE(RTPConfigResponseRecord, 120); AT(RTPConfigResponseRecord, resultCode, 116);
SIZE(IPSectionResponseRecord, 460); AT(IPSectionResponseRecord, resultCode, 456);
SIZE(WebProtocolResponseRecord, 12); AT(WebProtocolResponseRecord, resultCode, 8);

#if defined(__x86_64__) || defined(__aarch64__)
SIZE(IPSectionListRecord, 24); AT(IPSectionListRecord, items, 8); AT(IPSectionListRecord, resultCode, 16);
#endif

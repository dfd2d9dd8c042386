/*
 * WebService: the Network service (IPv4, DNS, DDNS, MAC address, TTL, RTSP port, RTP, ARP ping, IP access control, web protocol).  Arguments and status codes as in Common.h.
 *
 * Addresses, masks and host names travel as text in both directions; the
 * library converts and checks none of them.  Texts from the device are cut to
 * their arrays less one byte and always terminated.
 */
#ifndef WEBSERVICE_NETWORK_H
#define WEBSERVICE_NETWORK_H

#include "Common.h"

/* The device's IPv4 configuration (ns1:IPv4_T). */
typedef struct IPv4Record {
  bool enableAuto; /* true: the address comes from DHCP */
  char ipAddress[100];
  char subNetMask[100];
  char defaultGateway[100];
} IPv4Record;

/* The device's DNS servers (ns1:DNS_T). */
typedef struct DNSRecord {
  char primaryDNS[100];
  char secondaryDNS[100];
} DNSRecord;

/* The dynamic-DNS registration (ns1:DDNS_T). */
typedef struct DDNSRecord {
  bool enable;
  char hostname[256];
} DDNSRecord;

/* The RTP ports and multicast settings of one stream (ns1:RTPConfig_T). */
typedef struct RTPConfigRecord {
  int32_t videoRTPPort;
  int32_t audioRTPPort;
  int32_t vaRTPPort;
  bool enableMulticast;
  char multicastIP[100];
} RTPConfigRecord;

/* One IP access section: a named range of addresses (ns1:IPSection_T). */
typedef struct IPSectionRecord {
  char alias[256]; /* the name GetIPSection and RemoveIPSection address it by */
  char fromAddress[100];
  char toAddress[100];
} IPSectionRecord;

/* The web protocol (ns1:WebProtocol_T). */
typedef struct WebProtocolRecord {
  bool enableHTTPS;
  int32_t port;
} WebProtocolRecord;

typedef struct IPv4RequestRecord {
  char prefix[100]; /* neither read nor written */
  IPv4Record ipv4;
} IPv4RequestRecord;

typedef struct DNSRequestRecord {
  char prefix[100]; /* neither read nor written */
  DNSRecord dns;
} DNSRequestRecord;

typedef struct DDNSRequestRecord {
  char prefix[100]; /* neither read nor written */
  DDNSRecord ddns;
} DDNSRequestRecord;

typedef struct IntRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t value;
} IntRequestRecord;

typedef struct BoolRequestRecord {
  char prefix[100]; /* neither read nor written */
  bool value;       /* 0 is sent as false, any other value as true */
} BoolRequestRecord;

typedef struct RTPConfigRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  bool master; /* true: the channel's master stream */
  RTPConfigRecord config;
} RTPConfigRequestRecord;

typedef struct IPSectionRequestRecord {
  char prefix[100]; /* neither read nor written */
  IPSectionRecord section;
} IPSectionRequestRecord;

typedef struct WebProtocolRequestRecord {
  char prefix[100]; /* neither read nor written */
  WebProtocolRecord protocol;
} WebProtocolRequestRecord;

/* The Get responses below write resultCode always.  A payload record is left
 * as the caller had it when the answer carries no result; otherwise its
 * integers and booleans are written (0 when absent) and each text only when
 * the answer carries it, whatever resultCode says. */
typedef struct IPv4ResponseRecord {
  IPv4Record ipv4;
  int32_t resultCode;
} IPv4ResponseRecord;

typedef struct MacAddressRecord {
  char macAddress[50];
  int32_t resultCode;
} MacAddressRecord;

typedef struct DNSResponseRecord {
  DNSRecord dns;
  int32_t resultCode;
} DNSResponseRecord;

typedef struct DDNSResponseRecord {
  DDNSRecord ddns;
  int32_t resultCode;
} DDNSResponseRecord;

/* Response of exports that return one boolean. */
typedef struct BoolValueRecord {
  bool value;
  int32_t resultCode;
} BoolValueRecord;

typedef struct RTPConfigResponseRecord {
  RTPConfigRecord config;
  int32_t resultCode;
} RTPConfigResponseRecord;

typedef struct IPSectionResponseRecord {
  IPSectionRecord section;
  int32_t resultCode;
} IPSectionResponseRecord;

typedef struct WebProtocolResponseRecord {
  WebProtocolRecord protocol;
  int32_t resultCode;
} WebProtocolResponseRecord;

/* count is written when resultCode is 0 and the device sent a list, even an
 * empty one; items only when count is at least 1 (a zero-filled array, so a
 * nil item or an absent text stays empty).  Otherwise both stay as the caller
 * left them: set them to 0 and NULL before the call. */
typedef struct IPSectionListRecord {
  int32_t count;
  IPSectionRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} IPSectionListRecord;

/* Releases what the library allocated into an IPSectionListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreeIPSectionListRecord(IPSectionListRecord *record);

/* GetIPSectionList: request is any non-null pointer (not read); fills an IPSectionListRecord whose items array the caller then owns and releases with WebService_FreeIPSectionListRecord. */
WS_API int WS_CALL DLL_WebServiceGetIPSectionList(const char *host, const char *user, const char *password, const void *request, IPSectionListRecord *response, ConnectionInfo *conn);
/* GetIPSection: request->text is the section's alias; fills an IPSectionResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetIPSection(const char *host, const char *user, const char *password, const TextRequestRecord *request, IPSectionResponseRecord *response, ConnectionInfo *conn);
/* AddIPSection: sends request->section; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceAddIPSection(const char *host, const char *user, const char *password, const IPSectionRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveIPSection: request->text is the section's alias; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveIPSection(const char *host, const char *user, const char *password, const TextRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* RemoveAllIPSection: request is any non-null pointer (not read); the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceRemoveAllIPSection(const char *host, const char *user, const char *password, const void *request, CallResult *response, ConnectionInfo *conn);
/* GetAccessPolicy: request is any non-null pointer (not read); whether the sections are allowed goes to a BoolValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetAccessPolicy(const char *host, const char *user, const char *password, const void *request, BoolValueRecord *response, ConnectionInfo *conn);
/* SetAccessPolicy: request->value is sent as allow; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetAccessPolicy(const char *host, const char *user, const char *password, const BoolRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetWebProtocol: request is any non-null pointer (not read); fills a WebProtocolResponseRecord.  30-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetWebProtocol(const char *host, const char *user, const char *password, const void *request, WebProtocolResponseRecord *response, ConnectionInfo *conn);
/* SetWebProtocol: sends request->protocol; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetWebProtocol(const char *host, const char *user, const char *password, const WebProtocolRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetARPPingUsage: request is any non-null pointer (not read); whether ARP ping is on goes to a BoolValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetARPPingUsage(const char *host, const char *user, const char *password, const void *request, BoolValueRecord *response, ConnectionInfo *conn);
/* SetARPPingUsage: request->value is sent as enable; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetARPPingUsage(const char *host, const char *user, const char *password, const BoolRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetMacAddress: request is any non-null pointer (not read); fills a MacAddressRecord. */
WS_API int WS_CALL DLL_WebServiceGetMacAddress(const char *host, const char *user, const char *password, const void *request, MacAddressRecord *response, ConnectionInfo *conn);
/* GetIPv4: request is any non-null pointer (not read); fills an IPv4ResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetIPv4(const char *host, const char *user, const char *password, const void *request, IPv4ResponseRecord *response, ConnectionInfo *conn);
/* SetIPv4: sends request->ipv4; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetIPv4(const char *host, const char *user, const char *password, const IPv4RequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetDNSServer: request is any non-null pointer (not read); fills a DNSResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetDNSServer(const char *host, const char *user, const char *password, const void *request, DNSResponseRecord *response, ConnectionInfo *conn);
/* SetDNSServer: sends request->dns; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetDNSServer(const char *host, const char *user, const char *password, const DNSRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetDDNSServer: request is any non-null pointer (not read); fills a DDNSResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetDDNSServer(const char *host, const char *user, const char *password, const void *request, DDNSResponseRecord *response, ConnectionInfo *conn);
/* SetDDNSServer: sends request->ddns; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetDDNSServer(const char *host, const char *user, const char *password, const DDNSRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetTTL: request is any non-null pointer (not read); the TTL goes to an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetTTL(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetTTL: request->value is the TTL; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetTTL(const char *host, const char *user, const char *password, const IntRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetRTSPPort: request is any non-null pointer (not read); the port goes to an IntValueRecord. */
WS_API int WS_CALL DLL_WebServiceGetRTSPPort(const char *host, const char *user, const char *password, const void *request, IntValueRecord *response, ConnectionInfo *conn);
/* SetRTSPPort: request->value is the port; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetRTSPPort(const char *host, const char *user, const char *password, const IntRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetRTPConfig: reads request->channel and master; fills an RTPConfigResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetRTPConfig(const char *host, const char *user, const char *password, const StreamRecord *request, RTPConfigResponseRecord *response, ConnectionInfo *conn);
/* SetRTPConfig: sends request->channel, master and config; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetRTPConfig(const char *host, const char *user, const char *password, const RTPConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

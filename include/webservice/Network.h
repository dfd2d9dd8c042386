/*
 * WebService: the Network service (IPv4, DNS, DDNS, MAC address, TTL, RTSP port, RTP, ARP ping, IP access control, web protocol).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_NETWORK_H
#define WEBSERVICE_NETWORK_H

#include "Common.h"

#endif

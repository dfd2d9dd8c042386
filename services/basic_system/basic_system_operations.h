// The BasicSystem service's exports: (operation, request type, response type).
#pragma once

#include "webservice/BasicSystem.h"

// Every export but GetVersion, which probes two endpoint kinds itself.
#define WS_BASIC_SYSTEM_FRAMED_OPERATIONS(X)                   \
  X(GetMaxChannel, void, IntValueRecord)                       \
  X(GetChannelList, void, ChannelListRecord)                   \
  X(GetSpecProfile, void, ParameterListRecord)                 \
  X(GetFunctionMap, char, ParameterListRecord)                 \
  X(GetDeviceInformation, void, ParameterListRecord)           \
  X(GetMaxStreamConnection, void, IntValueRecord)              \
  X(SetMaxStreamConnection, int32_t, CallResult)

#define WS_BASIC_SYSTEM_OPERATIONS(X)     \
  WS_BASIC_SYSTEM_FRAMED_OPERATIONS(X)    \
  X(GetVersion, void, VersionRecord)

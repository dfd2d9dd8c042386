// The Utility service's exports: (operation, request type, response type).
#pragma once

#include "webservice/Utility.h"

#define WS_UTILITY_OPERATIONS(X)                                 \
  X(ConnectClientForAudio, AudioClientRecord, CallResult)        \
  X(DisconnectClientForAudio, void, CallResult)                  \
  X(GetLanguage, void, IntValueRecord)                           \
  X(SetLanguage, LanguageRequestRecord, CallResult)

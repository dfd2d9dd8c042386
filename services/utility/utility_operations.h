// The Utility service's exports: (operation, request type, response type,
// answer shape, request statements); see core/shapes.h.
#pragma once

#include "webservice/Utility.h"

#define WS_UTILITY_OPERATIONS(X)                                                                             \
  X(ConnectClientForAudio, AudioClientRecord, CallResult, CallResult,                                        \
    WS_SET(url, request->url) WS_SET(port, request->port) WS_SET(userID, request->userID)                    \
        WS_SET(password, request->password) WS_SET(enableTcp, request->enableTcp))                           \
  X(DisconnectClientForAudio, void, CallResult, CallResult, )                                                \
  X(GetLanguage, void, IntValueRecord, Value, )                                                              \
  X(SetLanguage, LanguageRequestRecord, CallResult, CallResult, WS_SET(language, request->language))

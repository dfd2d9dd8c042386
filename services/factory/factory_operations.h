// The Factory service's exports: (operation, request type, response type,
// answer shape, request statements); see core/shapes.h.  FeatureTest and
// TestVCABoard belong to the service but are not exported.
#pragma once

#include "webservice/Factory.h"

// Identity and password first, then the record's text as member.
#define WS_SET_FACTORY_COMMAND(member) \
  WS_SET(id, request->id) WS_SET(password, request->password) WS_SET(member, request->text)

#define WS_FACTORY_OPERATIONS(X)                                                                            \
  X(SetDefaultSetting, FactoryCommandRecord, CallResult, CallResult, WS_SET_FACTORY_COMMAND(settings))      \
  X(GetDefaultSetting, KeyListRecord, ParameterListRecord, List(CountAlways, Parameter_USCORET),            \
    WS_REQUIRE(request->count >= 0 && (request->count == 0 || request->keys)) WS_FILL)                      \
  X(SendPTZCommandByPass, FactoryCommandRecord, FactoryTextRecord, Text(text),                              \
    WS_SET_FACTORY_COMMAND(command))                                                                        \
  X(AudioBypassStart, int32_t, CallResult, CallResult, WS_SET(audioChannel, *request))                      \
  X(AudioBypassStop, int32_t, CallResult, CallResult, WS_SET(audioChannel, *request))                       \
  X(GetSerial, void, FactoryTextRecord, Text(text), )                                                       \
  X(ResetFactory, void, CallResult, CallResult, )

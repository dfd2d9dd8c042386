// The Factory service's exports: (operation, request type, response type).
// FeatureTest and TestVCABoard belong to the service but are not exported.
#pragma once

#include "webservice/Factory.h"

#define WS_FACTORY_OPERATIONS(X)                                      \
  X(SetDefaultSetting, FactoryCommandRecord, CallResult)              \
  X(GetDefaultSetting, KeyListRecord, ParameterListRecord)            \
  X(SendPTZCommandByPass, FactoryCommandRecord, FactoryTextRecord)    \
  X(AudioBypassStart, int32_t, CallResult)                            \
  X(AudioBypassStop, int32_t, CallResult)                             \
  X(GetSerial, void, FactoryTextRecord)                               \
  X(ResetFactory, void, CallResult)

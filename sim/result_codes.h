// The simulated device's verdicts: the resultCode of every answer, in one
// table that the handlers use by name and `webservice-sim --help` prints.
// Each service keeps its codes in its own block of numbers.
#pragma once

// (name, value, meaning)
#define WS_SIM_RESULT_CODES(X)                                                    \
  X(kResultOk, 0, "success")                                                      \
  /* shared by every service: 1..99 */                                            \
  X(kResultUserExists, 1, "a user of that name exists")                           \
  X(kResultUnknownUser, 2, "no user of that name")                                \
  X(kResultUnknownChannel, 3, "no such channel")                                  \
  X(kResultUnknownCategory, 4, "no such function-map category")                   \
  X(kResultOutOfRange, 5, "a value is out of range")                              \
  X(kResultMissingArgument, 6, "a required member is missing")                    \
  X(kResultTooLong, 7, "a text is longer than the device keeps")                  \
  WS_SIM_BASIC_SYSTEM_RESULT_CODES(X)                                             \
  WS_SIM_NETWORK_RESULT_CODES(X)                                                  \
  WS_SIM_EVENT_SCHEDULE_RESULT_CODES(X)                                           \
  WS_SIM_PTZ_RESULT_CODES(X)                                                      \
  WS_SIM_VIDEO_ANALYSIS_RESULT_CODES(X)                                           \
  WS_SIM_UTILITY_FACTORY_RESULT_CODES(X)

// BasicSystem: 100..199
#define WS_SIM_BASIC_SYSTEM_RESULT_CODES(X)

// Network: 200..299
#define WS_SIM_NETWORK_RESULT_CODES(X)

// EventSchedule: 300..399
#define WS_SIM_EVENT_SCHEDULE_RESULT_CODES(X)

// PTZ: 400..499
#define WS_SIM_PTZ_RESULT_CODES(X)

// VideoAnalysis: 500..599
#define WS_SIM_VIDEO_ANALYSIS_RESULT_CODES(X)

// Utility and Factory: 600..699
#define WS_SIM_UTILITY_FACTORY_RESULT_CODES(X)                                        \
  X(kResultAudioClientActive, 600, "an audio client connection is already active")   \
  X(kResultNoAudioClient, 601, "no audio client connection is active")               \
  X(kResultFactoryRefused, 610, "wrong factory identity or password")                \
  X(kResultUnknownSettingKey, 611, "no factory default setting of that key")         \
  X(kResultBadSettingsText, 612, "the settings text is not key=value entries")       \
  X(kResultAudioBypassActive, 613, "audio pass-through already runs on that channel") \
  X(kResultAudioBypassIdle, 614, "no audio pass-through runs on that channel")

namespace sim {

#define WS_SIM_RESULT_CODE_ENUM(name, value, meaning) name = value,
enum ResultCode { WS_SIM_RESULT_CODES(WS_SIM_RESULT_CODE_ENUM) };
#undef WS_SIM_RESULT_CODE_ENUM

}  // namespace sim

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
#define WS_SIM_PTZ_RESULT_CODES(X)                                                           \
  X(kResultPtzUnknownProtocol, 400, "no PTZ protocol of that name")                          \
  X(kResultPtzProtocolExists, 401, "a PTZ protocol of that name exists")                     \
  X(kResultPtzProtocolInUse, 402, "the PTZ protocol is in use on a channel")                 \
  X(kResultPtzUnknownCommand, 403, "the channel's PTZ protocol has no such command")        \
  X(kResultPtzUnknownPreset, 404, "no preset of that alias on the channel")                  \
  X(kResultPtzPresetExists, 405, "a preset of that alias exists on the channel")             \
  X(kResultPtzTourUnknownPreset, 406, "the tour names a preset the channel does not have")   \
  X(kResultPtzNoTour, 407, "the channel has no preset tour")                                 \
  X(kResultPtzNotRecording, 408, "no pattern is being recorded on the channel")              \
  X(kResultPtzNoPattern, 409, "the channel has no recorded pattern")                         \
  X(kResultPtzMenuClosed, 410, "the on-screen menu is not open")                             \
  X(kResultPtzUnknownKey, 411, "no PTZ parameter or setting of that name")

// VideoAnalysis: 500..599
#define WS_SIM_VIDEO_ANALYSIS_RESULT_CODES(X)

// Utility and Factory: 600..699
#define WS_SIM_UTILITY_FACTORY_RESULT_CODES(X)

namespace sim {

#define WS_SIM_RESULT_CODE_ENUM(name, value, meaning) name = value,
enum ResultCode { WS_SIM_RESULT_CODES(WS_SIM_RESULT_CODE_ENUM) };
#undef WS_SIM_RESULT_CODE_ENUM

}  // namespace sim

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
#define WS_SIM_BASIC_SYSTEM_RESULT_CODES(X)                                                              \
  X(kResultServerUnreachable, 100, "the server does not answer (empty address, or one in 192.0.2.0/24)") \
  X(kResultUnknownTimeZone, 101, "no such time zone in the device's list")                               \
  X(kResultRecordingServerExists, 102, "a recording server of that alias exists")                        \
  X(kResultUnknownRecordingServer, 103, "no recording server of that alias")                             \
  X(kResultUnknownBackup, 104, "no configuration backup of that file name")                              \
  X(kResultNoFirmwareVersion, 105, "the firmware file name holds no version number")                     \
  X(kResultUnknownLogDate, 106, "no log for that date")

// Network: 200..299
#define WS_SIM_NETWORK_RESULT_CODES(X)                                            \
  X(kResultNotIPv4Address, 201, "an address is not dotted IPv4")                  \
  X(kResultPortOutOfRange, 202, "a port is outside 1..65535")                     \
  X(kResultSectionExists, 203, "an IP access section of that alias exists")       \
  X(kResultUnknownSection, 204, "no IP access section of that alias")             \
  X(kResultReversedRange, 205, "an address range ends before it starts")          \
  X(kResultDDNSDisabled, 206, "dynamic DNS is switched off")                      \
  X(kResultNoWireless, 207, "the device has no wireless interface")

// EventSchedule: 300..399 (350..399: notification servers, device
// notifications, manual recording and the SD card)
#define WS_SIM_EVENT_SCHEDULE_RESULT_CODES(X)                                     \
  X(kResultNotSimulated, 300, "the simulator does not model this operation yet")   \
  X(kResultUnknownSchedule, 301, "no recording schedule with that ID")             \
  X(kResultScheduleExists, 302, "a recording schedule with that ID exists")        \
  X(kResultBadTimeTable, 303, "the time table has the wrong number of entries (336 weekly, else 48)") \
  X(kResultScheduleAllocated, 304, "the schedule is allocated to a stream: release it first") \
  X(kResultAlreadyAllocated, 305, "the schedule is already allocated to that stream") \
  X(kResultNotAllocated, 306, "the schedule is not allocated to that stream")      \
  X(kResultUnknownEventSource, 307, "no such event source")                        \
  X(kResultUnknownSensor, 308, "no sensor on that channel")                        \
  X(kResultUnknownRelay, 309, "no relay on that channel")                          \
  X(kResultTooManySchedules, 310, "the device keeps no more recording schedules")  \
  X(kResultRelayIdle, 311, "the relay is not running")                           \
  X(kResultUnknownServer, 350, "no server with that alias")                        \
  X(kResultAliasExists, 351, "a server with that alias exists")                    \
  X(kResultServerInUse, 352, "the SMTP server is named by the device's mail or disk-full setting: change that first") \
  X(kResultTooManyServers, 353, "the device keeps no more servers of that kind")   \
  X(kResultNotLoopback, 354, "servers are tested on 127.0.0.0/8 addresses only")   \
  X(kResultNothingListening, 355, "nothing accepts connections at that address and port") \
  X(kResultSdNotMounted, 356, "the SD card is not mounted")                        \
  X(kResultSdUnknownCommand, 357, "no such SD card command (0 format, 1 mount, 2 unmount)") \
  X(kResultSdFull, 358, "the SD card is full and may not overwrite old recordings") \
  X(kResultAlreadyRecording, 359, "a manual recording runs on that stream")        \
  X(kResultNotRecording, 360, "no manual recording runs on that stream")           \
  X(kResultUnknownFile, 361, "no recording of that name on the SD card")           \
  X(kResultBadTimeRange, 362, "the time range is not a valid date and time range")

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
#define WS_SIM_VIDEO_ANALYSIS_RESULT_CODES(X)                                           \
  X(kResultWindowExists, 500, "a detection window of that sequence or alias exists")   \
  X(kResultUnknownWindow, 501, "no detection window of that sequence or alias")         \
  X(kResultTooManyWindows, 502, "the channel holds as many detection windows as it can") \
  X(kResultPerspectivePoints, 503, "a perspective list does not hold four points")      \
  X(kResultTooManyParams, 504, "more key/value parameters than the channel keeps")

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

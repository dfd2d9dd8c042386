/*
 * WebService: the enumerations of the device's schema.
 *
 * Each table lists (symbol, value); the symbol is what travels on the wire and
 * WS_<symbol> is the C constant.  A value outside a table is sent as its
 * decimal number, and a number received in place of a symbol is accepted.
 */
#ifndef WEBSERVICE_ENUMS_H
#define WEBSERVICE_ENUMS_H

#define WS_USER_LEVEL_VALUES(X) \
  X(USER_ADMIN, 0) X(USER_POWER, 1) X(USER_NORMAL, 2) X(USER_CUSTOMER, 3)
#define WS_VIDEO_STANDARD_VALUES(X) \
  X(VIDEO_STANDARD_AUTO, 0) X(VIDEO_STANDARD_PAL, 1) X(VIDEO_STANDARD_NTSC, 2)
#define WS_VIDEO_CODEC_VALUES(X) X(VIDEO_CODEC_MJPEG, 0) X(VIDEO_CODEC_H264, 1)
#define WS_RESOLUTION_VALUES(X)                                       \
  X(RESOLUTION_FULL_D1, 0) X(RESOLUTION_HALF_D1, 1) X(RESOLUTION_FULL_CIF, 2) \
  X(RESOLUTION_QUAD_CIF, 3)
#define WS_VIDEO_BITRATE_VALUES(X) X(VIDEO_BITRATE_CBR, 0) X(VIDEO_BITRATE_VBR, 1)
#define WS_VIDEO_QUALITY_VALUES(X)                                          \
  X(VIDEO_QUALITY_FULL, 0) X(VIDEO_QUALITY_SUPER_HIGH, 1) X(VIDEO_QUALITY_HIGH, 2) \
  X(VIDEO_QUALITY_MEDIUM, 3) X(VIDEO_QUALITY_LOW, 4)
#define WS_AUDIO_CODEC_VALUES(X)                                      \
  X(AUDIO_CODEC_G711_PCMU, 0) X(AUDIO_CODEC_G711_PCMA, 1)             \
  X(AUDIO_CODEC_G726_24K, 2) X(AUDIO_CODEC_G726_32K, 3)
#define WS_DATETIME_MODE_VALUES(X) \
  X(DATETIME_MODE_MANUAL, 0) X(DATETIME_MODE_PC, 1) X(DATETIME_MODE_AUTO, 2)
#define WS_NTP_INTERVAL_VALUES(X)                                          \
  X(NTP_INTERVAL_ONE_HOUR, 0) X(NTP_INTERVAL_ONE_DAY, 1)                   \
  X(NTP_INTERVAL_ONE_WEEK, 2) X(NTP_INTERVAL_ONE_MONTH, 3)
#define WS_SCHEDULE_REPEAT_VALUES(X)                                         \
  X(SCHEDULE_REPEAT_DAILY, 0) X(SCHEDULE_REPEAT_WEEKLY, 1)                   \
  X(SCHEDULE_REPEAT_CUSTOM_NONE, 2) X(SCHEDULE_REPEAT_CUSTOM_MONTHLY, 3)     \
  X(SCHEDULE_REPEAT_CUSTOM_YEARLY, 4)
#define WS_EVENT_NOTIFY_VALUES(X)                                            \
  X(EVENT_NOTIFY_FTP, 0) X(EVENT_NOTIFY_SMTP, 1) X(EVENT_NOTIFY_PRESET, 2)   \
  X(EVENT_NOTIFY_RELAY, 3) X(EVENT_NOTIFY_SDRecording, 4) X(EVENT_NOTIFY_FlashLED, 5)
#define WS_WEEK_VALUES(X) \
  X(SUN, 0) X(MON, 1) X(TUE, 2) X(WED, 3) X(THU, 4) X(FRI, 5) X(SAT, 6)
#define WS_TEMPERATURE_DEVICE_VALUES(X) \
  X(TEMPERATURE_DEVICE_FAN, 0) X(TEMPERATURE_DEVICE_HEATER, 1)
#define WS_PARITY_VALUES(X) X(PARITY_NONE, 0) X(PARITY_EVEN, 1) X(PARITY_ODD, 2)
#define WS_OSD_MENU_VALUES(X)                                                \
  X(OSD_MENU_OPEN, 0) X(OSD_MENU_CLOSE, 1) X(OSD_MENU_UP, 2) X(OSD_MENU_DOWN, 3) \
  X(OSD_MENU_LEFT, 4) X(OSD_MENU_RIGHT, 5) X(OSD_MENU_SELECT, 6) X(OSD_MENU_BACK, 7)
#define WS_LANGUAGE_VALUES(X) X(LANGUAGE_KOREAN, 0) X(LANGUAGE_ENGLISH, 1)

/* Every enumeration: (C type name, schema type name, value table). */
#define WS_ENUMERATIONS(X)                                      \
  X(UserLevel, USER_LEVEL_T, WS_USER_LEVEL_VALUES)              \
  X(VideoStandard, VIDEO_STANDARD_T, WS_VIDEO_STANDARD_VALUES)  \
  X(VideoCodec, VIDEO_CODEC_T, WS_VIDEO_CODEC_VALUES)           \
  X(Resolution, RESOLUTION_T, WS_RESOLUTION_VALUES)             \
  X(VideoBitrate, VIDEO_BITRATE_T, WS_VIDEO_BITRATE_VALUES)     \
  X(VideoQuality, VIDEO_QUALITY_T, WS_VIDEO_QUALITY_VALUES)     \
  X(AudioCodec, AUDIO_CODEC_T, WS_AUDIO_CODEC_VALUES)           \
  X(DateTimeMode, DATETIME_MODE_T, WS_DATETIME_MODE_VALUES)     \
  X(NtpInterval, NTP_INTERVAL_T, WS_NTP_INTERVAL_VALUES)        \
  X(ScheduleRepeat, SCHEDULE_REPEAT_T, WS_SCHEDULE_REPEAT_VALUES) \
  X(EventNotify, EVENT_NOTIFY_T, WS_EVENT_NOTIFY_VALUES)        \
  X(Week, WEEK_T, WS_WEEK_VALUES)                               \
  X(TemperatureDevice, TEMPERATURE_DEVICE_T, WS_TEMPERATURE_DEVICE_VALUES) \
  X(Parity, PARITY_T, WS_PARITY_VALUES)                         \
  X(OsdMenu, OSD_MENU_T, WS_OSD_MENU_VALUES)                    \
  X(Language, LANGUAGE_T, WS_LANGUAGE_VALUES)

#define WS_ENUM_CONSTANT(symbol, value) WS_##symbol = value,
#define WS_ENUM_TYPE(ctype, schema, values) \
  typedef enum ctype { values(WS_ENUM_CONSTANT) } ctype;
WS_ENUMERATIONS(WS_ENUM_TYPE)
#undef WS_ENUM_TYPE

#endif

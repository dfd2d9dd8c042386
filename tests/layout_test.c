/* The layout of every public record, fixed at compile time.  Compiled as C99
 * (layout_test.c) and as C++ (layout_test.cpp includes this file). */
#include <stddef.h>

#include "webservice/WebService.h"

/* A negative array size stops the compilation when a check fails. */
#define CHECK(name, condition) typedef char check_##name[(condition) ? 1 : -1]
#define SIZE(type, bytes) CHECK(size_##type, sizeof(type) == (bytes))
#define AT(type, field, offset) CHECK(type##_##field, offsetof(type, field) == (offset))

SIZE(ConnectionInfo, 16);
AT(ConnectionInfo, useHttps, 4); AT(ConnectionInfo, port, 8); AT(ConnectionInfo, endpointKind, 12);
SIZE(CallResult, 8); AT(CallResult, resultCode, 4);
SIZE(IntValueRecord, 8); AT(IntValueRecord, resultCode, 4);
SIZE(ChannelRecord, 104); AT(ChannelRecord, channel, 100);
SIZE(StreamRecord, 108); AT(StreamRecord, channel, 100); AT(StreamRecord, master, 104);
SIZE(TextRequestRecord, 101); AT(TextRequestRecord, text, 100);

SIZE(UserRecord, 204); AT(UserRecord, password, 100); AT(UserRecord, userLevel, 200);
SIZE(UserRequestRecord, 304); AT(UserRequestRecord, user, 100);
SIZE(UserResponseRecord, 308); AT(UserResponseRecord, password, 100); AT(UserResponseRecord, userLevel, 200);
AT(UserResponseRecord, spare, 204); AT(UserResponseRecord, resultCode, 304);
SIZE(TimeSlotRecord, 16); AT(TimeSlotRecord, minute, 4); AT(TimeSlotRecord, second, 8); AT(TimeSlotRecord, extra, 12);
SIZE(SessionConfigRecord, 68); AT(SessionConfigRecord, maxRTPStreamTime, 4);
SIZE(SessionConfigRequestRecord, 168); AT(SessionConfigRequestRecord, config, 100);
SIZE(SessionConfigResponseRecord, 72); AT(SessionConfigResponseRecord, resultCode, 68);

SIZE(VideoSourceConfigRecord, 28); AT(VideoSourceConfigRecord, contrast, 4); AT(VideoSourceConfigRecord, hue, 8);
AT(VideoSourceConfigRecord, brightness, 12); AT(VideoSourceConfigRecord, sharpness, 16);
AT(VideoSourceConfigRecord, videoStandard, 20); AT(VideoSourceConfigRecord, captureMode, 24);
SIZE(VideoEncoderConfigRecord, 44); AT(VideoEncoderConfigRecord, frameRate, 4); AT(VideoEncoderConfigRecord, bitRate, 8);
AT(VideoEncoderConfigRecord, gopSize, 12); AT(VideoEncoderConfigRecord, deinterlacing, 16);
AT(VideoEncoderConfigRecord, width, 20); AT(VideoEncoderConfigRecord, height, 24);
AT(VideoEncoderConfigRecord, videoCodec, 28); AT(VideoEncoderConfigRecord, resolutionType, 32);
AT(VideoEncoderConfigRecord, bitRateType, 36); AT(VideoEncoderConfigRecord, qualityType, 40);
SIZE(AudioConfigRecord, 12); AT(AudioConfigRecord, audioInCodec, 4); AT(AudioConfigRecord, enableAudioOut, 8);
SIZE(VideoSourceConfigRequestRecord, 132); AT(VideoSourceConfigRequestRecord, channel, 100);
AT(VideoSourceConfigRequestRecord, config, 104);
SIZE(VideoEncoderConfigRequestRecord, 152); AT(VideoEncoderConfigRequestRecord, channel, 100);
AT(VideoEncoderConfigRequestRecord, master, 104); AT(VideoEncoderConfigRequestRecord, config, 108);
SIZE(AudioConfigRequestRecord, 116); AT(AudioConfigRequestRecord, config, 104);
SIZE(VideoSourceConfigResponseRecord, 32); AT(VideoSourceConfigResponseRecord, resultCode, 28);
SIZE(VideoEncoderConfigResponseRecord, 48); AT(VideoEncoderConfigResponseRecord, resultCode, 44);
SIZE(AudioConfigResponseRecord, 16); AT(AudioConfigResponseRecord, resultCode, 12);

SIZE(ChannelListRecord, 24); AT(ChannelListRecord, count, 16); AT(ChannelListRecord, resultCode, 20);
SIZE(VersionRecord, 304); AT(VersionRecord, hwVersion, 100); AT(VersionRecord, fwVersion, 200);
AT(VersionRecord, resultCode, 300);
SIZE(ParameterRecord, 512); AT(ParameterRecord, value, 256);

/* The list records hold a pointer: 8 bytes on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(UserListRecord, 24); AT(UserListRecord, items, 8); AT(UserListRecord, resultCode, 16);
SIZE(ParameterListRecord, 24); AT(ParameterListRecord, items, 8); AT(ParameterListRecord, resultCode, 16);
#endif

/* The enumerations are int-sized and keep their values. */
SIZE(EndpointKind, 4); SIZE(UserLevel, 4);
CHECK(enum_values, WS_USER_CUSTOMER == 3 && WS_VIDEO_QUALITY_LOW == 4 && WS_EVENT_NOTIFY_FlashLED == 5 && WS_SAT == 6);
CHECK(api_values, WS_RESOLVE_ASK == 2 && ENDPOINT_KIND_ROOT == 2);

/* Each service's records (tests/layout/<service>.h). */
#include "layout_parts.h"

int main(void) { return 0; }

// wsctl: record descriptions and the operation table.
//
// A record is listed once, field by field; each field's kind, size and array
// length come from its declared type.  Fields the library neither reads nor
// writes (prefix, spare, extra) are left out.  Nested records must be
// described before the records that hold them.
#include "tools/records.h"

#include <cstring>
#include <iterator>
#include <strings.h>

#include "services/account/account_operations.h"
#include "services/audio_video/audio_video_operations.h"
#include "services/basic_system/basic_system_operations.h"

namespace wsctl {

namespace {

#define WSCTL_ENUM_VALUE(symbol, value) {#symbol, value},
#define WSCTL_ENUM(ctype, schema, values)                         \
  const EnumValue ctype##Values[] = {values(WSCTL_ENUM_VALUE)}; \
  const EnumDesc ctype##Enum{#ctype, ctype##Values, std::size(ctype##Values)};
WS_ENUMERATIONS(WSCTL_ENUM)
#define WSCTL_ENUM_ENTRY(ctype, schema, values) &ctype##Enum,
const EnumDesc *const kEnumerations[] = {WS_ENUMERATIONS(WSCTL_ENUM_ENTRY)};

constexpr Field WithCount(Field items, size_t countOffset) {
  items.countOffset = countOffset;
  return items;
}

// The bare requests: a text, and one integer.
struct TextArgument {
  char text[1024];
};
struct IntArgument {
  int32_t value;
};

}  // namespace

template <>
const RecordDesc &Describe<void>() {
  static const RecordDesc desc{"void", 0, nullptr, 0};
  return desc;
}

// F: a plain field; E: an int field holding an enumeration; L: an item list
// and its count.
#define F(member) FieldOf<decltype(R::member)>(#member, offsetof(R, member))
#define E(member, ctype) FieldOf<decltype(R::member)>(#member, offsetof(R, member), &ctype##Enum)
#define L(items, count) WithCount(F(items), offsetof(R, count))

#define WSCTL_RECORD_AS(Type, Layout, Name, ...)                              \
  template <>                                                                 \
  const RecordDesc &Describe<Type>() {                                        \
    using R = Layout;                                                         \
    static const Field fields[] = {__VA_ARGS__};                              \
    static const RecordDesc desc{Name, sizeof(R), fields, std::size(fields)}; \
    return desc;                                                              \
  }
#define WSCTL_RECORD(Type, ...) WSCTL_RECORD_AS(Type, Type, #Type, __VA_ARGS__)

WSCTL_RECORD_AS(char, TextArgument, "text", F(text))
WSCTL_RECORD_AS(int32_t, IntArgument, "int32_t", F(value))

// Common.h
WSCTL_RECORD(CallResult, F(result), F(resultCode))
WSCTL_RECORD(IntValueRecord, F(value), F(resultCode))
WSCTL_RECORD(ChannelRecord, F(channel))
WSCTL_RECORD(StreamRecord, F(channel), F(master))

// Account.h
WSCTL_RECORD(UserRecord, F(userID), F(password), E(userLevel, UserLevel))
WSCTL_RECORD(UserRequestRecord, F(user))
WSCTL_RECORD(UserResponseRecord, F(userID), F(password), E(userLevel, UserLevel), F(resultCode))
WSCTL_RECORD(UserListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(TimeSlotRecord, F(hour), F(minute), F(second))
WSCTL_RECORD(SessionConfigRecord, F(enableAnonymous), F(maxRTPStreamTime))
WSCTL_RECORD(SessionConfigRequestRecord, F(config))
WSCTL_RECORD(SessionConfigResponseRecord, F(config), F(resultCode))

// AudioVideo.h
WSCTL_RECORD(VideoSourceConfigRecord, F(enable), F(contrast), F(hue), F(brightness), F(sharpness),
             E(videoStandard, VideoStandard), F(captureMode))
WSCTL_RECORD(VideoEncoderConfigRecord, F(enable), F(frameRate), F(bitRate), F(gopSize), F(deinterlacing),
             F(width), F(height), E(videoCodec, VideoCodec), E(resolutionType, Resolution),
             E(bitRateType, VideoBitrate), E(qualityType, VideoQuality))
WSCTL_RECORD(AudioConfigRecord, F(enableAudioIn), E(audioInCodec, AudioCodec), F(enableAudioOut))
WSCTL_RECORD(VideoSourceConfigRequestRecord, F(channel), F(config))
WSCTL_RECORD(VideoEncoderConfigRequestRecord, F(channel), F(master), F(config))
WSCTL_RECORD(AudioConfigRequestRecord, F(channel), F(config))
WSCTL_RECORD(VideoSourceConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(VideoEncoderConfigResponseRecord, F(config), F(resultCode))
WSCTL_RECORD(AudioConfigResponseRecord, F(config), F(resultCode))

// BasicSystem.h
WSCTL_RECORD(ChannelListRecord, F(channel), F(count), F(resultCode))
WSCTL_RECORD(VersionRecord, F(swVersion), F(hwVersion), F(fwVersion), F(resultCode))
WSCTL_RECORD(ParameterRecord, F(key), F(value))
WSCTL_RECORD(ParameterListRecord, F(count), L(items, count), F(resultCode))

#undef F
#undef E
#undef L

namespace {

#define WSCTL_OPERATION(Op, Req, Resp)                                                               \
  {#Op, &Describe<Req>, &Describe<Resp>,                                                             \
   [](const char *host, const char *user, const char *password, const void *request, void *response, \
      ConnectionInfo *conn) {                                                                        \
     return DLL_WebService##Op(host, user, password, static_cast<const Req *>(request),              \
                               static_cast<Resp *>(response), conn);                                 \
   }},

const Operation kOperations[] = {
    WS_ACCOUNT_OPERATIONS(WSCTL_OPERATION)
    WS_AUDIO_VIDEO_OPERATIONS(WSCTL_OPERATION)
    WS_BASIC_SYSTEM_OPERATIONS(WSCTL_OPERATION)
};

}  // namespace

const Operation *Operations(size_t *count) {
  *count = std::size(kOperations);
  return kOperations;
}

const Operation *FindOperation(const char *name) {
  for (const Operation &op : kOperations)
    if (std::strcmp(op.name, name) == 0) return &op;
  for (const Operation &op : kOperations)
    if (strcasecmp(op.name, name) == 0) return &op;
  return nullptr;
}

const EnumDesc *const *Enumerations(size_t *count) {
  *count = std::size(kEnumerations);
  return kEnumerations;
}

}  // namespace wsctl

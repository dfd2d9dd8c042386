// Serializers for the schema's enumerations.  A value travels as its symbol;
// a value outside the table goes out as its decimal number, and a number is
// accepted on input in place of a symbol.
#include <cstring>

#include "soapH.h"
#include "webservice/Enums.h"

namespace {

struct EnumSymbol {
  const char *name;
  int value;
};

template <size_t N>
const char *EnumToText(struct soap *soap, const EnumSymbol (&table)[N], int value) {
  for (const EnumSymbol &s : table)
    if (s.value == value) return s.name;
  return soap_int2s(soap, value);
}

template <size_t N>
int TextToEnum(struct soap *soap, const EnumSymbol (&table)[N], const char *text, int *value) {
  if (!text) return soap->error;
  while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') ++text;
  size_t length = std::strlen(text);
  while (length && (text[length - 1] == ' ' || text[length - 1] == '\t' ||
                    text[length - 1] == '\r' || text[length - 1] == '\n'))
    --length;
  for (const EnumSymbol &s : table)
    if (std::strlen(s.name) == length && !std::strncmp(s.name, text, length)) {
      *value = s.value;
      return SOAP_OK;
    }
  return soap_s2int(soap, text, value);
}

int WriteEnum(struct soap *soap, const char *tag, int id, const int *value, const char *type,
              int typeId, const char *text) {
  if (soap_element_begin_out(soap, tag, soap_embedded_id(soap, id, value, typeId), type) ||
      soap_string_out(soap, text, 0))
    return soap->error;
  return soap_element_end_out(soap, tag);
}

template <size_t N>
int *ReadEnum(struct soap *soap, const char *tag, int *value, int typeId,
              const EnumSymbol (&table)[N]) {
  if (soap_element_begin_in(soap, tag, 0, nullptr)) return nullptr;
  value = static_cast<int *>(
      soap_id_enter(soap, soap->id, value, typeId, sizeof(int), nullptr, nullptr, nullptr, nullptr));
  if (*soap->href)
    value = static_cast<int *>(
        soap_id_forward(soap, soap->href, value, 0, typeId, 0, sizeof(int), 0, nullptr, nullptr));
  else if (value && TextToEnum(soap, table, soap_value(soap), value))
    return nullptr;
  if (soap->body && soap_element_end_in(soap, tag)) return nullptr;
  return value;
}

#define WS_ENUM_SYMBOL(symbol, value) {#symbol, value},

}  // namespace

#define WS_DEFINE_ENUM_SERIALIZER(ctype, schema, values)                                     \
  namespace {                                                                                \
  const EnumSymbol k##ctype##Symbols[] = {values(WS_ENUM_SYMBOL)};                           \
  }                                                                                          \
  void soap_default_ns1__##schema(struct soap *, int *value) { *value = 0; }                 \
  const char *soap_ns1__##schema##2s(struct soap *soap, int value) {                         \
    return EnumToText(soap, k##ctype##Symbols, value);                                       \
  }                                                                                          \
  int soap_s2ns1__##schema(struct soap *soap, const char *text, int *value) {                \
    return TextToEnum(soap, k##ctype##Symbols, text, value);                                 \
  }                                                                                          \
  int soap_out_ns1__##schema(struct soap *soap, const char *tag, int id, const int *value,   \
                             const char *type) {                                             \
    return WriteEnum(soap, tag, id, value, type, SOAP_TYPE_ns1__##schema,                    \
                     EnumToText(soap, k##ctype##Symbols, *value));                           \
  }                                                                                          \
  int *soap_in_ns1__##schema(struct soap *soap, const char *tag, int *value, const char *) { \
    return ReadEnum(soap, tag, value, SOAP_TYPE_ns1__##schema, k##ctype##Symbols);           \
  }

// soapcpp2 spells '_' in a schema name as _USCORE.
#define WS_SCHEMA_ENUMERATIONS(X)                                              \
  X(UserLevel, USER_USCORELEVEL_USCORET, WS_USER_LEVEL_VALUES)                 \
  X(VideoStandard, VIDEO_USCORESTANDARD_USCORET, WS_VIDEO_STANDARD_VALUES)     \
  X(VideoCodec, VIDEO_USCORECODEC_USCORET, WS_VIDEO_CODEC_VALUES)              \
  X(Resolution, RESOLUTION_USCORET, WS_RESOLUTION_VALUES)                      \
  X(VideoBitrate, VIDEO_USCOREBITRATE_USCORET, WS_VIDEO_BITRATE_VALUES)        \
  X(VideoQuality, VIDEO_USCOREQUALITY_USCORET, WS_VIDEO_QUALITY_VALUES)        \
  X(AudioCodec, AUDIO_USCORECODEC_USCORET, WS_AUDIO_CODEC_VALUES)              \
  X(DateTimeMode, DATETIME_USCOREMODE_USCORET, WS_DATETIME_MODE_VALUES)        \
  X(NtpInterval, NTP_USCOREINTERVAL_USCORET, WS_NTP_INTERVAL_VALUES)           \
  X(ScheduleRepeat, SCHEDULE_USCOREREPEAT_USCORET, WS_SCHEDULE_REPEAT_VALUES)  \
  X(EventNotify, EVENT_USCORENOTIFY_USCORET, WS_EVENT_NOTIFY_VALUES)           \
  X(Week, WEEK_USCORET, WS_WEEK_VALUES)                                        \
  X(TemperatureDevice, TEMPERATURE_USCOREDEVICE_USCORET, WS_TEMPERATURE_DEVICE_VALUES) \
  X(Parity, PARITY_USCORET, WS_PARITY_VALUES)                                  \
  X(OsdMenu, OSD_USCOREMENU_USCORET, WS_OSD_MENU_VALUES)                       \
  X(Language, LANGUAGE_USCORET, WS_LANGUAGE_VALUES)

WS_SCHEMA_ENUMERATIONS(WS_DEFINE_ENUM_SERIALIZER)

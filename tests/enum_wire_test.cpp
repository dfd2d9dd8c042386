// The wire text of every enumeration value, against the symbols the devices
// know, written out here: not taken from the library's tables, which the
// simulator shares, so that a misspelt symbol cannot pass on both sides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soapH.h"
#include "webservice/Enums.h"

namespace {

struct Enumeration {
  const char *type;
  const char *(*toText)(struct soap *, int);
  int (*fromText)(struct soap *, const char *, int *);
  std::vector<std::string> symbols;  // the symbol of value 0, 1, ...
};

#define WS_WIRE(schema) #schema, soap_ns1__##schema##2s, soap_s2ns1__##schema
const Enumeration kEnumerations[] = {
    {WS_WIRE(USER_USCORELEVEL_USCORET), {"USER_ADMIN", "USER_POWER", "USER_NORMAL", "USER_CUSTOMER"}},
    {WS_WIRE(VIDEO_USCORESTANDARD_USCORET), {"VIDEO_STANDARD_AUTO", "VIDEO_STANDARD_PAL", "VIDEO_STANDARD_NTSC"}},
    {WS_WIRE(VIDEO_USCORECODEC_USCORET), {"VIDEO_CODEC_MJPEG", "VIDEO_CODEC_H264"}},
    {WS_WIRE(RESOLUTION_USCORET),
     {"RESOLUTION_FULL_D1", "RESOLUTION_HALF_D1", "RESOLUTION_FULL_CIF", "RESOLUTION_QUAD_CIF"}},
    {WS_WIRE(VIDEO_USCOREBITRATE_USCORET), {"VIDEO_BITRATE_CBR", "VIDEO_BITRATE_VBR"}},
    {WS_WIRE(VIDEO_USCOREQUALITY_USCORET),
     {"VIDEO_QUALITY_FULL", "VIDEO_QUALITY_SUPER_HIGH", "VIDEO_QUALITY_HIGH", "VIDEO_QUALITY_MEDIUM",
      "VIDEO_QUALITY_LOW"}},
    {WS_WIRE(AUDIO_USCORECODEC_USCORET),
     {"AUDIO_CODEC_G711_PCMU", "AUDIO_CODEC_G711_PCMA", "AUDIO_CODEC_G726_24K", "AUDIO_CODEC_G726_32K"}},
    {WS_WIRE(DATETIME_USCOREMODE_USCORET), {"DATETIME_MODE_MANUAL", "DATETIME_MODE_PC", "DATETIME_MODE_AUTO"}},
    {WS_WIRE(NTP_USCOREINTERVAL_USCORET),
     {"NTP_INTERVAL_ONE_HOUR", "NTP_INTERVAL_ONE_DAY", "NTP_INTERVAL_ONE_WEEK", "NTP_INTERVAL_ONE_MONTH"}},
    {WS_WIRE(SCHEDULE_USCOREREPEAT_USCORET),
     {"SCHEDULE_REPEAT_DAILY", "SCHEDULE_REPEAT_WEEKLY", "SCHEDULE_REPEAT_CUSTOM_NONE",
      "SCHEDULE_REPEAT_CUSTOM_MONTHLY", "SCHEDULE_REPEAT_CUSTOM_YEARLY"}},
    {WS_WIRE(EVENT_USCORENOTIFY_USCORET),
     {"EVENT_NOTIFY_FTP", "EVENT_NOTIFY_SMTP", "EVENT_NOTIFY_PRESET", "EVENT_NOTIFY_RELAY",
      "EVENT_NOTIFY_SDRecording", "EVENT_NOTIFY_FlashLED"}},
    {WS_WIRE(WEEK_USCORET), {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"}},
    {WS_WIRE(TEMPERATURE_USCOREDEVICE_USCORET), {"TEMPERATURE_DEVICE_FAN", "TEMPERATURE_DEVICE_HEATER"}},
    {WS_WIRE(PARITY_USCORET), {"PARITY_NONE", "PARITY_EVEN", "PARITY_ODD"}},
    {WS_WIRE(OSD_USCOREMENU_USCORET),
     {"OSD_MENU_OPEN", "OSD_MENU_CLOSE", "OSD_MENU_UP", "OSD_MENU_DOWN", "OSD_MENU_LEFT", "OSD_MENU_RIGHT",
      "OSD_MENU_SELECT", "OSD_MENU_BACK"}},
    {WS_WIRE(LANGUAGE_USCORET), {"LANGUAGE_KOREAN", "LANGUAGE_ENGLISH"}},
};

#define WS_COUNT_ENUMERATION(ctype, schema, values) +1
static_assert(std::size(kEnumerations) == 0 WS_ENUMERATIONS(WS_COUNT_ENUMERATION),
              "every enumeration of the headers has its symbols listed here");

// Each value goes out as its symbol and comes back from it; the first value
// past the list goes out as its number, so the library knows no value that
// the devices do not.
TEST(EnumerationWireText, EverySymbolAsTheDevicesSpellIt) {
  struct soap *soap = soap_new();
  for (const Enumeration &e : kEnumerations) {
    SCOPED_TRACE(e.type);
    for (int value = 0; value < static_cast<int>(e.symbols.size()); ++value) {
      EXPECT_EQ(e.symbols[value], e.toText(soap, value));
      int read = -1;
      EXPECT_EQ(SOAP_OK, e.fromText(soap, e.symbols[value].c_str(), &read)) << e.symbols[value];
      EXPECT_EQ(value, read) << e.symbols[value];
    }
    const int past = static_cast<int>(e.symbols.size());
    EXPECT_EQ(std::to_string(past), e.toText(soap, past));
  }
  soap_destroy(soap);
  soap_end(soap);
  soap_free(soap);
}

}  // namespace

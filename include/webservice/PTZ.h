/*
 * WebService: the PTZ service (protocols, direct control, configuration, serial port, pass-through, on-screen menu, presets, tours, patterns).  Arguments and status codes as in Common.h.
 *
 * The responses of this service put resultCode first, ahead of the data
 * (ParameterListRecord and PresetTourListRecord excepted: resultCode last).
 * Most requests start with the unread prefix; GetPTZCommandList takes the
 * bare protocol name, GetPresetTour and PlayPresetTour a bare int32 channel,
 * and PresetTourRecord starts with its channel.
 *
 * List rule of every list of this service: resultCode is always written;
 * only when it is 0 and the device sent the list is count written (also when
 * 0), and the array only when count is at least 1, cleared before the copy.
 * Otherwise count and the array pointer keep what the caller put there.
 */
#ifndef WEBSERVICE_PTZ_H
#define WEBSERVICE_PTZ_H

#include "BasicSystem.h"
#include "Common.h"

/* Response of the PTZ exports that carry a boolean result: resultCode
 * first, then the one byte of result (the reverse of CallResult). */
typedef struct PTZCallResult {
  int32_t resultCode;
  bool result; /* only this byte is written */
} PTZCallResult;

/* A channel and one text (protocol name, preset alias, raw command). */
typedef struct ChannelTextRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  char text[256]; /* read up to its terminator: declare a larger record of the same start for a longer text */
} ChannelTextRecord;

/* A channel and a key/value list, sent in the caller's order. */
typedef struct ChannelParameterRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  int32_t count;          /* 0 sends an empty list; negative is refused with -1 */
  ParameterRecord *items; /* count items, read only; may be NULL when count is 0 */
} ChannelParameterRecord;

/* The protocol names: names[i] is a separate copy (NULL when the device sent
 * a nil name); WebService_FreePTZProtocolListRecord releases the names and
 * the array. */
typedef struct PTZProtocolListRecord {
  int32_t resultCode;
  int32_t count;
  char **names;
} PTZProtocolListRecord;

/* Releases what the library allocated into a PTZProtocolListRecord (every
 * name, then names) and leaves it empty: pointers NULL, counts 0.  NULL, and
 * a record released before, are ignored. */
WS_API void WS_CALL WebService_FreePTZProtocolListRecord(PTZProtocolListRecord *record);

/* A text answer: the channel's protocol, or the pass-through reply.  text is
 * written only when the answer carries it. */
typedef struct TextResultRecord {
  int32_t resultCode;
  char text[256];
} TextResultRecord;

typedef struct IntRangeRecord {
  int32_t min;
  int32_t max;
} IntRangeRecord;

/* What one protocol supports (ns1:PTZProtocol_T).  Fields whose element is
 * missing from the answer keep their value. */
typedef struct PTZProtocolRecord {
  char name[100];
  IntRangeRecord presetIDRange;
  IntRangeRecord panSpeedRange;
  IntRangeRecord tiltSpeedRange;
  IntRangeRecord zoomSpeedRange;
  IntRangeRecord focusSpeedRange;
  IntRangeRecord cameraIDRange;
  IntRangeRecord presetSpeedRange;
  IntRangeRecord parkTimeRange;
} PTZProtocolRecord;

typedef struct PTZProtocolResponseRecord {
  int32_t resultCode;
  PTZProtocolRecord protocol;
} PTZProtocolResponseRecord;

typedef struct PTZConfigurationListRecord {
  int32_t resultCode;
  int32_t count;
  ParameterRecord *items; /* allocated by the library, owned by the caller */
} PTZConfigurationListRecord;

/* Releases what the library allocated into a PTZConfigurationListRecord
 * (items) and leaves it empty: pointers NULL, counts 0.  NULL, and a record
 * released before, are ignored. */
WS_API void WS_CALL WebService_FreePTZConfigurationListRecord(PTZConfigurationListRecord *record);

/* Serial port of the PTZ head (ns1:PortConfig_T). */
typedef struct PortConfigRecord {
  int32_t baudRate;
  int32_t dataBit;
  int32_t parity; /* a Parity value */
  int32_t stopBit;
} PortConfigRecord;

typedef struct PortConfigRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  PortConfigRecord port;
} PortConfigRequestRecord;

typedef struct PortConfigResponseRecord {
  int32_t resultCode;
  PortConfigRecord port; /* the four fields are written together, when the answer has the port */
} PortConfigResponseRecord;

/* The on-screen menu is the device's, not a channel's. */
typedef struct OSDMenuRecord {
  char prefix[100]; /* neither read nor written */
  int32_t osdMenu;  /* an OsdMenu value */
} OSDMenuRecord;

/* One preset (ns1:Preset_T), the item of every preset list. */
typedef struct PresetRecord {
  char alias[100];
  int32_t sequence;
  int32_t presetSpeed;
  int32_t parkTime;
} PresetRecord;

typedef struct PresetListRecord {
  int32_t resultCode;
  int32_t count;
  PresetRecord *items; /* allocated by the library, owned by the caller */
} PresetListRecord;

/* Releases what the library allocated into a PresetListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreePresetListRecord(PresetListRecord *record);

typedef struct PresetRequestRecord {
  char prefix[100]; /* neither read nor written */
  int32_t channel;
  PresetRecord preset;
} PresetRequestRecord;

/* Request of SetPresetTour: no prefix, the channel comes first. */
typedef struct PresetTourRecord {
  int32_t channel;
  int32_t count;       /* 0 sends an empty tour; negative is refused with -1 */
  PresetRecord *items; /* count presets in tour order, read only; may be NULL when count is 0 */
} PresetTourRecord;

/* Response of GetPresetTour: resultCode comes last here. */
typedef struct PresetTourListRecord {
  int32_t count;
  PresetRecord *items; /* allocated by the library, owned by the caller */
  int32_t resultCode;
} PresetTourListRecord;

/* Releases what the library allocated into a PresetTourListRecord (items) and
 * leaves it empty: pointers NULL, counts 0.  NULL, and a record released
 * before, are ignored. */
WS_API void WS_CALL WebService_FreePresetTourListRecord(PresetTourListRecord *record);

/* GetPTZProtocolList: request any non-null pointer (not read); fills a PTZProtocolListRecord whose names the caller then owns and releases with WebService_FreePTZProtocolListRecord. */
WS_API int WS_CALL DLL_WebServiceGetPTZProtocolList(const char *host, const char *user, const char *password, const void *request, PTZProtocolListRecord *response, ConnectionInfo *conn);
/* GetPTZProtocol: reads request->channel; the protocol in use goes to a TextResultRecord. */
WS_API int WS_CALL DLL_WebServiceGetPTZProtocol(const char *host, const char *user, const char *password, const ChannelRecord *request, TextResultRecord *response, ConnectionInfo *conn);
/* SetPTZProtocol: request->text names the protocol for request->channel; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceSetPTZProtocol(const char *host, const char *user, const char *password, const ChannelTextRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* AddPTZProtocol: request->text is the protocol's file name; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceAddPTZProtocol(const char *host, const char *user, const char *password, const TextRequestRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* RemovePTZProtocol: request->text is the protocol name; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceRemovePTZProtocol(const char *host, const char *user, const char *password, const TextRequestRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* GetPTZProtocolInfo: request->text is the protocol name; fills a PTZProtocolResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetPTZProtocolInfo(const char *host, const char *user, const char *password, const TextRequestRecord *request, PTZProtocolResponseRecord *response, ConnectionInfo *conn);
/* GetPTZCommandList: request is the zero-terminated protocol name itself (no prefix); fills a ParameterListRecord whose items the caller then owns and releases with WebService_FreeParameterListRecord. */
WS_API int WS_CALL DLL_WebServiceGetPTZCommandList(const char *host, const char *user, const char *password, const char *request, ParameterListRecord *response, ConnectionInfo *conn);
/* ControlPTZ: sends request->channel and its parameter list; the device's resultCode goes to *response.  2-second time-outs. */
WS_API int WS_CALL DLL_WebServiceControlPTZ(const char *host, const char *user, const char *password, const ChannelParameterRecord *request, int32_t *response, ConnectionInfo *conn);
/* Stop: sends request->channel and its parameter list; the device's resultCode goes to *response.  2-second time-outs. */
WS_API int WS_CALL DLL_WebServiceStop(const char *host, const char *user, const char *password, const ChannelParameterRecord *request, int32_t *response, ConnectionInfo *conn);
/* GetPresetList: reads request->channel; fills a PresetListRecord whose items the caller then owns and releases with WebService_FreePresetListRecord.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetPresetList(const char *host, const char *user, const char *password, const ChannelRecord *request, PresetListRecord *response, ConnectionInfo *conn);
/* AddPreset: sends request->channel and request->preset; the verdict goes to a PTZCallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceAddPreset(const char *host, const char *user, const char *password, const PresetRequestRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* GotoPreset: request->text is the preset's alias; the device's resultCode goes to *response.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGotoPreset(const char *host, const char *user, const char *password, const ChannelTextRecord *request, int32_t *response, ConnectionInfo *conn);
/* RemovePreset: request->text is the preset's alias; the verdict goes to a PTZCallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceRemovePreset(const char *host, const char *user, const char *password, const ChannelTextRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* GetPresetTour: request points to the channel itself (no prefix); fills a PresetTourListRecord whose items the caller then owns and releases with WebService_FreePresetTourListRecord. */
WS_API int WS_CALL DLL_WebServiceGetPresetTour(const char *host, const char *user, const char *password, const int32_t *request, PresetTourListRecord *response, ConnectionInfo *conn);
/* SetPresetTour: sends the tour of a PresetTourRecord (channel first, no prefix); the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceSetPresetTour(const char *host, const char *user, const char *password, const PresetTourRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* PlayPresetTour: request points to the channel itself (no prefix); the device's resultCode goes to *response.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServicePlayPresetTour(const char *host, const char *user, const char *password, const int32_t *request, int32_t *response, ConnectionInfo *conn);
/* StopPresetTour: reads request->channel (after the prefix); the device's resultCode goes to *response.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceStopPresetTour(const char *host, const char *user, const char *password, const ChannelRecord *request, int32_t *response, ConnectionInfo *conn);
/* StartPatternRecording: reads request->channel; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceStartPatternRecording(const char *host, const char *user, const char *password, const ChannelRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* StopPatternRecording: reads request->channel; the verdict goes to a PTZCallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceStopPatternRecording(const char *host, const char *user, const char *password, const ChannelRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* PlayRecordedPattern: reads request->channel; the device's resultCode goes to *response. */
WS_API int WS_CALL DLL_WebServicePlayRecordedPattern(const char *host, const char *user, const char *password, const ChannelRecord *request, int32_t *response, ConnectionInfo *conn);
/* StopRecordedPattern: reads request->channel; the device's resultCode goes to *response. */
WS_API int WS_CALL DLL_WebServiceStopRecordedPattern(const char *host, const char *user, const char *password, const ChannelRecord *request, int32_t *response, ConnectionInfo *conn);
/* GetPTZConfiguration: reads request->channel; fills a PTZConfigurationListRecord whose items the caller then owns and releases with WebService_FreePTZConfigurationListRecord.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceGetPTZConfiguration(const char *host, const char *user, const char *password, const ChannelRecord *request, PTZConfigurationListRecord *response, ConnectionInfo *conn);
/* SetPTZConfiguration: sends request->channel and its parameter list; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceSetPTZConfiguration(const char *host, const char *user, const char *password, const ChannelParameterRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* GetPTZPort: reads request->channel; fills a PortConfigResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetPTZPort(const char *host, const char *user, const char *password, const ChannelRecord *request, PortConfigResponseRecord *response, ConnectionInfo *conn);
/* SetPTZPort: sends request->channel and request->port; the verdict goes to a PTZCallResult. */
WS_API int WS_CALL DLL_WebServiceSetPTZPort(const char *host, const char *user, const char *password, const PortConfigRequestRecord *request, PTZCallResult *response, ConnectionInfo *conn);
/* PTZByPass: request->text is the raw command for the head on request->channel, sent unchanged; the head's reply goes to a TextResultRecord. */
WS_API int WS_CALL DLL_WebServicePTZByPass(const char *host, const char *user, const char *password, const ChannelTextRecord *request, TextResultRecord *response, ConnectionInfo *conn);
/* OSDMenu: sends request->osdMenu (no channel); the verdict goes to a PTZCallResult.  5-second time-outs. */
WS_API int WS_CALL DLL_WebServiceOSDMenu(const char *host, const char *user, const char *password, const OSDMenuRecord *request, PTZCallResult *response, ConnectionInfo *conn);

#endif

/*
 * WebService: the AudioVideo service (video source, video encoder per stream,
 * audio, per channel).  Arguments and status codes as in Common.h.
 */
#ifndef WEBSERVICE_AUDIOVIDEO_H
#define WEBSERVICE_AUDIOVIDEO_H

#include "Common.h"

typedef struct VideoSourceConfigRecord {
  bool enable;
  int32_t contrast;
  int32_t hue;
  int32_t brightness;
  int32_t sharpness;
  int32_t videoStandard; /* a VideoStandard value */
  int32_t captureMode;
} VideoSourceConfigRecord;

/* The field order differs from the wire order; width and height travel in the
 * nested ns1:resolution element. */
typedef struct VideoEncoderConfigRecord {
  bool enable;
  int32_t frameRate;
  int32_t bitRate;
  int32_t gopSize;
  bool deinterlacing;
  int32_t width;
  int32_t height;
  int32_t videoCodec;     /* a VideoCodec value */
  int32_t resolutionType; /* a Resolution value */
  int32_t bitRateType;    /* a VideoBitrate value */
  int32_t qualityType;    /* a VideoQuality value */
} VideoEncoderConfigRecord;

typedef struct AudioConfigRecord {
  bool enableAudioIn;
  int32_t audioInCodec; /* an AudioCodec value */
  bool enableAudioOut;
} AudioConfigRecord;

typedef struct VideoSourceConfigRequestRecord {
  char prefix[100];
  int32_t channel;
  VideoSourceConfigRecord config;
} VideoSourceConfigRequestRecord;

typedef struct VideoEncoderConfigRequestRecord {
  char prefix[100];
  int32_t channel;
  bool master;
  VideoEncoderConfigRecord config;
} VideoEncoderConfigRequestRecord;

typedef struct AudioConfigRequestRecord {
  char prefix[100];
  int32_t channel;
  AudioConfigRecord config;
} AudioConfigRequestRecord;

typedef struct VideoSourceConfigResponseRecord {
  VideoSourceConfigRecord config;
  int32_t resultCode;
} VideoSourceConfigResponseRecord;

typedef struct VideoEncoderConfigResponseRecord {
  VideoEncoderConfigRecord config; /* width, height kept when the answer has no resolution */
  int32_t resultCode;
} VideoEncoderConfigResponseRecord;

typedef struct AudioConfigResponseRecord {
  AudioConfigRecord config;
  int32_t resultCode;
} AudioConfigResponseRecord;

/* GetVideoSourceConfig: reads request->channel; fills a VideoSourceConfigResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetVideoSourceConfig(const char *host, const char *user, const char *password, const ChannelRecord *request, VideoSourceConfigResponseRecord *response, ConnectionInfo *conn);
/* SetVideoSourceConfig: sends channel and config; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetVideoSourceConfig(const char *host, const char *user, const char *password, const VideoSourceConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetVideoEncoderConfig: reads channel and master; fills a VideoEncoderConfigResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetVideoEncoderConfig(const char *host, const char *user, const char *password, const StreamRecord *request, VideoEncoderConfigResponseRecord *response, ConnectionInfo *conn);
/* SetVideoEncoderConfig: sends channel, master and config; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetVideoEncoderConfig(const char *host, const char *user, const char *password, const VideoEncoderConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);
/* GetAudioConfig: reads request->channel; fills an AudioConfigResponseRecord. */
WS_API int WS_CALL DLL_WebServiceGetAudioConfig(const char *host, const char *user, const char *password, const ChannelRecord *request, AudioConfigResponseRecord *response, ConnectionInfo *conn);
/* SetAudioConfig: sends channel and config; the device's verdict goes to a CallResult. */
WS_API int WS_CALL DLL_WebServiceSetAudioConfig(const char *host, const char *user, const char *password, const AudioConfigRequestRecord *request, CallResult *response, ConnectionInfo *conn);

#endif

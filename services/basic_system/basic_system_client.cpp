#include "basic_system_client.h"

#include <syslog.h>

#include <cstring>

#include "core/call_frame.h"
#include "transport/tls_trust.h"

namespace ws {

namespace {

// Every member of a recording server travels, whatever it holds.
void FillServer(ns1__RecordingServer_USCORET &wire, const RecordingServerRecord &server) {
  wire.enable = Send(server.enable);
  wire.alias = Send(server.alias);
  wire.type = server.type;
  wire.serverAddress = Send(server.serverAddress);
  wire.userID = Send(server.userID);
  wire.password = Send(server.password);
  wire.folder = Send(server.folder);
  wire.capacity = server.capacity;
  wire.overwrite = Send(server.overwrite);
}

// AddRecordingServer and TestRecordingServer: the record is the server.
template <class Wire>
void Fill(Wire &wire, const RecordingServerRecord &server, Outgoing &out) {
  FillServer(out.Element(wire.server), server);
}

void Fill(_ns1__UpdateRecordingServer &wire, const RecordingServerUpdateRecord &request, Outgoing &out) {
  FillServer(out.Element(wire.server), request.server);
}

// Numbers and switches always; a text only when the answer carries it.
void Copy(RecordingServerRecord &server, const ns1__RecordingServer_USCORET &wire) {
  server.enable = wire.enable;
  CopyTextIfPresent(server.alias, wire.alias);
  server.type = wire.type;
  CopyTextIfPresent(server.serverAddress, wire.serverAddress);
  CopyTextIfPresent(server.userID, wire.userID);
  CopyTextIfPresent(server.password, wire.password);
  CopyTextIfPresent(server.folder, wire.folder);
  server.capacity = wire.capacity;
  server.overwrite = wire.overwrite;
}

// A nil name leaves its zero-filled entry empty.
void Copy(TimeZoneName &entry, const char &name) { CopyTextIfPresent(entry, &name); }

void Copy(VersionRecord &record, const ns1__Version_USCORET &version) {
  CopyTextIfPresent(record.swVersion, version.swVersion);
  CopyTextIfPresent(record.hwVersion, version.hwVersion);
  CopyTextIfPresent(record.fwVersion, version.fwVersion);
}

// The whole tree travels whatever the mode.
void Fill(_ns1__SetDateTimeConfig &wire, const DateTimeConfigRequestRecord &request, Outgoing &out) {
  const DateTimeConfigRecord &record = request.config;
  ns1__DateTimeConfig_USCORET &config = out.Element(wire.config);
  config.dateTimeMode = record.dateTimeMode;
  ns1__NTPServer_USCORET &ntp = out.Element(config.ntpServer);
  ntp.serverAddress = Send(record.serverAddress);
  ntp.interval = record.interval;
  ns1__DateTime_USCORET &when = out.Element(config.dateTime);
  ns1__Date_USCORET &date = out.Element(when.date);
  date.year = record.year;
  date.month = record.month;
  date.day = record.day;
  ns1__Time_USCORET &time = out.Element(when.time);
  time.hour = record.hour;
  time.minute = record.minute;
  time.second = record.second;
}

// Only the parts the answer carries; reserved is never touched.
void Copy(DateTimeConfigRecord &record, const ns1__DateTimeConfig_USCORET &config) {
  if (const ns1__NTPServer_USCORET *ntp = config.ntpServer) {
    CopyTextIfPresent(record.serverAddress, ntp->serverAddress);
    record.interval = ntp->interval;
  }
  if (const ns1__DateTime_USCORET *when = config.dateTime) {
    if (const ns1__Date_USCORET *date = when->date) {
      record.year = date->year;
      record.month = date->month;
      record.day = date->day;
    }
    if (const ns1__Time_USCORET *time = when->time) {
      record.hour = time->hour;
      record.minute = time->minute;
      record.second = time->second;
    }
  }
  record.dateTimeMode = config.dateTimeMode;
}

int Store(ChannelListRecord &record, const _ns1__GetChannelListResponse &answer) {
  if (!answer.GetChannelListResult) return 0;
  const std::vector<int> &channels = answer.GetChannelListResult->int_;
  // The record holds four channels; count reports what the device listed.
  for (size_t i = 0; i < channels.size() && i < 4; ++i) record.channel[i] = channels[i];
  record.count = static_cast<int>(channels.size());
  return 0;
}

int Store(LoggedDateListRecord &record, const _ns1__GetLoggedDateListResponse &answer) {
  const std::vector<char *> *dates =
      answer.GetLoggedDateListResult ? &answer.GetLoggedDateListResult->string : nullptr;
  if (answer.resultCode != 0 || !dates) return 0;
  if (dates->empty()) {
    record.count = 0;
    return 0;
  }
  // Each date a separate strdup copy, a nil one a null entry.
  char **copies = DuplicateTexts(*dates);
  if (!copies) return WS_STATUS_OUT_OF_MEMORY;
  record.count = static_cast<int>(dates->size());
  record.items = copies;
  return 0;
}

int Store(LogTextRecord &record, const _ns1__GetLogsResponse &answer) {
  if (answer.resultCode != 0 || !answer.GetLogsResult) return 0;
  // The whole log, never cut, in a buffer of its length plus one.
  const size_t length = std::strlen(answer.GetLogsResult);
  char *text = AllocateItems<char>(length + 1);
  if (!text) return WS_STATUS_OUT_OF_MEMORY;
  std::memcpy(text, answer.GetLogsResult, length + 1);
  record.text = text;
  return 0;
}

}  // namespace

int BasicSystemClient::ProbeVersion(const char *host, const char *user, const char *password, const void *request,
                                    VersionRecord *response, ConnectionInfo *conn) {
  // Both attempts write into the caller's record, which is not cleared
  // between them: when the second fails, the record keeps what the first
  // answer carried.
  auto attempt = [&](int kind) -> int {
    conn->endpointKind = kind;
    if (BuildEndpoint(host, user, password, conn) != 0) return WS_STATUS_NO_INPUT;
    int status = CallGetVersion(request, response);
    ReleaseEndpoint();
    return status;
  };
  int status = attempt(ENDPOINT_KIND_SOAP_PATH);
  // One debug line per call, after the first attempt: the system log at debug level.
  syslog(LOG_USER | LOG_DEBUG, "GetVersion_after endpointType: %d soapRet:%d apiRsp:%d IP : %s \n",
         static_cast<int>(conn->endpointKind), status, static_cast<int>(response->resultCode), host);
  // After https, plain http would carry the credentials in clear.
  const bool secondAttemptAllowed = !conn->useHttps || PlainHttpProbeAllowed();
  if (secondAttemptAllowed && (status != 0 || response->swVersion[0] == '\0')) status = attempt(ENDPOINT_KIND_PORT_81);
  return status;
}

#define WS_BASIC_SYSTEM_CONVERSION(...) WS_DEFINE_CONVERSION(BasicSystemClient, __VA_ARGS__)
WS_BASIC_SYSTEM_OPERATIONS(WS_BASIC_SYSTEM_CONVERSION)

}  // namespace ws

#define WS_BASIC_SYSTEM_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::BasicSystemClient, Op, Request, Response)
#define WS_BASIC_SYSTEM_EXPORT_WITHOUT_RESPONSE(Op, Request, Response, ...) \
  WS_DEFINE_EXPORT_WITHOUT_RESPONSE(ws::BasicSystemClient, Op, Request, Response)
#define WS_BASIC_SYSTEM_PROBE_DEFINED_BELOW(...)
WS_BASIC_SYSTEM_EXPORTS(WS_BASIC_SYSTEM_EXPORT, WS_BASIC_SYSTEM_EXPORT_WITHOUT_RESPONSE,
                        WS_BASIC_SYSTEM_PROBE_DEFINED_BELOW)

WS_API int WS_CALL DLL_WebServiceGetVersion(const char *host, const char *user, const char *password,
                                            const void *request, VersionRecord *response, ConnectionInfo *conn) {
  WS_CHECK_ARG(host);
  WS_CHECK_ARG(request);
  WS_CHECK_ARG(response);
  WS_CHECK_ARG(conn);
  if (!ws::IsHostText(host)) return WS_STATUS_NO_INPUT;  // before the debug line names it
  return ws::WithClient<ws::BasicSystemClient>(ws::TimeoutFor("GetVersion"), [&](ws::BasicSystemClient &client) {
    return client.ProbeVersion(host, user, password, request, response, conn);
  });
}

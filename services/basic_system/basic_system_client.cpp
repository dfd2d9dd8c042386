#include "basic_system_client.h"

#include <syslog.h>

#include <cstring>

#include "core/call_frame.h"
#include "transport/tls_trust.h"

// Calls Op and copies its text result into out->field.
#define WS_INVOKE_FOR_TEXT(Op, request, out, field)                                          \
  GetText(&Proxy::Op, WS_ACTION(Op), request, &_ns1__##Op##Response::Op##Result, out, \
          &std::remove_pointer_t<decltype(out)>::field)

namespace ws {

namespace {

// Every member of a recording server travels, whatever it holds.
ns1__RecordingServer_USCORET *FillServer(ns1__RecordingServer_USCORET &wire, const RecordingServerRecord &server) {
  wire.enable = server.enable;
  wire.alias = SendText(server.alias);
  wire.type = server.type;
  wire.serverAddress = SendText(server.serverAddress);
  wire.userID = SendText(server.userID);
  wire.password = SendText(server.password);
  wire.folder = SendText(server.folder);
  wire.capacity = server.capacity;
  wire.overwrite = server.overwrite;
  return &wire;
}

// Numbers and switches always; a text only when the answer carries it.
void CopyServer(RecordingServerRecord &server, const ns1__RecordingServer_USCORET &wire) {
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

const std::vector<char *> *TextsOf(const ns1__ArrayOfString *list) { return list ? &list->string : nullptr; }

}  // namespace

template <class Request, class Answer, class Record, size_t N>
int BasicSystemClient::GetText(int (Proxy::*op)(const char *, const char *, Request *, Answer &), const char *action,
                               Request *request, char *Answer::*result, Record *response,
                               char (Record::*field)[N]) {
  Answer answer;
  if (int status = Invoke(op, action, request, answer)) return status;
  response->resultCode = answer.resultCode;
  CopyTextIfPresent(response->*field, answer.*result);
  return 0;
}

int BasicSystemClient::CallGetMaxChannel(const void *, IntValueRecord *response) {
  _ns1__GetMaxChannel wire;
  return WS_INVOKE_FOR_INT_VALUE(GetMaxChannel, &wire, response);
}

int BasicSystemClient::CallGetChannelList(const void *, ChannelListRecord *response) {
  _ns1__GetChannelList wire;
  _ns1__GetChannelListResponse answer;
  if (int status = WS_INVOKE(GetChannelList, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (!answer.GetChannelListResult) return 0;
  const std::vector<int> &channels = answer.GetChannelListResult->int_;
  // The record holds four channels; count reports what the device listed.
  for (size_t i = 0; i < channels.size() && i < 4; ++i) response->channel[i] = channels[i];
  response->count = static_cast<int>(channels.size());
  return 0;
}

int BasicSystemClient::CallGetDateTimeConfig(const void *, DateTimeConfigRecord *response) {
  _ns1__GetDateTimeConfig wire;
  _ns1__GetDateTimeConfigResponse answer;
  if (int status = WS_INVOKE(GetDateTimeConfig, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__DateTimeConfig_USCORET *config = answer.GetDateTimeConfigResult;
  if (!config) return 0;
  // Only the parts the answer carries; reserved is never touched.
  if (const ns1__NTPServer_USCORET *ntp = config->ntpServer) {
    CopyTextIfPresent(response->serverAddress, ntp->serverAddress);
    response->interval = ntp->interval;
  }
  if (const ns1__DateTime_USCORET *when = config->dateTime) {
    if (const ns1__Date_USCORET *date = when->date) {
      response->year = date->year;
      response->month = date->month;
      response->day = date->day;
    }
    if (const ns1__Time_USCORET *time = when->time) {
      response->hour = time->hour;
      response->minute = time->minute;
      response->second = time->second;
    }
  }
  response->dateTimeMode = config->dateTimeMode;
  return 0;
}

int BasicSystemClient::CallSetDateTimeConfig(const DateTimeConfigRequestRecord *request, CallResult *response) {
  // The whole tree travels whatever the mode.
  const DateTimeConfigRecord &record = request->config;
  ns1__Date_USCORET date;
  date.year = record.year;
  date.month = record.month;
  date.day = record.day;
  ns1__Time_USCORET time;
  time.hour = record.hour;
  time.minute = record.minute;
  time.second = record.second;
  ns1__DateTime_USCORET when;
  when.date = &date;
  when.time = &time;
  ns1__NTPServer_USCORET ntp;
  ntp.serverAddress = SendText(record.serverAddress);
  ntp.interval = record.interval;
  ns1__DateTimeConfig_USCORET config;
  config.dateTimeMode = record.dateTimeMode;
  config.ntpServer = &ntp;
  config.dateTime = &when;
  _ns1__SetDateTimeConfig wire;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetDateTimeConfig, &wire, response);
}

int BasicSystemClient::CallTestNTPServer(const char *request, CallResult *response) {
  _ns1__TestNTPServer wire;
  wire.serverAddress = SendText(request);
  return WS_INVOKE_FOR_CALL_RESULT(TestNTPServer, &wire, response);
}

int BasicSystemClient::CallGetTimeZoneList(const void *, TimeZoneListRecord *response) {
  _ns1__GetTimeZoneList wire;
  _ns1__GetTimeZoneListResponse answer;
  if (int status = WS_INVOKE(GetTimeZoneList, &wire, answer)) return status;
  // A nil name leaves its zero-filled entry empty.
  return FillListCountAlways(response, answer.resultCode, TextsOf(answer.GetTimeZoneListResult),
                             [](TimeZoneName &entry, const char &name) { CopyTextIfPresent(entry, &name); });
}

int BasicSystemClient::CallGetTimeZone(const void *, TimeZoneRecord *response) {
  _ns1__GetTimeZone wire;
  return WS_INVOKE_FOR_TEXT(GetTimeZone, &wire, response, timeZone);
}

int BasicSystemClient::CallSetTimeZone(const TextRequestRecord *request, CallResult *response) {
  _ns1__SetTimeZone wire;
  wire.timeZone = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(SetTimeZone, &wire, response);
}

int BasicSystemClient::CallReboot(const void *, void *) {
  _ns1__Reboot wire;
  _ns1__RebootResponse answer;
  // The status of the exchange is the whole outcome: the device's resultCode
  // is not handed over.
  return WS_INVOKE(Reboot, &wire, answer);
}

int BasicSystemClient::CallRestore(const TextRequestRecord *request, CallResult *response) {
  _ns1__Restore wire;
  wire.filename = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(Restore, &wire, response);
}

int BasicSystemClient::CallInitFactory(const void *, CallResult *response) {
  _ns1__InitFactory wire;
  return WS_INVOKE_FOR_CALL_RESULT(InitFactory, &wire, response);
}

int BasicSystemClient::CallGetBackupFilename(const void *, BackupFilenameRecord *response) {
  _ns1__GetBackupFilename wire;
  return WS_INVOKE_FOR_TEXT(GetBackupFilename, &wire, response, filename);
}

int BasicSystemClient::CallUpgradeFirmware(const TextRequestRecord *request, CallResult *response) {
  _ns1__UpgradeFirmware wire;
  wire.filename = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(UpgradeFirmware, &wire, response);
}

int BasicSystemClient::CallGetVersion(const void *, VersionRecord *response) {
  _ns1__GetVersion wire;
  _ns1__GetVersionResponse answer;
  if (int status = WS_INVOKE(GetVersion, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (const ns1__Version_USCORET *version = answer.GetVersionResult) {
    CopyTextIfPresent(response->swVersion, version->swVersion);
    CopyTextIfPresent(response->hwVersion, version->hwVersion);
    CopyTextIfPresent(response->fwVersion, version->fwVersion);
  }
  return 0;
}

int BasicSystemClient::CallGetLoggedDateList(const void *, LoggedDateListRecord *response) {
  _ns1__GetLoggedDateList wire;
  _ns1__GetLoggedDateListResponse answer;
  if (int status = WS_INVOKE(GetLoggedDateList, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const std::vector<char *> *dates = TextsOf(answer.GetLoggedDateListResult);
  if (answer.resultCode != 0 || !dates) return 0;
  if (dates->empty()) {
    response->count = 0;
    return 0;
  }
  // Each date a separate strdup copy, a nil one a null entry.
  if (dates->size() > 0x7fffffff) return WS_STATUS_OUT_OF_MEMORY;
  char **copies = DuplicateTexts(*dates);
  if (!copies) return WS_STATUS_OUT_OF_MEMORY;
  response->count = static_cast<int>(dates->size());
  response->items = copies;
  return 0;
}

int BasicSystemClient::CallGetLogs(const TextRequestRecord *request, LogTextRecord *response) {
  _ns1__GetLogs wire;
  wire.date = SendText(request->text);
  _ns1__GetLogsResponse answer;
  if (int status = WS_INVOKE(GetLogs, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.resultCode != 0 || !answer.GetLogsResult) return 0;
  // The whole log, never cut, in a buffer of its length plus one.
  const size_t length = std::strlen(answer.GetLogsResult);
  char *text = AllocateItems<char>(length + 1);
  if (!text) return WS_STATUS_OUT_OF_MEMORY;
  std::memcpy(text, answer.GetLogsResult, length + 1);
  response->text = text;
  return 0;
}

int BasicSystemClient::CallGetReports(const void *, ReportRecord *response) {
  _ns1__GetReports wire;
  return WS_INVOKE_FOR_TEXT(GetReports, &wire, response, report);
}

int BasicSystemClient::CallGetMaxStreamConnection(const void *, IntValueRecord *response) {
  _ns1__GetMaxStreamConnection wire;
  return WS_INVOKE_FOR_INT_VALUE(GetMaxStreamConnection, &wire, response);
}

int BasicSystemClient::CallSetMaxStreamConnection(const int32_t *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(SetMaxStreamConnection, WS_REQUEST_WITH(SetMaxStreamConnection, size, *request),
                                   response);
}

int BasicSystemClient::CallGetRecordingServerList(const void *, RecordingServerListRecord *response) {
  _ns1__GetRecordingServerList wire;
  _ns1__GetRecordingServerListResponse answer;
  if (int status = WS_INVOKE(GetRecordingServerList, &wire, answer)) return status;
  const ns1__ArrayOfRecordingServer_USCORET *list = answer.GetRecordingServerListResult;
  return FillListCountAlways(response, answer.resultCode, list ? &list->RecordingServer_USCORET : nullptr,
                             CopyServer);
}

int BasicSystemClient::CallGetRecordingServer(const TextRequestRecord *request, RecordingServerReplyRecord *response) {
  _ns1__GetRecordingServer wire;
  wire.alias = SendText(request->text);
  _ns1__GetRecordingServerResponse answer;
  if (int status = WS_INVOKE(GetRecordingServer, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.GetRecordingServerResult) CopyServer(response->server, *answer.GetRecordingServerResult);
  return 0;
}

int BasicSystemClient::CallUpdateRecordingServer(const RecordingServerUpdateRecord *request, CallResult *response) {
  ns1__RecordingServer_USCORET server;
  _ns1__UpdateRecordingServer wire;
  wire.prevAlias = SendText(request->prevAlias);
  wire.server = FillServer(server, request->server);
  return WS_INVOKE_FOR_CALL_RESULT(UpdateRecordingServer, &wire, response);
}

int BasicSystemClient::CallAddRecordingServer(const RecordingServerRecord *request, CallResult *response) {
  ns1__RecordingServer_USCORET server;
  _ns1__AddRecordingServer wire;
  wire.server = FillServer(server, *request);
  return WS_INVOKE_FOR_CALL_RESULT(AddRecordingServer, &wire, response);
}

int BasicSystemClient::CallRemoveRecordingServer(const char *request, CallResult *response) {
  _ns1__RemoveRecordingServer wire;
  wire.alias = SendText(request);
  return WS_INVOKE_FOR_CALL_RESULT(RemoveRecordingServer, &wire, response);
}

int BasicSystemClient::CallTestRecordingServer(const RecordingServerRecord *request, CallResult *response) {
  ns1__RecordingServer_USCORET server;
  _ns1__TestRecordingServer wire;
  wire.server = FillServer(server, *request);
  return WS_INVOKE_FOR_CALL_RESULT(TestRecordingServer, &wire, response);
}

int BasicSystemClient::CallGetSpecProfile(const void *, ParameterListRecord *response) {
  _ns1__GetSpecProfile wire;
  return WS_INVOKE_FOR_PARAMETER_LIST(GetSpecProfile, &wire, response);
}

int BasicSystemClient::CallGetFunctionMap(const char *request, ParameterListRecord *response) {
  _ns1__GetFunctionMap wire;
  wire.category = SendText(request);
  return WS_INVOKE_FOR_PARAMETER_LIST(GetFunctionMap, &wire, response);
}

int BasicSystemClient::CallGetDeviceInformation(const void *, ParameterListRecord *response) {
  _ns1__GetDeviceInformation wire;
  return WS_INVOKE_FOR_PARAMETER_LIST(GetDeviceInformation, &wire, response);
}

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

}  // namespace ws

#define WS_BASIC_SYSTEM_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::BasicSystemClient, Op, Request, Response)
#define WS_BASIC_SYSTEM_EXPORT_WITHOUT_RESPONSE(Op, Request, Response) \
  WS_DEFINE_EXPORT_WITHOUT_RESPONSE(ws::BasicSystemClient, Op, Request, Response)
#define WS_BASIC_SYSTEM_PROBE_DEFINED_BELOW(Op, Request, Response)
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

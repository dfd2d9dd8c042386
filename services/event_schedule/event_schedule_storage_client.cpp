// EventSchedule client, second part: FTP and SMTP servers, device
// notifications, manual recording and the SD card.  The exports themselves
// are defined with the rest of the service in event_schedule_client.cpp.
#include <algorithm>
#include <vector>

#include "event_schedule_client.h"
#include "event_schedule_copy.h"

namespace ws {

namespace {

// ---- Servers ----

// The wire form of a server sends the record's texts in place.
void FillServer(ns1__FTPServer_USCORET &wire, const FTPServerRecord &record) {
  wire.alias = SendText(record.alias);
  wire.serverAddress = SendText(record.serverAddress);
  wire.port = record.port;
  wire.userID = SendText(record.userID);
  wire.password = SendText(record.password);
  wire.folder = SendText(record.folder);
}

void FillServer(ns1__SMTPServer_USCORET &wire, const SMTPServerRecord &record) {
  wire.alias = SendText(record.alias);
  wire.serverAddress = SendText(record.serverAddress);
  wire.port = record.port;
  wire.userID = SendText(record.userID);
  wire.password = SendText(record.password);
  wire.recipientAddress = SendText(record.recipientAddress);
  wire.adminAddress = SendText(record.adminAddress);
  wire.subject = SendText(record.subject);
  wire.message = SendText(record.message);
  wire.enableSSL = record.enableSSL;
}

// A text the answer lacks leaves its array as it was.
void CopyServer(FTPServerRecord &record, const ns1__FTPServer_USCORET &wire) {
  CopyTextIfPresent(record.alias, wire.alias);
  CopyTextIfPresent(record.serverAddress, wire.serverAddress);
  record.port = wire.port;
  CopyTextIfPresent(record.userID, wire.userID);
  CopyTextIfPresent(record.password, wire.password);
  CopyTextIfPresent(record.folder, wire.folder);
}

void CopyServer(SMTPServerRecord &record, const ns1__SMTPServer_USCORET &wire) {
  CopyTextIfPresent(record.alias, wire.alias);
  CopyTextIfPresent(record.serverAddress, wire.serverAddress);
  record.port = wire.port;
  CopyTextIfPresent(record.userID, wire.userID);
  CopyTextIfPresent(record.password, wire.password);
  CopyTextIfPresent(record.recipientAddress, wire.recipientAddress);
  CopyTextIfPresent(record.adminAddress, wire.adminAddress);
  CopyTextIfPresent(record.subject, wire.subject);
  CopyTextIfPresent(record.message, wire.message);
  record.enableSSL = wire.enableSSL;
}

// CopyServer for either kind of server, as one callable.
constexpr auto kCopyServer = [](auto &record, const auto &wire) { CopyServer(record, wire); };

// A request whose one member is a server (Add, Test): the server object
// lives as long as the request.
template <class Request, class Server, class Record>
struct ServerRequest {
  Server server;
  Request wire;
  explicit ServerRequest(const Record &record) {
    FillServer(server, record);
    wire.server = &server;
  }
};

// An update: the alias the device holds the server under, then the server.
template <class Request, class Server, class Record>
struct ServerUpdate : ServerRequest<Request, Server, Record> {
  ServerUpdate(const char *prevAlias, const Record &record) : ServerRequest<Request, Server, Record>(record) {
    this->wire.prevAlias = SendText(prevAlias);
  }
};

// ---- Notifications ----

// A notification list request built from the caller's targets.
template <class Request>
struct NotifyRequest {
  std::vector<ns1__EventNotify_USCORET> items;
  ns1__ArrayOfEventNotify_USCORET notifies;
  Request wire;
  explicit NotifyRequest(const EventNotifyRequestRecord &record) {
    FillNotifies(items, notifies, record.notifies, record.count);
    wire.eventNotify = &notifies;
  }
};

// ---- SD card ----

struct WireDateTime {
  ns1__Date_USCORET date;
  ns1__Time_USCORET time;
  ns1__DateTime_USCORET value;
  explicit WireDateTime(const int32_t (&fields)[6]) {
    FillDate(date, fields[0], fields[1], fields[2]);
    time.hour = fields[3];
    time.minute = fields[4];
    time.second = fields[5];
    value.date = &date;
    value.time = &time;
  }
};

// The start and end groups of a query, six fields each; the int32 between
// them is not read.
struct WireFileQuery {
  WireDateTime start, end;
  _ns1__GetSDRecordingFiles wire;
  explicit WireFileQuery(const SDFileQueryRecord &query)
      : start({query.startYear, query.startMonth, query.startDay, query.startHour, query.startMinute,
               query.startSecond}),
        end({query.endYear, query.endMonth, query.endDay, query.endHour, query.endMinute, query.endSecond}) {
    wire.start = &start.value;
    wire.end = &end.value;
  }
};

void CopyInfo(SDInfoRecord &record, const ns1__SDInfo_USCORET &wire) {
  CopyTextIfPresent(record.diskID, wire.diskID);
  record.totalSpace = wire.totalSpace;
  record.freeSpace = wire.freeSpace;
  record.status = wire.status;
  record.isReadOnly = wire.isReadOnly;
}

void CopyConfig(SDConfigRecord &record, const ns1__SDConfig_USCORET &wire) {
  record.overwrite = wire.overwrite;
  record.diskFullNotification = wire.diskFullNotification;
  CopyTextIfPresent(record.diskFullNotificationSMTPServerID, wire.diskFullNotificationSMTPServerID);
}

}  // namespace

// ---- FTP servers ----

int EventScheduleClient::CallGetFTPServerList(const void *, FTPServerListRecord *response) {
  _ns1__GetFTPServerList wire;
  return WS_INVOKE_FOR_LIST(GetFTPServerList, &wire, ns1__ArrayOfFTPServer_USCORET, FTPServer_USCORET, response,
                            kCopyServer);
}

int EventScheduleClient::CallGetFTPServer(const AliasRecord *request, FTPServerResponseRecord *response) {
  _ns1__GetFTPServer wire;
  wire.alias = SendText(request->alias);
  return WS_INVOKE_FOR_ITEM(GetFTPServer, &wire, response, server,
                            kCopyServer);
}

int EventScheduleClient::CallAddFTPServer(const FTPServerRequestRecord *request, CallResult *response) {
  ServerRequest<_ns1__AddFTPServer, ns1__FTPServer_USCORET, FTPServerRecord> add(request->server);
  return WS_INVOKE_FOR_CALL_RESULT(AddFTPServer, &add.wire, response);
}

int EventScheduleClient::CallRemoveFTPServer(const AliasRecord *request, CallResult *response) {
  _ns1__RemoveFTPServer wire;
  wire.alias = SendText(request->alias);
  return WS_INVOKE_FOR_CALL_RESULT(RemoveFTPServer, &wire, response);
}

int EventScheduleClient::CallUpdateFTPServer(const FTPServerUpdateRecord *request, CallResult *response) {
  ServerUpdate<_ns1__UpdateFTPServer, ns1__FTPServer_USCORET, FTPServerRecord> update(request->prevAlias,
                                                                                      request->server);
  return WS_INVOKE_FOR_CALL_RESULT(UpdateFTPServer, &update.wire, response);
}

// The record is the server itself: it has no prefix.
int EventScheduleClient::CallTestFTPServer(const FTPServerRecord *request, CallResult *response) {
  ServerRequest<_ns1__TestFTPServer, ns1__FTPServer_USCORET, FTPServerRecord> test(*request);
  return WS_INVOKE_FOR_CALL_RESULT(TestFTPServer, &test.wire, response);
}

// ---- SMTP servers ----

int EventScheduleClient::CallGetSMTPServerList(const void *, SMTPServerListRecord *response) {
  _ns1__GetSMTPServerList wire;
  return WS_INVOKE_FOR_LIST(GetSMTPServerList, &wire, ns1__ArrayOfSMTPServer_USCORET, SMTPServer_USCORET, response,
                            kCopyServer);
}

int EventScheduleClient::CallGetSMTPServer(const AliasRecord *request, SMTPServerResponseRecord *response) {
  _ns1__GetSMTPServer wire;
  wire.alias = SendText(request->alias);
  return WS_INVOKE_FOR_ITEM(GetSMTPServer, &wire, response, server,
                            kCopyServer);
}

int EventScheduleClient::CallAddSMTPServer(const SMTPServerRequestRecord *request, CallResult *response) {
  ServerRequest<_ns1__AddSMTPServer, ns1__SMTPServer_USCORET, SMTPServerRecord> add(request->server);
  return WS_INVOKE_FOR_CALL_RESULT(AddSMTPServer, &add.wire, response);
}

// Only the boolean result comes back: one byte, no resultCode.
int EventScheduleClient::CallRemoveSMTPServer(const AliasRecord *request, bool *response) {
  _ns1__RemoveSMTPServer wire;
  wire.alias = SendText(request->alias);
  _ns1__RemoveSMTPServerResponse answer;
  if (int status = WS_INVOKE(RemoveSMTPServer, &wire, answer)) return status;
  *response = answer.RemoveSMTPServerResult;
  return 0;
}

int EventScheduleClient::CallUpdateSMTPServer(const SMTPServerUpdateRecord *request, CallResult *response) {
  ServerUpdate<_ns1__UpdateSMTPServer, ns1__SMTPServer_USCORET, SMTPServerRecord> update(request->prevAlias,
                                                                                         request->server);
  return WS_INVOKE_FOR_CALL_RESULT(UpdateSMTPServer, &update.wire, response);
}

int EventScheduleClient::CallTestSMTPServer(const SMTPServerRequestRecord *request, CallResult *response) {
  ServerRequest<_ns1__TestSMTPServer, ns1__SMTPServer_USCORET, SMTPServerRecord> test(request->server);
  return WS_INVOKE_FOR_CALL_RESULT(TestSMTPServer, &test.wire, response);
}

// ---- Device notifications ----

int EventScheduleClient::CallGetSMTPNotification(const void *, SMTPNotificationRecord *response) {
  _ns1__GetSMTPNotification wire;
  _ns1__GetSMTPNotificationResponse answer;
  if (int status = WS_INVOKE(GetSMTPNotification, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  CopyTextIfPresent(response->smtpAlias, answer.GetSMTPNotificationResult);
  return 0;
}

int EventScheduleClient::CallSetSMTPNotification(const AliasRecord *request, CallResult *response) {
  _ns1__SetSMTPNotification wire;
  wire.smtpAlias = SendText(request->alias);
  return WS_INVOKE_FOR_CALL_RESULT(SetSMTPNotification, &wire, response);
}

// The record puts resultCode first; the list rule is the service's.
int EventScheduleClient::CallGetFanFailNotification(const void *, FanFailNotificationRecord *response) {
  _ns1__GetFanFailNotification wire;
  return WS_INVOKE_FOR_LIST(GetFanFailNotification, &wire, ns1__ArrayOfEventNotify_USCORET, EventNotify_USCORET,
                            response, CopyNotify);
}

int EventScheduleClient::CallSetFanFailNotification(const EventNotifyRequestRecord *request,
                                                FanFailCallResult *response) {
  NotifyRequest<_ns1__SetFanFailNotification> set(*request);
  _ns1__SetFanFailNotificationResponse answer;
  if (int status = WS_INVOKE(SetFanFailNotification, &set.wire, answer)) return status;
  response->resultCode = answer.resultCode;
  response->result = answer.SetFanFailNotificationResult;
  return 0;
}

int EventScheduleClient::CallGetRecordingServerDiskFullNotification(const void *, EventNotifyListRecord *response) {
  _ns1__GetRecordingServerDiskFullNotification wire;
  return WS_INVOKE_FOR_LIST(GetRecordingServerDiskFullNotification, &wire, ns1__ArrayOfEventNotify_USCORET,
                            EventNotify_USCORET, response, CopyNotify);
}

int EventScheduleClient::CallSetRecordingServerDiskFullNotification(const EventNotifyRequestRecord *request,
                                                                CallResult *response) {
  NotifyRequest<_ns1__SetRecordingServerDiskFullNotification> set(*request);
  return WS_INVOKE_FOR_CALL_RESULT(SetRecordingServerDiskFullNotification, &set.wire, response);
}

int EventScheduleClient::CallGetTemperatureThreshold(const TemperatureDeviceRecord *request, IntValueRecord *response) {
  return WS_INVOKE_FOR_INT_VALUE(GetTemperatureThreshold,
                                 WS_REQUEST_WITH(GetTemperatureThreshold, device, request->device), response);
}

int EventScheduleClient::CallSetTemperatureThreshold(const TemperatureThresholdRecord *request, CallResult *response) {
  _ns1__SetTemperatureThreshold wire;
  wire.device = request->device;
  wire.temperature = request->temperature;
  return WS_INVOKE_FOR_CALL_RESULT(SetTemperatureThreshold, &wire, response);
}

// ---- Manual recording ----

int EventScheduleClient::CallStartManualRecording(const ManualRecordingRecord *request, CallResult *response) {
  _ns1__StartManualRecording wire;
  wire.channel = request->channel;
  wire.frameRate = request->frameRate;
  wire.qualityType = request->qualityType;
  wire.resolutionType = request->resolutionType;
  wire.master = request->master;
  return WS_INVOKE_FOR_CALL_RESULT(StartManualRecording, &wire, response);
}

int EventScheduleClient::CallStopManualRecording(const ManualRecordingStopRecord *request, CallResult *response) {
  _ns1__StopManualRecording wire;
  wire.channel = request->channel;
  wire.master = request->master;
  return WS_INVOKE_FOR_CALL_RESULT(StopManualRecording, &wire, response);
}

// ---- SD card ----

// resultCode is written whatever its value; the schedule when the answer
// holds one.  timetableCount follows a received time table, also an empty
// one; the new array comes only for one entry or more.
int EventScheduleClient::CallGetSDRecordingSchedule(const void *, SDRecordingResponseRecord *response) {
  _ns1__GetSDRecordingSchedule wire;
  _ns1__GetSDRecordingScheduleResponse answer;
  if (int status = WS_INVOKE(GetSDRecordingSchedule, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__SDRecording_USCORET *schedule = answer.GetSDRecordingScheduleResult;
  if (!schedule) return 0;
  const std::vector<int> *entries = schedule->timetable ? &schedule->timetable->int_ : nullptr;
  int32_t *timetable = nullptr;
  if (entries && !entries->empty()) {
    if (entries->size() > 0x7fffffff || !(timetable = AllocateItems<int32_t>(entries->size()))) return WS_STATUS_OUT_OF_MEMORY;
    std::copy(entries->begin(), entries->end(), timetable);
  }
  SDRecordingRecord &record = response->schedule;
  record.channel = schedule->channel;
  record.master = schedule->master;
  record.networkFailureRecording = schedule->networkFailureRecording;
  CopyTextIfPresent(record.recordingServerIP, schedule->recordingServerIP);
  record.recordingType = schedule->recordingType;
  if (!entries) return 0;
  record.timetableCount = static_cast<int32_t>(entries->size());
  if (timetable) record.timetable = timetable;
  return 0;
}

int EventScheduleClient::CallSetSDRecordingSchedule(const SDRecordingRecord *request, CallResult *response) {
  ns1__ArrayOfInt timetable;
  if (request->timetable && request->timetableCount > 0)
    timetable.int_.assign(request->timetable, request->timetable + request->timetableCount);
  ns1__SDRecording_USCORET schedule;
  schedule.recordingType = request->recordingType;
  schedule.timetable = &timetable;
  schedule.channel = request->channel;
  schedule.master = request->master;
  schedule.networkFailureRecording = request->networkFailureRecording;
  schedule.recordingServerIP = SendText(request->recordingServerIP);
  _ns1__SetSDRecordingSchedule wire;
  wire.config = &schedule;
  return WS_INVOKE_FOR_CALL_RESULT(SetSDRecordingSchedule, &wire, response);
}

int EventScheduleClient::CallGetSDInfo(const void *, SDInfoResponseRecord *response) {
  _ns1__GetSDInfo wire;
  return WS_INVOKE_FOR_ITEM(GetSDInfo, &wire, response, info, CopyInfo);
}

int EventScheduleClient::CallCommandSD(const int32_t *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(CommandSD, WS_REQUEST_WITH(CommandSD, command, *request), response);
}

int EventScheduleClient::CallGetSDConfig(const void *, SDConfigResponseRecord *response) {
  _ns1__GetSDConfig wire;
  return WS_INVOKE_FOR_ITEM(GetSDConfig, &wire, response, config, CopyConfig);
}

int EventScheduleClient::CallSetSDConfig(const SDConfigRecord *request, CallResult *response) {
  ns1__SDConfig_USCORET config;
  config.overwrite = request->overwrite;
  config.diskFullNotification = request->diskFullNotification;
  config.diskFullNotificationSMTPServerID = SendText(request->diskFullNotificationSMTPServerID);
  _ns1__SetSDConfig wire;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetSDConfig, &wire, response);
}

// The file list's own rule: resultCode is written whatever its value and
// does not stop the copy; a missing or empty list leaves count and names as
// they were.  Each name is a separate strdup copy.
int EventScheduleClient::CallGetSDRecordingFiles(const SDFileQueryRecord *request, SDFileListRecord *response) {
  WireFileQuery query(*request);
  _ns1__GetSDRecordingFilesResponse answer;
  if (int status = WS_INVOKE(GetSDRecordingFiles, &query.wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__ArrayOfString *list = answer.GetSDRecordingFilesResult;
  if (!list || list->string.empty()) return 0;
  char **names = list->string.size() > 0x7fffffff ? nullptr : DuplicateTexts(list->string);
  if (!names) return WS_STATUS_OUT_OF_MEMORY;
  response->count = static_cast<int32_t>(list->string.size());
  response->names = names;
  return 0;
}

int EventScheduleClient::CallGetSDRecordingFile(const char *request, CallResult *response) {
  _ns1__GetSDRecordingFile wire;
  wire.filename = SendText(request);
  return WS_INVOKE_FOR_CALL_RESULT(GetSDRecordingFile, &wire, response);
}

int EventScheduleClient::CallRemoveSDRecordingFile(const char *request, CallResult *response) {
  _ns1__RemoveSDRecordingFile wire;
  wire.filename = SendText(request);
  return WS_INVOKE_FOR_CALL_RESULT(RemoveSDRecordingFile, &wire, response);
}

}  // namespace ws

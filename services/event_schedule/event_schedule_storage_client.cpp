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
  wire.alias = Send(record.alias);
  wire.serverAddress = Send(record.serverAddress);
  wire.port = record.port;
  wire.userID = Send(record.userID);
  wire.password = Send(record.password);
  wire.folder = Send(record.folder);
}

void FillServer(ns1__SMTPServer_USCORET &wire, const SMTPServerRecord &record) {
  wire.alias = Send(record.alias);
  wire.serverAddress = Send(record.serverAddress);
  wire.port = record.port;
  wire.userID = Send(record.userID);
  wire.password = Send(record.password);
  wire.recipientAddress = Send(record.recipientAddress);
  wire.adminAddress = Send(record.adminAddress);
  wire.subject = Send(record.subject);
  wire.message = Send(record.message);
  wire.enableSSL = Send(record.enableSSL);
}

// Add, Update and Test: the request's server element (an update's prevAlias
// is set from the table); TestFTPServer's record is the server itself.
template <class Wire, class Record>
auto Fill(Wire &wire, const Record &request, Outgoing &out) -> decltype(FillServer(*wire.server, request.server)) {
  FillServer(out.Element(wire.server), request.server);
}
void Fill(_ns1__TestFTPServer &wire, const FTPServerRecord &record, Outgoing &out) {
  FillServer(out.Element(wire.server), record);
}

// A text the answer lacks leaves its array as it was.
void Copy(FTPServerRecord &record, const ns1__FTPServer_USCORET &wire) {
  CopyTextIfPresent(record.alias, wire.alias);
  CopyTextIfPresent(record.serverAddress, wire.serverAddress);
  record.port = wire.port;
  CopyTextIfPresent(record.userID, wire.userID);
  CopyTextIfPresent(record.password, wire.password);
  CopyTextIfPresent(record.folder, wire.folder);
}

void Copy(SMTPServerRecord &record, const ns1__SMTPServer_USCORET &wire) {
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

// ---- Notifications ----

template <class Wire>
void Fill(Wire &wire, const EventNotifyRequestRecord &request, Outgoing &out) {
  SendNotifies(out, wire.eventNotify, request.notifies, request.count);
}

// ---- SD card ----

void FillDateTime(ns1__DateTime_USCORET &wire, const int32_t (&fields)[6], Outgoing &out) {
  FillDate(out.Element(wire.date), fields[0], fields[1], fields[2]);
  ns1__Time_USCORET &time = out.Element(wire.time);
  time.hour = fields[3];
  time.minute = fields[4];
  time.second = fields[5];
}

// The start and end groups of a query, six fields each; the int32 between
// them is not read.
void Fill(_ns1__GetSDRecordingFiles &wire, const SDFileQueryRecord &query, Outgoing &out) {
  FillDateTime(out.Element(wire.start), {query.startYear, query.startMonth, query.startDay, query.startHour,
                                         query.startMinute, query.startSecond}, out);
  FillDateTime(out.Element(wire.end), {query.endYear, query.endMonth, query.endDay, query.endHour, query.endMinute,
                                       query.endSecond}, out);
}

void Fill(_ns1__SetSDRecordingSchedule &wire, const SDRecordingRecord &request, Outgoing &out) {
  ns1__SDRecording_USCORET &schedule = out.Element(wire.config);
  ns1__ArrayOfInt &timetable = out.Element(schedule.timetable);
  if (request.timetable && request.timetableCount > 0)
    timetable.int_.assign(request.timetable, request.timetable + request.timetableCount);
  schedule.recordingType = request.recordingType;
  schedule.channel = request.channel;
  schedule.master = Send(request.master);
  schedule.networkFailureRecording = Send(request.networkFailureRecording);
  schedule.recordingServerIP = Send(request.recordingServerIP);
}

void Copy(SDInfoRecord &record, const ns1__SDInfo_USCORET &wire) {
  CopyTextIfPresent(record.diskID, wire.diskID);
  record.totalSpace = wire.totalSpace;
  record.freeSpace = wire.freeSpace;
  record.status = wire.status;
  record.isReadOnly = wire.isReadOnly;
}

void Fill(_ns1__SetSDConfig &wire, const SDConfigRecord &request, Outgoing &out) {
  ns1__SDConfig_USCORET &config = out.Element(wire.config);
  config.overwrite = Send(request.overwrite);
  config.diskFullNotification = Send(request.diskFullNotification);
  config.diskFullNotificationSMTPServerID = Send(request.diskFullNotificationSMTPServerID);
}

void Copy(SDConfigRecord &record, const ns1__SDConfig_USCORET &wire) {
  record.overwrite = wire.overwrite;
  record.diskFullNotification = wire.diskFullNotification;
  CopyTextIfPresent(record.diskFullNotificationSMTPServerID, wire.diskFullNotificationSMTPServerID);
}

// resultCode is written whatever its value; the schedule when the answer
// holds one.  timetableCount follows a received time table, also an empty
// one; the new array comes only for one entry or more.
int Store(SDRecordingResponseRecord &response, const _ns1__GetSDRecordingScheduleResponse &answer) {
  const ns1__SDRecording_USCORET *schedule = answer.GetSDRecordingScheduleResult;
  if (!schedule) return 0;
  const std::vector<int> *entries = schedule->timetable ? &schedule->timetable->int_ : nullptr;
  int32_t *timetable = nullptr;
  if (entries && !entries->empty()) {
    if (!(timetable = AllocateItems<int32_t>(entries->size()))) return WS_STATUS_OUT_OF_MEMORY;
    std::copy(entries->begin(), entries->end(), timetable);
  }
  SDRecordingRecord &record = response.schedule;
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

// The file list's own rule: resultCode is written whatever its value and
// does not stop the copy; a missing or empty list leaves count and names as
// they were.  Each name is a separate strdup copy.
int Store(SDFileListRecord &record, const _ns1__GetSDRecordingFilesResponse &answer) {
  const ns1__ArrayOfString *list = answer.GetSDRecordingFilesResult;
  if (!list || list->string.empty()) return 0;
  char **names = DuplicateTexts(list->string);
  if (!names) return WS_STATUS_OUT_OF_MEMORY;
  record.count = static_cast<int32_t>(list->string.size());
  record.names = names;
  return 0;
}

}  // namespace

// Only the boolean result comes back: one byte, no resultCode.
int EventScheduleClient::CallRemoveSMTPServer(const AliasRecord *request, bool *response) {
  _ns1__RemoveSMTPServer wire;
  wire.alias = Send(request->alias);
  _ns1__RemoveSMTPServerResponse answer;
  if (int status = WS_INVOKE(RemoveSMTPServer, &wire, answer)) return status;
  *response = answer.RemoveSMTPServerResult;
  return 0;
}

#define WS_EVENT_SCHEDULE_STORAGE_CONVERSION(...) WS_DEFINE_CONVERSION(EventScheduleClient, __VA_ARGS__)
WS_EVENT_SCHEDULE_STORAGE_OPERATIONS(WS_EVENT_SCHEDULE_STORAGE_CONVERSION)

}  // namespace ws

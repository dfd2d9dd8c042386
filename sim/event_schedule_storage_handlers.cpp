// EventSchedule service: FTP and SMTP servers, device notifications, manual
// recording and the SD card.
//
// Rules of the simulated device:
// - FTP and SMTP servers are kept in two tables (at most 16 each) under
//   unique, non-empty aliases of at most 255 bytes; ports are 1..65535.  An
//   update finds the server by its previous alias and may rename it.  An
//   SMTP server named by the device's mail setting or by the SD card's
//   disk-full setting cannot be removed (a rename carries those along).
// - Testing a server never leaves the machine: an address in 127.0.0.0/8
//   (dotted, no names) where something accepts a TCP connection on the given
//   port within a second answers true; anything else answers false, with
//   kResultNotLoopback for other addresses and kResultNothingListening when
//   nothing listens.
// - The device's mail goes through the SMTP server that SetSMTPNotification
//   names (an empty alias turns it off).  The fan-failure and disk-full
//   notifications are lists of targets that Set replaces and Get returns.
//   Temperature thresholds: fan 50, heater 5 degrees, each -40..100.
// - The SD card holds 32768 MB.  CommandSD codes: 0 formats the card (every
//   recording file goes; the card must be mounted), 1 mounts it, 2 unmounts
//   it (manual recordings that run are saved first).  Status 0 is mounted, 1
//   unmounted.  Files can be listed, named and removed only while the card
//   is mounted.
// - StartManualRecording begins a recording on one stream (channel, master)
//   of a mounted card; StopManualRecording saves it as a file named after
//   the channel, stream and start time, covering the time from start to stop
//   (UTC, whole seconds) at 1 MB a second.  When the card is full, the
//   oldest files make room if overwrite is on; otherwise a start is refused
//   and a stop keeps what fits.
// - With --verbose, every saved recording and every card command is logged.
// - GetSDRecordingFiles lists the files whose time range meets the one asked
//   for (both ends included), oldest first.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapEventScheduleSoap12Service.h"
#include "webservice/Enums.h"

using namespace sim;

namespace {

constexpr size_t kMaxServers = 16;
constexpr size_t kMaxText = 255;
constexpr size_t kMaxMessage = 2047;
constexpr size_t kMaxTimetable = 336;
constexpr int kProbeMilliseconds = 1000;
constexpr int kMegabytesPerSecond = 1;
enum SdCommand { kSdFormat = 0, kSdMount = 1, kSdUnmount = 2 };

char *Text(struct soap *soap, const std::string &text) { return soap_strdup(soap, text.c_str()); }

// Takes a received text of at most max bytes; a missing one is empty.
int TakeText(const char *text, size_t max, std::string &out) {
  out = text ? text : "";
  return out.size() > max ? kResultTooLong : kResultOk;
}

// Runs decide on the storage state under the device's lock and answers its
// code, with result true exactly when the code is kResultOk.
template <class Response, class Decide>
int Decided(struct soap *soap, Response &response, bool &result, Decide decide) {
  DeviceState &device = DeviceOf(soap);
  int code;
  {
    std::lock_guard<std::mutex> lock(device.mutex);
    code = decide(device.eventSchedule.storage);
  }
  result = code == kResultOk;
  return Reply(soap, response, code);
}

// Answers what read() makes of the storage state, under the lock.
template <class Response, class Read>
int Answered(struct soap *soap, Response &response, Read read) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  return Reply(soap, response, read(device.eventSchedule.storage));
}

// ---- Servers ----

ns1__FTPServer_USCORET *WireServer(struct soap *soap, const FtpServer &server) {
  return soap_new_set_ns1__FTPServer_USCORET(soap, Text(soap, server.alias), Text(soap, server.serverAddress),
                                             server.port, Text(soap, server.userID), Text(soap, server.password),
                                             Text(soap, server.folder));
}

ns1__SMTPServer_USCORET *WireServer(struct soap *soap, const SmtpServer &server) {
  return soap_new_set_ns1__SMTPServer_USCORET(
      soap, Text(soap, server.alias), Text(soap, server.serverAddress), server.port, Text(soap, server.userID),
      Text(soap, server.password), Text(soap, server.recipientAddress), Text(soap, server.adminAddress),
      Text(soap, server.subject), Text(soap, server.message), server.enableSSL);
}

// The checks every server shares: an alias, an address and a port.
int CheckServer(const std::string &alias, const std::string &address, int port) {
  if (alias.empty() || address.empty()) return kResultMissingArgument;
  return port < 1 || port > 65535 ? kResultOutOfRange : kResultOk;
}

int ReadServer(const ns1__FTPServer_USCORET *wire, FtpServer &server) {
  if (!wire) return kResultMissingArgument;
  for (int code : {TakeText(wire->alias, kMaxText, server.alias),
                   TakeText(wire->serverAddress, kMaxText, server.serverAddress),
                   TakeText(wire->userID, kMaxText, server.userID), TakeText(wire->password, kMaxText, server.password),
                   TakeText(wire->folder, kMaxText, server.folder)})
    if (code != kResultOk) return code;
  server.port = wire->port;
  return CheckServer(server.alias, server.serverAddress, server.port);
}

int ReadServer(const ns1__SMTPServer_USCORET *wire, SmtpServer &server) {
  if (!wire) return kResultMissingArgument;
  for (int code : {TakeText(wire->alias, kMaxText, server.alias),
                   TakeText(wire->serverAddress, kMaxText, server.serverAddress),
                   TakeText(wire->userID, kMaxText, server.userID), TakeText(wire->password, kMaxText, server.password),
                   TakeText(wire->recipientAddress, kMaxText, server.recipientAddress),
                   TakeText(wire->adminAddress, kMaxText, server.adminAddress),
                   TakeText(wire->subject, kMaxText, server.subject),
                   TakeText(wire->message, kMaxMessage, server.message)})
    if (code != kResultOk) return code;
  server.port = wire->port;
  server.enableSSL = wire->enableSSL;
  return CheckServer(server.alias, server.serverAddress, server.port);
}

template <class Server>
typename std::vector<Server>::iterator FindServer(std::vector<Server> &table, const char *alias) {
  return std::find_if(table.begin(), table.end(),
                      [&](const Server &server) { return alias && server.alias == alias; });
}

template <class Server, class Wire>
int AddServer(std::vector<Server> &table, const Wire *wire) {
  Server server;
  if (int code = ReadServer(wire, server)) return code;
  if (FindServer(table, server.alias.c_str()) != table.end()) return kResultAliasExists;
  if (table.size() >= kMaxServers) return kResultTooManyServers;
  table.push_back(server);
  return kResultOk;
}

// Replaces the server held under prevAlias; renamed stays every reference
// that followed the old alias.
template <class Server, class Wire>
int UpdateServer(std::vector<Server> &table, const char *prevAlias, const Wire *wire,
                 std::vector<std::string *> references = {}) {
  auto held = FindServer(table, prevAlias);
  if (held == table.end()) return kResultUnknownServer;
  Server server;
  if (int code = ReadServer(wire, server)) return code;
  auto clash = FindServer(table, server.alias.c_str());
  if (clash != table.end() && clash != held) return kResultAliasExists;
  for (std::string *reference : references)
    if (*reference == held->alias) *reference = server.alias;
  *held = server;
  return kResultOk;
}

// Whether something listens at a loopback address and port: kResultOk,
// kResultNotLoopback (nothing tried) or kResultNothingListening.
int ProbeServer(const char *address, int port) {
  in_addr host{};
  if (!address || ::inet_pton(AF_INET, address, &host) != 1 || (ntohl(host.s_addr) >> 24) != 127)
    return kResultNotLoopback;
  if (port < 1 || port > 65535) return kResultOutOfRange;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return kResultNothingListening;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr = host;
  target.sin_port = htons(static_cast<uint16_t>(port));
  bool connected = ::connect(fd, reinterpret_cast<sockaddr *>(&target), sizeof target) == 0;
  if (!connected && errno == EINPROGRESS) {
    pollfd wait{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    connected = ::poll(&wait, 1, kProbeMilliseconds) == 1 &&
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
  }
  ::close(fd);
  return connected ? kResultOk : kResultNothingListening;
}

template <class Response, class Wire>
int TestServer(struct soap *soap, Response &response, bool &result, const Wire *server) {
  const int code = server ? ProbeServer(server->serverAddress, server->port) : kResultMissingArgument;
  result = code == kResultOk;
  return Reply(soap, response, code);
}

// ---- Notifications ----

ns1__ArrayOfEventNotify_USCORET *WireTargets(struct soap *soap, const std::vector<NotificationTarget> &targets) {
  auto *wire = soap_new_ns1__ArrayOfEventNotify_USCORET(soap);
  for (const NotificationTarget &target : targets)
    wire->EventNotify_USCORET.push_back(soap_new_set_ns1__EventNotify_USCORET(soap, target.type, Text(soap, target.id)));
  return wire;
}

// Replaces targets with the received ones; a refusal changes nothing.
int ReadTargets(const ns1__ArrayOfEventNotify_USCORET *wire, std::vector<NotificationTarget> &targets) {
  if (!wire) return kResultMissingArgument;
  std::vector<NotificationTarget> read;
  for (const ns1__EventNotify_USCORET *notify : wire->EventNotify_USCORET) {
    if (!notify) continue;
    if (notify->type < WS_EVENT_NOTIFY_FTP || notify->type > WS_EVENT_NOTIFY_FlashLED) return kResultOutOfRange;
    NotificationTarget target{notify->type, {}};
    if (int code = TakeText(notify->id, kMaxText, target.id)) return code;
    read.push_back(target);
  }
  targets = std::move(read);
  return kResultOk;
}

int *Threshold(EventScheduleStorageState &state, int device) {
  if (device == WS_TEMPERATURE_DEVICE_FAN) return &state.fanThreshold;
  if (device == WS_TEMPERATURE_DEVICE_HEATER) return &state.heaterThreshold;
  return nullptr;
}

bool IsSmtpAlias(EventScheduleStorageState &state, const std::string &alias) {
  return alias.empty() || FindServer(state.smtpServers, alias.c_str()) != state.smtpServers.end();
}

// ---- SD card ----

int FreeSpace(const SdCard &card) {
  int used = 0;
  for (const SdRecordingFile &file : card.files) used += file.megabytes;
  return std::max(0, card.totalSpace - used);
}

std::string FileName(const ManualRecording &recording, int number) {
  std::tm utc{};
  gmtime_r(&recording.start, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &utc);
  return "ch" + std::to_string(recording.channel) + (recording.master ? "_master_" : "_second_") + stamp + "_" +
         std::to_string(number) + ".avi";
}

// Ends a recording and saves it on the card, making room as the settings
// allow; logs the file when verbose.
void SaveRecording(EventScheduleStorageState &state, const ManualRecording &recording, bool verbose) {
  SdCard &card = state.card;
  const std::time_t end = std::max(recording.start, std::time(nullptr));
  int megabytes = static_cast<int>(end - recording.start + 1) * kMegabytesPerSecond;
  while (state.sdSettings.overwrite && FreeSpace(card) < megabytes && !card.files.empty())
    card.files.erase(card.files.begin());
  megabytes = std::min(megabytes, FreeSpace(card));
  card.files.push_back({FileName(recording, state.nextFileNumber++), recording.channel, recording.master,
                        recording.start, end, megabytes});
  if (verbose)
    std::fprintf(stderr, "webservice-sim: SD card: saved %s (%d MB)\n", card.files.back().name.c_str(), megabytes);
}

bool Verbose(struct soap *soap) { return ExchangeOf(soap).options.verbose; }

std::vector<ManualRecording>::iterator FindRecording(EventScheduleStorageState &state, int channel, bool master) {
  return std::find_if(state.recordings.begin(), state.recordings.end(),
                      [&](const ManualRecording &r) { return r.channel == channel && r.master == master; });
}

int Mounted(const EventScheduleStorageState &state) {
  return state.card.status == kSdMounted ? kResultOk : kResultSdNotMounted;
}

std::vector<SdRecordingFile>::iterator FindFile(EventScheduleStorageState &state, const char *name) {
  return std::find_if(state.card.files.begin(), state.card.files.end(),
                      [&](const SdRecordingFile &file) { return name && file.name == name; });
}

// A received date and time as UTC seconds; false when it is none.
bool ReadDateTime(const ns1__DateTime_USCORET *wire, std::time_t &out) {
  long long seconds = 0;
  if (!wire || !wire->date || !wire->time || !UtcSeconds(*wire->date, *wire->time, &seconds)) return false;
  out = static_cast<std::time_t>(seconds);
  return true;
}

}  // namespace

// ---- FTP servers ----

int EventScheduleSoap12Service::GetFTPServerList(_ns1__GetFTPServerList *, _ns1__GetFTPServerListResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    response.GetFTPServerListResult = soap_new_ns1__ArrayOfFTPServer_USCORET(soap);
    for (const FtpServer &server : state.ftpServers)
      response.GetFTPServerListResult->FTPServer_USCORET.push_back(WireServer(soap, server));
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetFTPServer(_ns1__GetFTPServer *request, _ns1__GetFTPServerResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    auto server = FindServer(state.ftpServers, request ? request->alias : nullptr);
    if (server == state.ftpServers.end()) return int{kResultUnknownServer};
    response.GetFTPServerResult = WireServer(soap, *server);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::AddFTPServer(_ns1__AddFTPServer *request, _ns1__AddFTPServerResponse &response) {
  return Decided(soap, response, response.AddFTPServerResult, [&](EventScheduleStorageState &state) {
    return AddServer(state.ftpServers, request ? request->server : nullptr);
  });
}

int EventScheduleSoap12Service::RemoveFTPServer(_ns1__RemoveFTPServer *request,
                                                _ns1__RemoveFTPServerResponse &response) {
  return Decided(soap, response, response.RemoveFTPServerResult, [&](EventScheduleStorageState &state) {
    auto server = FindServer(state.ftpServers, request ? request->alias : nullptr);
    if (server == state.ftpServers.end()) return int{kResultUnknownServer};
    state.ftpServers.erase(server);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::UpdateFTPServer(_ns1__UpdateFTPServer *request,
                                                _ns1__UpdateFTPServerResponse &response) {
  return Decided(soap, response, response.UpdateFTPServerResult, [&](EventScheduleStorageState &state) {
    return request ? UpdateServer(state.ftpServers, request->prevAlias, request->server) : int{kResultMissingArgument};
  });
}

int EventScheduleSoap12Service::TestFTPServer(_ns1__TestFTPServer *request, _ns1__TestFTPServerResponse &response) {
  return TestServer(soap, response, response.TestFTPServerResult, request ? request->server : nullptr);
}

// ---- SMTP servers ----

int EventScheduleSoap12Service::GetSMTPServerList(_ns1__GetSMTPServerList *,
                                                  _ns1__GetSMTPServerListResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    response.GetSMTPServerListResult = soap_new_ns1__ArrayOfSMTPServer_USCORET(soap);
    for (const SmtpServer &server : state.smtpServers)
      response.GetSMTPServerListResult->SMTPServer_USCORET.push_back(WireServer(soap, server));
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetSMTPServer(_ns1__GetSMTPServer *request, _ns1__GetSMTPServerResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    auto server = FindServer(state.smtpServers, request ? request->alias : nullptr);
    if (server == state.smtpServers.end()) return int{kResultUnknownServer};
    response.GetSMTPServerResult = WireServer(soap, *server);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::AddSMTPServer(_ns1__AddSMTPServer *request, _ns1__AddSMTPServerResponse &response) {
  return Decided(soap, response, response.AddSMTPServerResult, [&](EventScheduleStorageState &state) {
    return AddServer(state.smtpServers, request ? request->server : nullptr);
  });
}

int EventScheduleSoap12Service::RemoveSMTPServer(_ns1__RemoveSMTPServer *request,
                                                 _ns1__RemoveSMTPServerResponse &response) {
  return Decided(soap, response, response.RemoveSMTPServerResult, [&](EventScheduleStorageState &state) {
    auto server = FindServer(state.smtpServers, request ? request->alias : nullptr);
    if (server == state.smtpServers.end()) return int{kResultUnknownServer};
    if (server->alias == state.smtpNotification || server->alias == state.sdSettings.diskFullNotificationSMTPServerID)
      return int{kResultServerInUse};
    state.smtpServers.erase(server);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::UpdateSMTPServer(_ns1__UpdateSMTPServer *request,
                                                 _ns1__UpdateSMTPServerResponse &response) {
  return Decided(soap, response, response.UpdateSMTPServerResult, [&](EventScheduleStorageState &state) {
    if (!request) return int{kResultMissingArgument};
    return UpdateServer(state.smtpServers, request->prevAlias, request->server,
                        {&state.smtpNotification, &state.sdSettings.diskFullNotificationSMTPServerID});
  });
}

int EventScheduleSoap12Service::TestSMTPServer(_ns1__TestSMTPServer *request,
                                               _ns1__TestSMTPServerResponse &response) {
  return TestServer(soap, response, response.TestSMTPServerResult, request ? request->server : nullptr);
}

// ---- Device notifications ----

int EventScheduleSoap12Service::GetSMTPNotification(_ns1__GetSMTPNotification *,
                                                    _ns1__GetSMTPNotificationResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    response.GetSMTPNotificationResult = Text(soap, state.smtpNotification);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetSMTPNotification(_ns1__SetSMTPNotification *request,
                                                    _ns1__SetSMTPNotificationResponse &response) {
  return Decided(soap, response, response.SetSMTPNotificationResult, [&](EventScheduleStorageState &state) {
    const std::string alias = request && request->smtpAlias ? request->smtpAlias : "";
    if (!IsSmtpAlias(state, alias)) return int{kResultUnknownServer};
    state.smtpNotification = alias;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetFanFailNotification(_ns1__GetFanFailNotification *,
                                                       _ns1__GetFanFailNotificationResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    response.GetFanFailNotificationResult = WireTargets(soap, state.fanFailNotification);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetFanFailNotification(_ns1__SetFanFailNotification *request,
                                                       _ns1__SetFanFailNotificationResponse &response) {
  return Decided(soap, response, response.SetFanFailNotificationResult, [&](EventScheduleStorageState &state) {
    return ReadTargets(request ? request->eventNotify : nullptr, state.fanFailNotification);
  });
}

int EventScheduleSoap12Service::GetRecordingServerDiskFullNotification(
    _ns1__GetRecordingServerDiskFullNotification *, _ns1__GetRecordingServerDiskFullNotificationResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    response.GetRecordingServerDiskFullNotificationResult = WireTargets(soap, state.diskFullNotification);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetRecordingServerDiskFullNotification(
    _ns1__SetRecordingServerDiskFullNotification *request,
    _ns1__SetRecordingServerDiskFullNotificationResponse &response) {
  return Decided(soap, response, response.SetRecordingServerDiskFullNotificationResult,
                 [&](EventScheduleStorageState &state) {
                   return ReadTargets(request ? request->eventNotify : nullptr, state.diskFullNotification);
                 });
}

int EventScheduleSoap12Service::GetTemperatureThreshold(_ns1__GetTemperatureThreshold *request,
                                                        _ns1__GetTemperatureThresholdResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    const int *threshold = request ? Threshold(state, request->device) : nullptr;
    if (!threshold) return int{kResultOutOfRange};
    response.GetTemperatureThresholdResult = *threshold;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetTemperatureThreshold(_ns1__SetTemperatureThreshold *request,
                                                        _ns1__SetTemperatureThresholdResponse &response) {
  return Decided(soap, response, response.SetTemperatureThresholdResult, [&](EventScheduleStorageState &state) {
    int *threshold = request ? Threshold(state, request->device) : nullptr;
    if (!threshold || request->temperature < -40 || request->temperature > 100) return int{kResultOutOfRange};
    *threshold = request->temperature;
    return int{kResultOk};
  });
}

// ---- Manual recording ----

int EventScheduleSoap12Service::StartManualRecording(_ns1__StartManualRecording *request,
                                                     _ns1__StartManualRecordingResponse &response) {
  return Decided(soap, response, response.StartManualRecordingResult, [&](EventScheduleStorageState &state) {
    if (!request) return int{kResultMissingArgument};
    if (DeviceState::ChannelIndex(request->channel) < 0) return int{kResultUnknownChannel};
    if (request->frameRate < 1 || request->frameRate > 30 || request->qualityType < WS_VIDEO_QUALITY_FULL ||
        request->qualityType > WS_VIDEO_QUALITY_LOW || request->resolutionType < WS_RESOLUTION_FULL_D1 ||
        request->resolutionType > WS_RESOLUTION_QUAD_CIF)
      return int{kResultOutOfRange};
    if (int code = Mounted(state)) return code;
    if (FindRecording(state, request->channel, request->master) != state.recordings.end())
      return int{kResultAlreadyRecording};
    if (FreeSpace(state.card) == 0 && !state.sdSettings.overwrite) return int{kResultSdFull};
    state.recordings.push_back({request->channel, request->master, request->frameRate, request->qualityType,
                                request->resolutionType, std::time(nullptr)});
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::StopManualRecording(_ns1__StopManualRecording *request,
                                                    _ns1__StopManualRecordingResponse &response) {
  return Decided(soap, response, response.StopManualRecordingResult, [&](EventScheduleStorageState &state) {
    if (!request) return int{kResultMissingArgument};
    auto recording = FindRecording(state, request->channel, request->master);
    if (recording == state.recordings.end()) return int{kResultNotRecording};
    SaveRecording(state, *recording, Verbose(soap));
    state.recordings.erase(recording);
    return int{kResultOk};
  });
}

// ---- SD card ----

int EventScheduleSoap12Service::GetSDRecordingSchedule(_ns1__GetSDRecordingSchedule *,
                                                       _ns1__GetSDRecordingScheduleResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    const SdRecordingSchedule &schedule = state.sdSchedule;
    auto *timetable = soap_new_ns1__ArrayOfInt(soap);
    timetable->int_ = schedule.timetable;
    response.GetSDRecordingScheduleResult = soap_new_set_ns1__SDRecording_USCORET(
        soap, schedule.recordingType, timetable, schedule.channel, schedule.master, schedule.networkFailureRecording,
        Text(soap, schedule.recordingServerIP));
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetSDRecordingSchedule(_ns1__SetSDRecordingSchedule *request,
                                                       _ns1__SetSDRecordingScheduleResponse &response) {
  return Decided(soap, response, response.SetSDRecordingScheduleResult, [&](EventScheduleStorageState &state) {
    const ns1__SDRecording_USCORET *wire = request ? request->config : nullptr;
    if (!wire || !wire->timetable) return int{kResultMissingArgument};
    if (DeviceState::ChannelIndex(wire->channel) < 0) return int{kResultUnknownChannel};
    if (wire->recordingType < 0 || wire->timetable->int_.size() > kMaxTimetable) return int{kResultOutOfRange};
    SdRecordingSchedule schedule;
    if (int code = TakeText(wire->recordingServerIP, kMaxText, schedule.recordingServerIP)) return code;
    schedule.recordingType = wire->recordingType;
    schedule.timetable = wire->timetable->int_;
    schedule.channel = wire->channel;
    schedule.master = wire->master;
    schedule.networkFailureRecording = wire->networkFailureRecording;
    state.sdSchedule = schedule;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetSDInfo(_ns1__GetSDInfo *, _ns1__GetSDInfoResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    const SdCard &card = state.card;
    response.GetSDInfoResult = soap_new_set_ns1__SDInfo_USCORET(soap, Text(soap, card.diskID), card.totalSpace,
                                                                FreeSpace(card), card.status, card.readOnly);
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::CommandSD(_ns1__CommandSD *request, _ns1__CommandSDResponse &response) {
  const int command = request ? request->command : -1;
  if (Verbose(soap)) std::fprintf(stderr, "webservice-sim: SD card: command %d\n", command);
  return Decided(soap, response, response.CommandSDResult, [&](EventScheduleStorageState &state) {
    switch (command) {
      case kSdFormat:
        if (int code = Mounted(state)) return code;
        state.card.files.clear();
        return int{kResultOk};
      case kSdMount:
        state.card.status = kSdMounted;
        return int{kResultOk};
      case kSdUnmount:
        for (const ManualRecording &recording : state.recordings) SaveRecording(state, recording, Verbose(soap));
        state.recordings.clear();
        state.card.status = kSdUnmounted;
        return int{kResultOk};
      default:
        return int{kResultSdUnknownCommand};
    }
  });
}

int EventScheduleSoap12Service::GetSDConfig(_ns1__GetSDConfig *, _ns1__GetSDConfigResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    const SdSettings &settings = state.sdSettings;
    response.GetSDConfigResult = soap_new_set_ns1__SDConfig_USCORET(
        soap, settings.overwrite, settings.diskFullNotification, Text(soap, settings.diskFullNotificationSMTPServerID));
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::SetSDConfig(_ns1__SetSDConfig *request, _ns1__SetSDConfigResponse &response) {
  return Decided(soap, response, response.SetSDConfigResult, [&](EventScheduleStorageState &state) {
    const ns1__SDConfig_USCORET *wire = request ? request->config : nullptr;
    if (!wire) return int{kResultMissingArgument};
    SdSettings settings{wire->overwrite, wire->diskFullNotification, {}};
    if (int code = TakeText(wire->diskFullNotificationSMTPServerID, kMaxText, settings.diskFullNotificationSMTPServerID))
      return code;
    if (!IsSmtpAlias(state, settings.diskFullNotificationSMTPServerID)) return int{kResultUnknownServer};
    state.sdSettings = settings;
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetSDRecordingFiles(_ns1__GetSDRecordingFiles *request,
                                                    _ns1__GetSDRecordingFilesResponse &response) {
  return Answered(soap, response, [&](EventScheduleStorageState &state) {
    std::time_t start = 0, end = 0;
    if (!request || !ReadDateTime(request->start, start) || !ReadDateTime(request->end, end) || start > end)
      return int{kResultBadTimeRange};
    if (int code = Mounted(state)) return code;
    response.GetSDRecordingFilesResult = soap_new_ns1__ArrayOfString(soap);
    for (const SdRecordingFile &file : state.card.files)
      if (file.start <= end && file.end >= start)
        response.GetSDRecordingFilesResult->string.push_back(Text(soap, file.name));
    return int{kResultOk};
  });
}

int EventScheduleSoap12Service::GetSDRecordingFile(_ns1__GetSDRecordingFile *request,
                                                   _ns1__GetSDRecordingFileResponse &response) {
  return Decided(soap, response, response.GetSDRecordingFileResult, [&](EventScheduleStorageState &state) {
    if (int code = Mounted(state)) return code;
    return FindFile(state, request ? request->filename : nullptr) == state.card.files.end() ? int{kResultUnknownFile}
                                                                                             : int{kResultOk};
  });
}

int EventScheduleSoap12Service::RemoveSDRecordingFile(_ns1__RemoveSDRecordingFile *request,
                                                      _ns1__RemoveSDRecordingFileResponse &response) {
  return Decided(soap, response, response.RemoveSDRecordingFileResult, [&](EventScheduleStorageState &state) {
    if (int code = Mounted(state)) return code;
    auto file = FindFile(state, request ? request->filename : nullptr);
    if (file == state.card.files.end()) return int{kResultUnknownFile};
    state.card.files.erase(file);
    return int{kResultOk};
  });
}

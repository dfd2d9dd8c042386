// wsctl as a user runs it: against the simulator, the scripted fake device
// and a closed port, checking what it prints and its exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fake_device.h"
#include "tests/simulator.h"
#include "tests/test_support.h"

namespace {

struct Outcome {
  int exit = -1;
  std::string out, err;
};

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs wsctl with args against 127.0.0.1:port, input on its standard input.
Outcome Wsctl(int port, const std::vector<std::string> &args, const std::string &input = "") {
  char dir[] = "/tmp/wsctl-cli-XXXXXX";
  if (!::mkdtemp(dir)) return {};
  const std::string in = std::string(dir) + "/in", out = std::string(dir) + "/out", err = std::string(dir) + "/err";
  std::ofstream(in, std::ios::binary) << input;
  std::string command = "'" WSCTL_PATH "' --port " + std::to_string(port);
  for (const std::string &arg : args) command += " '" + arg + "'";
  const int status = std::system((command + " <" + in + " >" + out + " 2>" + err).c_str());
  Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  for (const std::string &file : {in, out, err}) std::remove(file.c_str());
  ::rmdir(dir);
  return outcome;
}

TEST(WsctlCli, SaysWhyACallFailed) {
  Simulator sim({"--port", "0", "--no-port81", "--user", "admin", "--password", "admin", "--fail",
                 "GetUserCount:fault-client"});
  ASSERT_TRUE(sim.ready()) << sim.line();

  Outcome refused = Wsctl(sim.port(), {"--user", "admin", "--password", "wrong", "GetMaxChannel"});
  EXPECT_EQ(refused.exit, 1);
  EXPECT_NE(refused.err.find("HTTP 401: the device refused the user name or password"), std::string::npos)
      << refused.err;

  Outcome fault = Wsctl(sim.port(), {"--user", "admin", "--password", "admin", "GetUserCount"});
  EXPECT_EQ(fault.exit, 1);
  EXPECT_NE(fault.err.find("GetUserCount failed: 1 WS_STATUS_CLIENT_FAULT: SOAP fault Client: Simulated client fault"),
            std::string::npos)
      << fault.err;

  FakeDevice device;
  ASSERT_TRUE(device.ok());
  device.Script({Reply::Redirect(302, "https://127.0.0.9:8443/soap")});
  Outcome moved = Wsctl(device.port(), {"GetMaxChannel"});
  EXPECT_EQ(moved.exit, 1);
  EXPECT_NE(moved.err.find("HTTP 302 to https://127.0.0.9:8443/soap: the device redirects; the library follows no "
                           "redirects"),
            std::string::npos)
      << moved.err;

  RefusingPort closed;
  Outcome unreachable = Wsctl(closed.port(), {"GetMaxChannel"});
  EXPECT_EQ(unreachable.exit, 1);
  EXPECT_NE(unreachable.err.find("GetMaxChannel failed: 12029 WS_STATUS_CANNOT_CONNECT: the device at "
                                 "http://127.0.0.1:" + std::to_string(closed.port()) + "/soap cannot be reached"),
            std::string::npos)
      << unreachable.err;

  // Nothing went to standard output in any of these.
  EXPECT_EQ(refused.out + fault.out + moved.out + unreachable.out, "");
}

// The JSON member name's value replaced by value (up to the comma or line end).
std::string WithValue(std::string json, const std::string &name, const std::string &value) {
  const size_t at = json.find("\"" + name + "\": ");
  if (at == std::string::npos) return json;
  const size_t start = at + name.size() + 4;
  return json.replace(start, json.find_first_of(",\n", start) - start, value);
}

// The answer of a Get, edited and fed back as the request of its Set, is
// what the next Get reads: enumerations travel as symbols (or numbers) in
// and as symbols out, and the answer's resultCode is no obstacle.
TEST(WsctlCli, GetAnswerIsTheInputOfItsSet) {
  Simulator sim({"--port", "0", "--no-port81"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  Outcome before = Wsctl(sim.port(), {"GetVideoEncoderConfig", "channel=1"});
  ASSERT_EQ(before.exit, 0) << before.err;
  const bool wasH264 = before.out.find("\"videoCodec\": \"VIDEO_CODEC_H264\"") != std::string::npos;
  ASSERT_TRUE(wasH264 || before.out.find("\"videoCodec\": \"VIDEO_CODEC_MJPEG\"") != std::string::npos)
      << before.out;

  const std::string edited = WithValue(WithValue(before.out, "frameRate", "7"), "videoCodec",
                                       wasH264 ? "0" : "\"VIDEO_CODEC_H264\"");
  Outcome set = Wsctl(sim.port(), {"--json-in", "-", "SetVideoEncoderConfig", "channel=1"}, edited);
  ASSERT_EQ(set.exit, 0) << set.err;
  Outcome after = Wsctl(sim.port(), {"GetVideoEncoderConfig", "channel=1"});
  EXPECT_EQ(after.out, WithValue(edited, "videoCodec", wasH264 ? "\"VIDEO_CODEC_MJPEG\"" : "\"VIDEO_CODEC_H264\""));
}

// A temporary file holding text, removed with the object.
class TextFile {
 public:
  explicit TextFile(const std::string &text = "") {
    char name[] = "/tmp/wsctl-fleet-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    path_ = name;
    if (!text.empty()) std::ofstream(path_, std::ios::binary) << text;
  }
  ~TextFile() { std::remove(path_.c_str()); }
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

size_t Lines(const std::string &text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

// The line of out that names the device at port.
std::string LineOf(const std::string &out, int port) {
  const size_t at = out.find("\"127.0.0.1:" + std::to_string(port) + "\"");
  if (at == std::string::npos) return "";
  const size_t start = out.rfind('\n', at);
  const size_t from = start == std::string::npos ? 0 : start + 1;
  return out.substr(from, out.find('\n', at) - from);
}

// One setting changed on a simulated fleet: one device takes it, one refuses
// the credentials, one refuses the setting, one does not answer; each is
// reported as such, and the run fails as a whole.
TEST(WsctlFleet, ReportsEachDevice) {
  Simulator sim({"--port", "0", "--no-port81", "--devices", "3", "--user", "admin", "--password", "admin"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  EXPECT_NE(sim.line().find("devices=3 ports=" + std::to_string(sim.port()) + "-" + std::to_string(sim.port() + 2)),
            std::string::npos) << sim.line();
  const int first = sim.port(), wrong = first + 1, taken = first + 2;
  ASSERT_EQ(0, Wsctl(taken, {"--user", "admin", "--password", "admin", "AddUser", "user.userID=bob"}).exit);
  RefusingPort closed;
  TextFile inventory("[{\"host\": \"127.0.0.1\", \"port\": " + std::to_string(first) +
                     "}, {\"host\": \"127.0.0.1\", \"port\": " + std::to_string(wrong) +
                     ", \"user\": \"admin\", \"password\": \"nope\"}, {\"host\": \"127.0.0.1\", \"port\": " +
                     std::to_string(taken) + "}, {\"host\": \"127.0.0.1\", \"port\": " +
                     std::to_string(closed.port()) + "}]");
  TextFile credentials("admin:admin\n");
  ::chmod(credentials.path().c_str(), 0644);
  EXPECT_EQ(2, Wsctl(first, {"--credentials", credentials.path(), "GetMaxChannel"}).exit);  // readable by others
  ::chmod(credentials.path().c_str(), 0600);

  Outcome run = Wsctl(first, {"--credentials", credentials.path(), "fleet", "--parallel", "3", inventory.path(),
                              "AddUser", "user.userID=bob", "user.password=secret"});
  EXPECT_EQ(run.exit, 1) << run.err;
  EXPECT_EQ(Lines(run.out), 4u) << run.out;
  EXPECT_NE(LineOf(run.out, first).find("\"statusText\":\"ok\""), std::string::npos) << run.out;
  EXPECT_NE(LineOf(run.out, wrong).find("HTTP 401: the device refused the user name or password"), std::string::npos)
      << run.out;
  EXPECT_NE(LineOf(run.out, taken).find("the device refused: resultCode"), std::string::npos) << run.out;
  EXPECT_NE(LineOf(run.out, closed.port()).find("cannot be reached"), std::string::npos) << run.out;
  EXPECT_NE(LineOf(run.out, closed.port()).find("\"statusName\":\"WS_STATUS_CANNOT_CONNECT\""), std::string::npos)
      << run.out;
  EXPECT_NE(LineOf(run.out, first).find("\"statusName\":\"WS_STATUS_OK\""), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("4 devices: 1 ok, 3 failed"), std::string::npos) << run.err;

  // Only the first device took the new user; a line inventory reaches it too.
  TextFile lines("# the fleet\n127.0.0.1:" + std::to_string(first) + "\n127.0.0.1:" + std::to_string(taken) + " 0\n");
  ::setenv("WSCTL_USER", "admin", 1);
  ::setenv("WSCTL_PASSWORD", "admin", 1);
  Outcome check = Wsctl(first, {"fleet", lines.path(), "GetUser", "user.userID=bob"});
  ::unsetenv("WSCTL_USER");
  ::unsetenv("WSCTL_PASSWORD");
  EXPECT_EQ(check.exit, 0) << check.err;
  EXPECT_NE(LineOf(check.out, first).find("\"password\":\"secret\""), std::string::npos) << check.out;
  EXPECT_EQ(LineOf(check.out, taken).find("secret"), std::string::npos) << check.out;
}

// wsctl backup of the device at port: the document but its time line
// (whole in *document).
std::string BackupButItsTime(int port, std::string *document) {
  Outcome taken = Wsctl(port, {"backup"});
  EXPECT_EQ(taken.exit, 0) << taken.err;
  *document = taken.out;
  const size_t at = taken.out.find("\"time\"");
  return at == std::string::npos ? taken.out : taken.out.erase(at, taken.out.find('\n', at) - at);
}

// A backup, changed settings, a dry run that writes nothing, a restore, and
// a second backup equal to the first but for its time.
TEST(WsctlFleet, BackupRestoreRoundTrip) {
  Simulator sim({"--port", "0", "--no-port81"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  const int port = sim.port();
  std::string document;
  auto backup = [port, &document] { return BackupButItsTime(port, &document); };
  const std::string first = backup();
  ASSERT_NE(first.find("\"GetVideoSourceConfig\""), std::string::npos);
  ASSERT_NE(first.find("SIM-000001"), std::string::npos);
  TextFile saved(document);

  ASSERT_EQ(0, Wsctl(port, {"SetVideoSourceConfig", "channel=2", "config.contrast=7"}).exit);
  ASSERT_EQ(0, Wsctl(port, {"SetTTL", "value=9"}).exit);
  ASSERT_EQ(0, Wsctl(port, {"UpdateUser", "user.userID=user1", "user.password=other", "user.userLevel=USER_POWER"}).exit);
  ASSERT_EQ(0, Wsctl(port, {"SetIPv4", "ipv4.ipAddress=10.0.0.9", "ipv4.subNetMask=255.255.255.0", "ipv4.defaultGateway=10.0.0.1"}).exit);
  const std::string changed = backup();
  ASSERT_TRUE(changed != first);

  Outcome dry = Wsctl(port, {"restore", saved.path(), "--dry-run"});
  EXPECT_EQ(dry.exit, 0) << dry.err;
  EXPECT_NE(dry.out.find("\"action\":\"would change\",\"from\""), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("\"setting\":\"TTL\""), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("\"action\":\"would change\",\"from\":{\"password\":\"********\""), std::string::npos) << dry.out;
  EXPECT_EQ(dry.out.find("\"other\""), std::string::npos) << "a password shown: " << dry.out;
  EXPECT_NE(dry.out.find("left out (this device's own; --include IPv4"), std::string::npos) << dry.out;
  EXPECT_TRUE(backup() == changed) << "the dry run wrote";

  Outcome restore = Wsctl(port, {"restore", saved.path(), "--include", "IPv4"});
  EXPECT_EQ(restore.exit, 0) << restore.err << restore.out;
  EXPECT_TRUE(backup() == first) << "the restore left a difference";
  Outcome again = Wsctl(port, {"restore", saved.path()});
  EXPECT_EQ(again.out.find("\"changed\""), std::string::npos) << again.out;
}

// Lists written back both ways: a restore of the first backup removes what
// was added since (an allocation released before its schedule, a server
// named by a setting freed by that setting), and a restore of the second adds
// it all again (a schedule before its allocation, presets before their tour).
TEST(WsctlFleet, RestoreWritesListsInAnOrderThatWorks) {
  Simulator sim({"--port", "0", "--no-port81"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  const int port = sim.port();
  std::string document;
  auto backup = [port, &document] { return BackupButItsTime(port, &document); };
  const std::string plain = backup();
  TextFile plainFile(document);
  const std::vector<std::vector<std::string>> changes = {
      {"AddRecordingSchedule", "schedule.scheduleID=4", "schedule.repeatOption=SCHEDULE_REPEAT_DAILY"},
      {"AllocateRecordingSchedule", "channel=2", "master=false", "scheduleID=4"},
      {"AddSMTPServer", "server.alias=mail", "server.serverAddress=127.0.0.1", "server.port=25"},
      {"SetSMTPNotification", "alias=mail"},
      {"AddFTPServer", "server.alias=ftp", "server.serverAddress=127.0.0.1", "server.port=21"},
      {"AddPTZProtocol", "text=EXTRA"},
      {"SetPTZProtocol", "channel=3", "text=EXTRA"},
      {"AddPreset", "channel=1", "preset.alias=door", "preset.sequence=2"},
      {"AddPreset", "channel=1", "preset.alias=gate", "preset.sequence=1"},
      {"AddDetectionWindow", "channel=1", "window.sequence=3", "window.alias=yard", "window.size.x=9"},
      {"SetVAMode", "channel=1", "vaMode=2"},
      {"AddIPSection", "section.alias=lan", "section.fromAddress=10.0.0.1", "section.toAddress=10.0.0.9"},
      {"AddRecordingServer", "alias=nas", "serverAddress=127.0.0.1"},
      {"AddUser", "user.userID=guest"},
  };
  for (const std::vector<std::string> &change : changes) ASSERT_EQ(0, Wsctl(port, change).exit) << change[0];
  ASSERT_EQ(0, Wsctl(port, {"--json-in", "-", "SetPresetTour"},
                     R"({"channel": 1, "count": 2, "items": [{"alias": "door"}, {"alias": "gate"}]})").exit);
  const std::string changed = backup();
  TextFile changedFile(document);

  Outcome back = Wsctl(port, {"restore", plainFile.path()});
  EXPECT_EQ(back.exit, 0) << back.out << back.err;
  EXPECT_TRUE(backup() == plain) << back.out;
  // A removed preset and an updated server come back where they were.
  ASSERT_EQ(0, Wsctl(port, {"AddFTPServer", "server.alias=ftp", "server.serverAddress=127.0.0.2", "server.port=2121"}).exit);
  Outcome forth = Wsctl(port, {"restore", changedFile.path()});
  EXPECT_EQ(forth.exit, 0) << forth.out << forth.err;
  EXPECT_NE(forth.out.find("\"action\":\"changed\",\"from\":{\"alias\":\"ftp\""), std::string::npos) << forth.out;
  EXPECT_TRUE(backup() == changed) << forth.out;
  ASSERT_EQ(0, Wsctl(port, {"RemovePreset", "channel=1", "text=gate"}).exit);
  EXPECT_EQ(Wsctl(port, {"restore", changedFile.path()}).exit, 0);
  EXPECT_TRUE(backup() == changed);
}

// The user the restore signs in as is changed last: on a device that checks
// that user's password, every call after the change would be refused.
TEST(WsctlFleet, RestoreChangesTheSignedInUserLast) {
  Simulator sim({"--port", "0", "--no-port81", "--user", "admin", "--password", "admin"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  auto signedIn = [&sim](std::vector<std::string> args) {
    args.insert(args.begin(), {"--user", "admin", "--password", "admin"});
    return Wsctl(sim.port(), args);
  };
  TextFile saved(signedIn({"backup"}).out);
  ASSERT_EQ(0, signedIn({"UpdateUser", "user.userID=admin", "user.password=other", "user.userLevel=USER_ADMIN"}).exit);
  ASSERT_EQ(0, signedIn({"UpdateUser", "user.userID=user1", "user.password=other", "user.userLevel=USER_NORMAL"}).exit);
  ASSERT_EQ(0, signedIn({"SetTTL", "value=9"}).exit);
  Outcome restore = signedIn({"restore", saved.path()});
  EXPECT_EQ(restore.exit, 0) << restore.err;
  const size_t lastLine = restore.out.rfind('\n', restore.out.size() - 2);
  ASSERT_NE(lastLine, std::string::npos) << restore.out;
  EXPECT_NE(restore.out.find("\"item\":\"admin\"", lastLine), std::string::npos) << restore.out;
  EXPECT_LT(restore.out.find("\"item\":\"user1\""), restore.out.find("\"setting\":\"TTL\"")) << restore.out;
}

// --merge: a document naming part of a setting and some items of a list
// changes that part and those items, in any spelling of their values, keeps
// everything else (a named item's unnamed members too), and is then met.
TEST(WsctlFleet, RestoreMergeWritesOnlyWhatIsNamed) {
  Simulator sim({"--port", "0", "--no-port81"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  const int port = sim.port();
  TextFile wanted(R"({"format": 1, "settings": [
    {"operation": "GetUserList", "response": {"items": [{"userID": "user1", "userLevel": "USER_POWER"},
                                                        {"userID": "guest", "password": "pw", "userLevel": 2}]}},
    {"operation": "GetRecordingScheduleList", "response": {"items": [{"scheduleID": "4", "repeatOption": 1}]}},
    {"operation": "GetDateTimeConfig", "response": {"dateTimeMode": 2, "serverAddress": "ntp.test"}}]})");
  const std::string before = Wsctl(port, {"GetUserList"}).out;
  Outcome dry = Wsctl(port, {"restore", wanted.path(), "--merge", "--dry-run"});
  EXPECT_NE(dry.err.find("4 would change, 0 unchanged, 0 failed"), std::string::npos) << dry.out << dry.err;
  EXPECT_EQ(Wsctl(port, {"GetUserList"}).out, before);

  Outcome first = Wsctl(port, {"restore", wanted.path(), "--merge"});
  EXPECT_EQ(first.exit, 0) << first.out << first.err;
  EXPECT_NE(first.err.find("4 changed, 0 unchanged"), std::string::npos) << first.out << first.err;
  const std::string users = Wsctl(port, {"GetUserList"}).out;
  for (const char *kept : {"\"power2\"", "\"guest1\"", "\"password\": \"user1\""})
    EXPECT_NE(users.find(kept), std::string::npos) << kept << users;
  const std::string clock = Wsctl(port, {"GetDateTimeConfig"}).out;
  EXPECT_NE(clock.find("\"interval\": \"NTP_INTERVAL_ONE_DAY\""), std::string::npos) << clock;
  EXPECT_NE(clock.find("\"serverAddress\": \"ntp.test\""), std::string::npos) << clock;

  Outcome again = Wsctl(port, {"restore", wanted.path(), "--merge"});
  EXPECT_NE(again.err.find("0 changed, 4 unchanged"), std::string::npos) << again.out << again.err;
}

// A refused setting stops the restore, the rest reported as not applied,
// unless --keep-going.
TEST(WsctlFleet, RestoreStopsAtARefusal) {
  Simulator sim({"--port", "0", "--no-port81", "--fail", "SetTTL:fault-client"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  Outcome taken = Wsctl(sim.port(), {"backup"});
  ASSERT_EQ(taken.exit, 0) << taken.err;
  TextFile saved(taken.out);
  ASSERT_EQ(0, Wsctl(sim.port(), {"SetRTSPPort", "value=8554"}).exit);
  // This device refuses SetTTL: a backup whose TTL differs meets the refusal.
  std::string other = taken.out;
  other.replace(other.find("\"value\": 64"), 12, "\"value\": 65");
  TextFile edited(other);

  Outcome stopped = Wsctl(sim.port(), {"restore", edited.path()});
  EXPECT_EQ(stopped.exit, 1);
  EXPECT_NE(stopped.out.find("\"action\":\"refused\",\"error\":\"1 WS_STATUS_CLIENT_FAULT: SOAP fault Client"),
            std::string::npos)
      << stopped.out;
  EXPECT_NE(stopped.out.find("\"action\":\"not applied\",\"from\":{\"value\":8554},\"request\":{},\"setting\":\"RTSPPort\""),
            std::string::npos) << stopped.out;
  Outcome onward = Wsctl(sim.port(), {"restore", edited.path(), "--keep-going"});
  EXPECT_EQ(onward.exit, 1);
  EXPECT_NE(onward.out.find("\"setting\":\"RTSPPort\",\"to\":{\"value\":554}"), std::string::npos) << onward.out;
  EXPECT_NE(Wsctl(sim.port(), {"GetRTSPPort"}).out.find("554"), std::string::npos);
  // A document edited into another shape is refused as a whole.
  TextFile odd(R"({"format": 1, "settings": [{"operation": "GetUserList", "response": {"items": [1]}}]})");
  Outcome refused = Wsctl(sim.port(), {"restore", odd.path()});
  EXPECT_EQ(refused.exit, 2);
  EXPECT_NE(refused.err.find("cannot use value() with number"), std::string::npos) << refused.err;
}

// document with the first `from` after `after` replaced by `to`.
std::string Edited(std::string document, const std::string &after, const std::string &from, const std::string &to) {
  const size_t at = document.find(from, document.find(after));
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? document : document.replace(at, from.size(), to);
}

// A value the request record cannot hold is refused while planning, by the
// dry run as by the real run, and nothing is written, not even the settings
// planned before it; --keep-going writes the rest.
TEST(WsctlFleet, RestoreRefusesBadValuesBeforeWriting) {
  Simulator sim({"--port", "0", "--no-port81"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  const int port = sim.port();
  std::string document, ignored;
  BackupButItsTime(port, &document);
  ASSERT_EQ(0, Wsctl(port, {"SetTTL", "value=9"}).exit);  // a write the restore plans first
  const std::string before = BackupButItsTime(port, &ignored);
  const struct {
    const char *after, *from;
    std::string to;
    const char *error;
  } cases[] = {
      {"\"GetLanguage\"", "\"value\": 1", "\"value\": 7", "'language': 7 is not a Language symbol"},
      {"\"GetRelay\"", "\"Relay output 1\"", "\"" + std::string(300, 'r') + "\"", "'relay.name': at most 255 bytes"},
      {"\"GetRelay\"", "\"Relay output 1\"", "\"door\\u0000x\"", "NUL character"},
  };
  for (const auto &bad : cases) {
    TextFile edited(Edited(document, bad.after, bad.from, bad.to));
    for (const bool dryRun : {true, false}) {
      const char *mode = dryRun ? " (dry run)" : " (real run)";
      Outcome run = Wsctl(port, dryRun ? std::vector<std::string>{"restore", edited.path(), "--dry-run"}
                                       : std::vector<std::string>{"restore", edited.path()});
      EXPECT_NE(run.exit, 0) << bad.error << mode;
      EXPECT_NE((run.out + run.err).find(bad.error), std::string::npos) << mode << run.out << run.err;
      EXPECT_EQ(run.out.find("\"action\":\"would change\""), std::string::npos) << mode << run.out;
      EXPECT_TRUE(BackupButItsTime(port, &ignored) == before) << bad.error << mode << " wrote";
    }
  }
  TextFile language(Edited(document, "\"GetLanguage\"", "\"value\": 1", "\"value\": 7"));
  Outcome onward = Wsctl(port, {"restore", language.path(), "--keep-going"});
  EXPECT_EQ(onward.exit, 1);
  EXPECT_NE(onward.out.find("\"action\":\"changed\",\"from\":{\"value\":9}"), std::string::npos) << onward.out;
  EXPECT_NE(Wsctl(port, {"GetLanguage"}).out.find("\"value\": 1"), std::string::npos);
}

// A refusal by the device after writes of every kind (a setting, an item
// updated, added and removed) undoes them, newest first: the device ends as
// it was, and the output says what changed, what was undone and what failed.
TEST(WsctlFleet, RestoreUndoesItsWritesAfterARefusal) {
  TextFile state;
  std::remove(state.path().c_str());
  std::string document;
  const std::vector<std::vector<std::string>> changes = {
      {"SetTTL", "value=9"},
      {"UpdateUser", "user.userID=user1", "user.password=other", "user.userLevel=USER_POWER"},
      {"RemoveUser", "user.userID=user2"},
      {"AddUser", "user.userID=guest"},
      {"AddPreset", "channel=1", "preset.alias=door", "preset.sequence=2"},
      {"AddPTZProtocol", "text=EXTRA"},  // its removal is refused below
  };
  {
    Simulator sim({"--port", "0", "--no-port81", "--state", state.path()});
    ASSERT_TRUE(sim.ready()) << sim.line();
    BackupButItsTime(sim.port(), &document);
    for (const std::vector<std::string> &change : changes) ASSERT_EQ(0, Wsctl(sim.port(), change).exit) << change[0];
    ASSERT_EQ(0, sim.Stop());
  }
  TextFile saved(document);
  Simulator sim({"--port", "0", "--no-port81", "--state", state.path(), "--fail", "RemovePTZProtocol:fault-client"});
  ASSERT_TRUE(sim.ready()) << sim.line();
  std::string ignored;
  const std::string before = BackupButItsTime(sim.port(), &ignored);

  Outcome restore = Wsctl(sim.port(), {"restore", saved.path()});
  EXPECT_EQ(restore.exit, 1);
  EXPECT_TRUE(BackupButItsTime(sim.port(), &ignored) == before) << restore.out;
  const size_t refused =
      restore.out.find("\"action\":\"refused\",\"error\":\"1 WS_STATUS_CLIENT_FAULT: SOAP fault Client");
  ASSERT_NE(refused, std::string::npos) << restore.out;
  // Each write before the refusal, and its undoing after it: the action, then the rest of its line.
  const std::pair<const char *, const char *> writes[] = {{"changed", ",\"from\":{\"value\":9}"},
                                                          {"changed", ",\"from\":{\"password\":\"********\""},
                                                          {"added", ",\"item\":\"user2\""},
                                                          {"removed", ",\"item\":\"door\""}};
  for (const auto &[action, rest] : writes) {
    EXPECT_LT(restore.out.find("\"action\":\"" + std::string(action) + "\"" + rest), refused) << rest << restore.out;
    EXPECT_NE(restore.out.find("\"action\":\"undone\"" + std::string(rest), refused), std::string::npos) << rest;
  }
  EXPECT_NE(restore.out.find("\"action\":\"not applied\",\"item\":\"guest\""), std::string::npos) << restore.out;
  EXPECT_NE(restore.err.find("4 changed, 4 undone,"), std::string::npos) << restore.err;
}

// Settings changed in every service on the second device of a fleet survive
// a restart through --state: its backup, and the settings a backup does not
// read, are the same after the restart, its clock runs on from the time set,
// and the first device keeps its own settings.
// A file that lacks a section leaves it as seeded; a setting of the wrong
// kind makes the file refused, naming the setting.
TEST(WsctlFleet, StateSurvivesRestart) {
  TextFile state;
  std::remove(state.path().c_str());
  // wsctl arguments, then the request as JSON when it holds a list.
  const std::vector<std::pair<std::vector<std::string>, std::string>> changes = {
      {{"AddUser", "user.userID=kept"}, ""},
      {{"SetVideoSourceConfig", "channel=3", "config.contrast=11"}, ""},
      {{"SetDateTimeConfig", "config.serverAddress=pool.ntp.org", "config.interval=1", "config.year=2011",
        "config.month=3", "config.day=4", "config.hour=5"}, ""},
      {{"AddRecordingServer", "enable=true", "alias=nas-kept", "serverAddress=127.0.0.1", "capacity=10"}, ""},
      {{"AddIPSection", "section.alias=lab-net", "section.fromAddress=10.0.0.1", "section.toAddress=10.0.0.9"}, ""},
      {{"SetRTPConfig", "channel=2", "master=false", "config.videoRTPPort=7000", "config.audioRTPPort=7002",
        "config.vaRTPPort=7004", "config.enableMulticast=true", "config.multicastIP=239.1.1.7"}, ""},
      {{"SetWebProtocol", "protocol.enableHTTPS=true", "protocol.port=8443"}, ""},
      {{"AddRecordingSchedule", "schedule.scheduleID=7", "schedule.preAlarm=3"}, ""},
      {{"AllocateRecordingSchedule", "channel=2", "master=true", "scheduleID=7"}, ""},
      {{"AddFTPServer", "server.alias=ftp-kept", "server.serverAddress=127.0.0.1", "server.port=2121"}, ""},
      {{"SetRelay", "relay.relayChannel=3", "relay.controlDuration=9", "relay.name=door-relay"}, ""},
      {{"SetTemperatureThreshold", "device=1", "temperature=60"}, ""},
      {{"AddPreset", "channel=2", "preset.alias=gate", "preset.sequence=3"}, ""},
      {{"--json-in", "-", "SetPresetTour"}, R"({"channel": 2, "count": 1, "items": [{"alias": "gate", "sequence": 3}]})"},
      {{"SetPTZPort", "channel=2", "port.baudRate=19200", "port.dataBit=8", "port.parity=0", "port.stopBit=1"}, ""},
      {{"SetVAMode", "channel=2", "vaMode=1"}, ""},
      {{"AddDetectionWindow", "channel=2", "window.sequence=1", "window.alias=door-window", "window.threshold=5"}, ""},
      {{"--json-in", "-", "SetROIParam"},
       R"({"channel": 2, "count": 2, "items": [{"key": "roiEnable", "value": "1"}, {"key": "roiQuality", "value": "70"}]})"},
      {{"SetVAObjectClassificationParam", "channel=2", "param.classMode=1", "param.classMinObjectSize.width=12",
        "param.classMinObjectSize.height=12", "param.classMinObjectSize.pixel=144"}, ""},
      {{"SetLanguage", "language=LANGUAGE_KOREAN"}, ""}};
  // What the backup shows of the changes.
  const char *const shown[] = {"\"kept\"", "\"contrast\": 11", "nas-kept", "lab-net", "239.1.1.7", "8443",
                               "\"preAlarm\": 3", "ftp-kept", "door-relay", "\"gate\"", "19200", "door-window",
                               "\"value\": \"70\""};
  auto settings = [](int port) {
    std::string document, text = BackupButItsTime(port, &document);
    const size_t at = text.find("\"device\"");  // the port, which differs per start
    return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
  };

  std::string changed, untouched;
  {
    Simulator sim({"--port", "0", "--no-port81", "--devices", "2", "--state", state.path()});
    ASSERT_TRUE(sim.ready()) << sim.line();
    for (const auto &change : changes) {
      const Outcome done = Wsctl(sim.port() + 1, change.first, change.second);
      ASSERT_EQ(done.exit, 0) << change.first.back() << done.out << done.err;
    }
    untouched = settings(sim.port());
    changed = settings(sim.port() + 1);
    for (const char *setting : shown) {
      EXPECT_NE(changed.find(setting), std::string::npos) << setting;
      EXPECT_EQ(untouched.find(setting), std::string::npos) << setting;
    }
    EXPECT_EQ(0, sim.Stop());
  }
  {
    Simulator sim({"--port", "0", "--no-port81", "--devices", "2", "--state", state.path()});
    ASSERT_TRUE(sim.ready()) << sim.line();
    EXPECT_TRUE(settings(sim.port() + 1) == changed) << "a setting was not kept";
    EXPECT_TRUE(settings(sim.port()) == untouched) << "the first device changed";
    EXPECT_NE(Wsctl(sim.port() + 1, {"GetDeviceInformation"}).out.find("SIM-000002"), std::string::npos);
    EXPECT_NE(Wsctl(sim.port() + 1, {"GetDateTimeConfig"}).out.find("\"year\": 2011"), std::string::npos);
  }

  // A file without the PTZ section: the presets are as seeded, the rest kept.
  const std::string saved = Slurp(state.path());
  std::string older = saved;
  for (size_t at; (at = older.find("\"ptz\":")) != std::string::npos;) older.replace(at, 6, "\"old\":");
  TextFile olderFile(older);
  {
    Simulator sim({"--port", "0", "--no-port81", "--devices", "2", "--state", olderFile.path()});
    ASSERT_TRUE(sim.ready()) << sim.line();
    EXPECT_EQ(Wsctl(sim.port() + 1, {"GetPresetList", "channel=2"}).out.find("gate"), std::string::npos);
    EXPECT_NE(Wsctl(sim.port() + 1, {"GetFTPServerList"}).out.find("ftp-kept"), std::string::npos);
  }

  std::string wrong = saved;
  const size_t duration = wrong.find("\"controlDuration\": 9");
  ASSERT_NE(duration, std::string::npos);
  wrong.replace(duration, 20, "\"controlDuration\": \"9\"");
  TextFile wrongFile(wrong), log;
  Simulator refused({"--port", "0", "--no-port81", "--devices", "2", "--state", wrongFile.path()}, log.path());
  EXPECT_FALSE(refused.ready());
  EXPECT_EQ(1, refused.Stop());
  EXPECT_NE(Slurp(log.path()).find("device 2: eventSchedule.relays.controlDuration: "), std::string::npos)
      << Slurp(log.path());
}

}  // namespace

// Input that would crash wsctl, be cut or wrap: each refused with exit code 2
// and its reason before anything reaches the device, the password unshown.
TEST(WsctlHostileInput, RefusedBeforeAnythingIsSent) {
  FakeDevice device;
  ASSERT_TRUE(device.ok());
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  TextFile deepFile(deep), fleet("127.0.0.1:" + std::to_string(device.port()) + "\n");
  TextFile wrongPort(R"([{"host": "127.0.0.1", "port": "80", "user": "admin", "password": "secret"}])");
  TextFile wrapping(R"([{"host": "127.0.0.1", "port": 4294967376, "password": "secret"}])");
  TextFile foreignHost("[{\"host\": \"127.0.0.\xff\", \"password\": \"secret\"}]");
  TextFile foreignLine("127.0.0.\xff:" + std::to_string(device.port()) + "\n");
  const struct {
    std::vector<std::string> args;
    std::string input, error;
  } cases[] = {
      {{"--json-in", "-", "SetTTL"}, R"({"value": 1e400})", "SetTTL: --json-in -: a number is out of range"},
      {{"--json-in", "-", "RemoveUser"}, deep, "nests deeper than 64 levels"},
      {{"--json-in", "-", "RemoveUser"}, R"({"user": {"userID": "user1\u0000x"}})", "holds a NUL character"},
      {{"--json-in", "-", "fleet", fleet.path(), "SetTTL"}, R"({"value": 1e400})", "--json-in -: a number is out of range"},
      {{"restore", deepFile.path()}, "", deepFile.path() + ": the JSON nests deeper than 64 levels"},
      {{"fleet", deepFile.path(), "GetTTL"}, "", "the inventory: the JSON nests deeper"},
      {{"fleet", wrongPort.path(), "GetTTL"}, "", "inventory entry 1 of 1 (host 127.0.0.1): port: not a number"},
      {{"fleet", wrapping.path(), "GetTTL"}, "", "port: out of range (1 to 65535)"},
      {{"fleet", foreignHost.path(), "GetTTL"}, "", "the inventory: the JSON does not parse"},
      {{"fleet", foreignLine.path(), "GetTTL"}, "", "inventory line 1: the host is not UTF-8"},
  };
  for (const auto &c : cases) {
    std::vector<std::string> args = {"--user", "admin", "--password", "secret"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome run = Wsctl(device.port(), args, c.input);
    EXPECT_EQ(run.exit, 2) << c.error << "\n" << run.err;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    EXPECT_EQ((run.out + run.err).find("secret"), std::string::npos) << run.out << run.err;
  }
  EXPECT_TRUE(device.Requests().empty());
}

// The simulator against slow and hostile clients: raw HTTP over loopback,
// each read bounded by a deadline of its own.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "simulator.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

const char kAdminCredentials[] = "YWRtaW46YWRtaW4=";  // admin:admin

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) return fd;
  ::close(fd);
  return -1;
}

// Everything the peer sends until it closes or the deadline passes.
std::string ReadUntilClosed(int fd, std::chrono::steady_clock::time_point deadline, bool *closed = nullptr) {
  std::string answer;
  char buffer[65536];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
      if (closed) *closed = true;
      break;
    }
    answer.append(buffer, static_cast<size_t>(got));
  }
  return answer;
}

// Sends request on a new connection and returns the answer read within seconds.
std::string Exchange(int port, const std::string &request, double seconds = 2) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  const int fd = Connect(port);
  if (fd < 0) return "";
  std::string answer;
  if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size()))
    answer = ReadUntilClosed(fd, std::chrono::time_point_cast<std::chrono::steady_clock::duration>(deadline));
  ::close(fd);
  return answer;
}

std::string Post(const std::string &body, const std::string &headers = "",
                 const std::string &credentials = kAdminCredentials) {
  return "POST /soap HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/xml; charset=utf-8\r\n"
         "Authorization: Basic " + credentials + "\r\n" + headers +
         "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

std::string Operation(const std::string &op, const std::string &inner = "") {
  return Envelope("<" + op + " xmlns=\"" WS_TEST_BASE_NAMESPACE "\">" + inner + "</" + op + ">");
}

std::string UserElement(const std::string &id, const std::string &password) {
  return "<user><userID>" + id + "</userID><password>" + password + "</password><userLevel>USER_NORMAL</userLevel></user>";
}

// The resultCode of an answer, or -1 when it has none.
int ResultCode(const std::string &answer) {
  const size_t at = answer.find("resultCode>");
  return at == std::string::npos ? -1 : std::atoi(answer.c_str() + at + 11);
}

class Hardened : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sim.ready()) << "no ready line from " WS_SIM_PATH ": '" << sim.line() << "'"; }
  void TearDown() override { EXPECT_EQ(0, sim.Stop()) << "the simulator did not stop cleanly"; }
  Simulator sim{{"--port", "0", "--no-port81", "--user", "admin", "--password", "admin"}};
};

// 250 idle and 50 trickling connections (more than the workers, never a
// complete head): a good client is still answered at once, and the
// simulator drops the slow ones once their head deadline has passed.
TEST_F(Hardened, SlowClientsDoNotStallIt) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<int> idle, trickling;
  for (int i = 0; i < 250; ++i) idle.push_back(Connect(sim.port()));
  for (int i = 0; i < 50; ++i) trickling.push_back(Connect(sim.port()));
  std::atomic<bool> stop{false};
  std::thread trickle([&] {
    const std::string head = Post(Operation("GetUserCount"));
    for (size_t at = 0; !stop && at < head.size(); ++at) {
      for (int fd : trickling) ::send(fd, &head[at], 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  const std::string request = Post(Operation("GetUserCount"));
  for (int i = 0; i < 5; ++i) {
    Stopwatch watch;
    const std::string answer = Exchange(sim.port(), request, 1.5);
    EXPECT_EQ(0u, answer.find("HTTP/1.1 200 ")) << "call " << i << ": " << answer.substr(0, 100);
    EXPECT_LT(watch.Seconds(), 1.0) << "call " << i;
  }
  // The head deadline (3 s) ends every slow connection; a trickler may see a 408 first.
  int open = 0;
  for (int fd : idle) {
    bool closed = false;
    ReadUntilClosed(fd, start + std::chrono::seconds(5), &closed);
    open += !closed;
  }
  for (int fd : trickling) {
    bool closed = false;
    const std::string answer = ReadUntilClosed(fd, start + std::chrono::seconds(5), &closed);
    open += !closed;
    EXPECT_TRUE(answer.empty() || answer.find("HTTP/1.1 408 ") == 0) << answer.substr(0, 100);
  }
  stop = true;
  trickle.join();
  EXPECT_EQ(0, open) << "slow connections still open 5 s after they connected";
  for (int fd : idle) ::close(fd);
  for (int fd : trickling) ::close(fd);
}

// Bodies the simulator could not bound are refused from the head alone,
// before any body byte is sent: a compressed body, a length over the cap, a
// chunked body and a head that never ends.
TEST_F(Hardened, RefusesUnboundedRequestsFromTheHead) {
  const std::string body = Operation("GetUserCount");
  auto headOnly = [&](const std::string &headers, size_t length) {
    std::string request = Post(body, headers);
    request.resize(request.find("\r\n\r\n") + 4);
    const size_t at = request.find("Content-Length: ");
    request.replace(at, request.find("\r\n", at) - at, "Content-Length: " + std::to_string(length));
    return Exchange(sim.port(), request);
  };
  EXPECT_EQ(0u, headOnly("Content-Encoding: gzip\r\n", 1000000).find("HTTP/1.1 415 "));
  EXPECT_EQ(0u, headOnly("", 200000000).find("HTTP/1.1 413 "));
  EXPECT_EQ(0u, headOnly("", (1 << 20) + 1).find("HTTP/1.1 413 "));
  std::string chunked = Post("", "Transfer-Encoding: chunked\r\n");
  chunked.erase(chunked.find("Content-Length: 0\r\n"), 19);
  EXPECT_EQ(0u, Exchange(sim.port(), chunked + "100000\r\n").find("HTTP/1.1 411 "));
  const std::string endless = "POST /soap HTTP/1.1\r\n" + std::string(100000, 'X');
  EXPECT_EQ(0u, Exchange(sim.port(), endless).find("HTTP/1.1 431 "));
  // An identity encoding is an ordinary request; a client that waits for a
  // 100 before sending its body gets it at once.
  EXPECT_EQ(0u, Exchange(sim.port(), Post(body, "Content-Encoding: identity\r\n")).find("HTTP/1.1 200 "));
  const std::string expecting = Post(body, "Expect: 100-continue\r\n");
  const size_t headLength = expecting.find("\r\n\r\n") + 4;
  const int fd = Connect(sim.port());
  ASSERT_EQ(static_cast<ssize_t>(headLength), ::send(fd, expecting.data(), headLength, MSG_NOSIGNAL));
  pollfd ready{fd, POLLIN, 0};
  char interim[64] = "";
  ASSERT_EQ(1, ::poll(&ready, 1, 500)) << "no 100 Continue";
  EXPECT_EQ(25, ::recv(fd, interim, sizeof interim, 0));
  EXPECT_STREQ("HTTP/1.1 100 Continue\r\n\r\n", interim);
  ::send(fd, expecting.data() + headLength, expecting.size() - headLength, MSG_NOSIGNAL);
  EXPECT_EQ(0u, ReadUntilClosed(fd, std::chrono::steady_clock::now() + std::chrono::seconds(2)).find("HTTP/1.1 200 "));
  ::close(fd);
}

// Texts longer than the record fields that carry them (99 characters and a
// terminating zero) are refused with resultCode 7 and change nothing.
TEST_F(Hardened, RefusesOverlongTexts) {
  const std::string longest(99, 'u'), tooLong(100, 'u'), huge(200000, 'u');
  auto call = [&](const std::string &op, const std::string &inner) {
    return Exchange(sim.port(), Post(Operation(op, inner)));
  };
  std::string answer = call("AddUser", UserElement(longest, "pw"));
  EXPECT_EQ(0, ResultCode(answer)) << answer;
  for (const std::string &id : {tooLong, huge}) {
    answer = call("AddUser", UserElement(id, "pw"));
    EXPECT_EQ(7, ResultCode(answer)) << answer.substr(0, 300);
    EXPECT_NE(std::string::npos, answer.find("AddUserResult>false<"));
  }
  EXPECT_EQ(7, ResultCode(call("AddUser", UserElement("shortname", tooLong))));
  EXPECT_EQ(7, ResultCode(call("UpdateUser", UserElement("user1", tooLong))));
  EXPECT_EQ(7, ResultCode(call("GetUser", "<userID>" + tooLong + "</userID>")));

  ConnectionInfo conn{0, 0, sim.port(), ENDPOINT_KIND_SOAP_PATH};
  UserListRecord list{0, nullptr, -1};
  ASSERT_EQ(0, DLL_WebServiceGetUserList("127.0.0.1", "admin", "admin", &kAnyRequest, &list, &conn));
  EXPECT_EQ(8, list.count);  // the seven seeded users and the 99-character one
  bool found = false;
  for (int i = 0; i < list.count; ++i) found |= list.items[i].userID == longest;
  EXPECT_TRUE(found);
  UserResponseRecord user{};
  UserRequestRecord request{};
  std::snprintf(request.user.userID, sizeof request.user.userID, "user1");
  ASSERT_EQ(0, DLL_WebServiceGetUser("127.0.0.1", "admin", "admin", &request, &user, &conn));
  EXPECT_STREQ("user1", user.password);  // the refused update left it
  WebService_FreeItems(list.items);
}

// The whole credential is compared: a password with a zero byte and more
// after it, a prefix or a longer user name are all refused.
TEST_F(Hardened, CredentialsCompareWhole) {
  const std::string body = Operation("GetUserCount");
  EXPECT_EQ(0u, Exchange(sim.port(), Post(body)).find("HTTP/1.1 200 "));
  for (const char *credentials : {"YWRtaW46YWRtaW4AZXZpbA==" /* admin:admin\0evil */, "YWRtaW46YWRtaQ==" /* admin:admi */,
                                  "YWRtaW4AeDphZG1pbg==" /* admin\0x:admin */, "YWRtaW46" /* admin: */, "!!!!",
                                  "YWRtaW5hZG1pbg==" /* adminadmin */})
    EXPECT_EQ(0u, Exchange(sim.port(), Post(body, "", credentials)).find("HTTP/1.1 401 ")) << credentials;
}

// The --verbose log shows control bytes of a request escaped, never raw.
TEST(SimHardeningLog, EscapesControlBytes) {
  const std::string log = "/tmp/ws-sim-hardening-log-" + std::to_string(::getpid());
  {
    Simulator sim({"--port", "0", "--no-port81", "--verbose", "--user", "admin", "--password", "other"}, log);
    ASSERT_TRUE(sim.ready()) << sim.line();
    // Refused before the body names the operation: the log names it from the action.
    const std::string action = "SOAPAction: \"urn:x/\x1b]0;owned\x07\x1b[2JGet\x7fUserCount\"\r\n";
    EXPECT_EQ(0u, Exchange(sim.port(), Post(Operation("GetUserCount"), action)).find("HTTP/1.1 401 "));
    const std::string path = "POST /soap\x1b[2J " + Post(Operation("GetUserCount")).substr(11);
    EXPECT_EQ(0u, Exchange(sim.port(), path).find("HTTP/1.1 404 "));
    EXPECT_EQ(0, sim.Stop());
  }
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ::unlink(log.c_str());
  EXPECT_NE(std::string::npos, text.find("\\x1b[2JGet\\x7fUserCount")) << text;
  EXPECT_NE(std::string::npos, text.find("/soap\\x1b[2J")) << text;
  for (char c : text) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << "raw byte " << int(c) << " in " << text;
}

// A body that is not well-formed XML gets a SOAP 1.1 Client fault with
// HTTP 500, an Envelope of another namespace a VersionMismatch fault; XML
// that is well-formed in less common ways is served as before.
TEST_F(Hardened, AnswersMalformedBodiesWithAFault) {
  const std::string user = UserElement("u1", "pw");
  const std::string whole = Post(Operation("AddUser", user));
  const struct {
    const char *name;
    std::string body;
    const char *faultcode;  // null: served
  } cases[] = {
      {"mismatched end tag", Operation("AddUser", "<user><userID>u1</userId></user>"), "Client"},
      {"mismatched envelope end", Operation("GetUserCount").substr(0, Operation("GetUserCount").size() - 11) +
                                      "Envelop>", "Client"},
      {"truncated body", Operation("AddUser", user).substr(0, Operation("AddUser", user).find("<password>")), "Client"},
      {"cut inside a tag", Operation("AddUser", user).substr(0, Operation("AddUser", user).size() - 5), "Client"},
      {"stray < in a text", Operation("AddUser", UserElement("a<b", "pw")), "Client"},
      {"stray < before a blank", Operation("AddUser", UserElement("a < b", "pw")), "Client"},
      {"second root", Operation("GetUserCount") + "<x/>", "Client"},
      {"other envelope namespace",
       "<e:Envelope xmlns:e=\"urn:not-soap\"><e:Body><GetUserCount xmlns=\"" WS_TEST_BASE_NAMESPACE
       "\"/></e:Body></e:Envelope>", "VersionMismatch"},
      {"byte order mark, comment, character data, '>' in a value, empty element",
       "\xEF\xBB\xBF" + Operation("AddUser", "<!-- a > b --><user note=\"a>b\"><userID><![CDATA[u2]]></userID><password>pw"
                            "</password><userLevel>USER_NORMAL</userLevel><extra/></user>"), nullptr},
  };
  for (const auto &c : cases) {
    const std::string answer = Exchange(sim.port(), Post(c.body));
    if (!c.faultcode) {
      EXPECT_EQ(0u, answer.find("HTTP/1.1 200 ")) << c.name << ": " << answer.substr(0, 400);
      continue;
    }
    EXPECT_EQ(0u, answer.find("HTTP/1.1 500 ")) << c.name << ": " << answer.substr(0, 100);
    EXPECT_NE(std::string::npos, answer.find("xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\""))
        << c.name;
    EXPECT_NE(std::string::npos, answer.find(std::string("<faultcode>SOAP-ENV:") + c.faultcode + "</faultcode>"))
        << c.name << ": " << answer.substr(0, 1000);
  }
  EXPECT_EQ(0u, Exchange(sim.port(), whole).find("HTTP/1.1 200 "));
}

// A scratch folder for one test, removed with what it holds.
class Folder {
 public:
  Folder() : path_("/tmp/ws-sim-state-" + std::to_string(::getpid())) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directory(path_);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

// A state file as one device saves it, read back.
nlohmann::json SavedState(const Folder &folder) {
  const std::string path = folder / "seed.json";
  Simulator sim({"--port", "0", "--no-port81", "--state", path});
  EXPECT_TRUE(sim.ready()) << sim.line();
  EXPECT_EQ(0, sim.Stop());
  return nlohmann::json::parse(Slurp(path));
}

// The save goes through a new file of its own: a link planted at a name
// beside the state file is never written through, and the state file is
// its owner's only.  Devices the run does not serve keep their entries.
TEST(SimStateFile, SavesSafelyAndKeepsDevicesNotServed) {
  Folder folder;
  nlohmann::json state = SavedState(folder);
  const nlohmann::json device = state["devices"][0];
  for (int i = 1; i < 64; ++i) {
    state["devices"].push_back(device);
    state["devices"][i]["network"]["ttl"] = i + 1;
  }
  const std::string path = folder / "state.json";
  Write(path, state.dump());
  Write(folder / "victim", "untouched");
  ASSERT_EQ(0, ::symlink((folder / "victim").c_str(), (path + ".tmp").c_str()));
  {
    Simulator sim({"--port", "0", "--no-port81", "--devices", "1", "--state", path});
    ASSERT_TRUE(sim.ready()) << sim.line();
    EXPECT_EQ(0, sim.Stop());
  }
  EXPECT_TRUE(Slurp(folder / "victim") == "untouched") << "written through the link";
  struct stat saved {};
  ASSERT_EQ(0, ::stat(path.c_str(), &saved));
  EXPECT_EQ(0600u, saved.st_mode & 0777);
  const nlohmann::json after = nlohmann::json::parse(Slurp(path));
  ASSERT_EQ(64u, after["devices"].size());
  for (size_t i = 1; i < 64; ++i) EXPECT_EQ(state["devices"][i], after["devices"][i]) << "device " << i + 1;
}

// A value its field cannot hold whole is refused at start, naming the
// setting: numbers out of the field's range or not whole, flags that are not
// true or false, over-long texts.
TEST(SimStateFile, RefusesValuesTheirFieldCannotHold) {
  Folder folder;
  const nlohmann::json state = SavedState(folder);
  const struct {
    const char *pointer, *setting;
    nlohmann::json value;
  } cases[] = {
      {"/eventSchedule/relays/0/controlDuration", "eventSchedule.relays.controlDuration", 1e300},
      {"/eventSchedule/relays/0/controlDuration", "eventSchedule.relays.controlDuration", 4294967296u},
      {"/eventSchedule/relays/0/controlDuration", "eventSchedule.relays.controlDuration", -2147483649LL},
      {"/eventSchedule/relays/0/controlDuration", "eventSchedule.relays.controlDuration", 1.5},
      {"/network/ttl", "network.ttl", 18446744073709551615u},
      {"/clock/clockOffsetSeconds", "clock.clockOffsetSeconds", 1e19},
      {"/eventSchedule/recordingSchedules", "eventSchedule.recordingSchedules.timeTable",
       nlohmann::json::parse(R"([{"timeTable": [0, 1e10]}])")},
      {"/network/rtp", "network.rtp", nlohmann::json::parse(R"([[[1, 2], {}]])")},
      {"/channels/0/audio/enableAudioIn", "channels.0.audio.enableAudioIn", 1},
      {"/channels/0/master/hasResolution", "channels.0.master.hasResolution", "true"},
      {"/users/0/id", "users.id", std::string(5000, 'u')},
  };
  for (const auto &c : cases) {
    nlohmann::json wrong = state;
    wrong["devices"][0][nlohmann::json::json_pointer(c.pointer)] = c.value;
    const std::string path = folder / "wrong.json", log = folder / "log";
    Write(path, wrong.dump());
    Simulator sim({"--port", "0", "--no-port81", "--state", path}, log);
    EXPECT_FALSE(sim.ready()) << c.pointer << " = " << c.value.dump().substr(0, 40);
    EXPECT_EQ(1, sim.Stop());
    EXPECT_NE(std::string::npos, Slurp(log).find(std::string("device 1: ") + c.setting + ": "))
        << c.pointer << ": " << Slurp(log);
  }
}

}  // namespace

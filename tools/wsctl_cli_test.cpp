// wsctl as a user runs it: against the simulator, the scripted fake device
// and a closed port, checking what it prints and its exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
  EXPECT_NE(fault.err.find("SOAP fault Client: Simulated client fault"), std::string::npos) << fault.err;

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
  EXPECT_NE(unreachable.err.find("the device at http://127.0.0.1:" + std::to_string(closed.port()) +
                                 "/soap cannot be reached"),
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

}  // namespace

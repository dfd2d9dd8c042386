// HTTPS and the transport's decisions against the simulator: certificates
// of another host, expired ones, unknown authorities, the resolve callback,
// refused credentials, and no descriptor kept after a call.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fake_device.h"
#include "simulator.h"
#include "test_support.h"
#include "webservice/WebService.h"

namespace {

std::string gDir;

void Run(const std::string &command) {
  ASSERT_EQ(0, std::system(("cd " + gDir + " && " + command + " >/dev/null 2>&1").c_str())) << command;
}

// A certificate authority, and device certificates: one signed by it for
// another host name, one signed by it but expired, one self-signed.
void MakeCertificates() {
  char dir[] = "/tmp/ws-tls-XXXXXX";
  ASSERT_NE(nullptr, ::mkdtemp(dir));
  gDir = dir;
  const std::string key = "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
  Run(key + "-x509 -days 30 -keyout ca.key -out ca.pem -subj /CN=WebService-Test-CA");
  Run(key + "-keyout host.key -out host.csr -subj /CN=otherhost.example");
  Run("openssl x509 -req -in host.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 -out host.pem");
  Run(key + "-keyout old.key -out old.csr -subj /CN=old.example");
  std::ofstream(gDir + "/ca.cnf") << "[ca]\ndefault_ca=d\n[d]\ndatabase=index.txt\nnew_certs_dir=.\n"
                                    "serial=serial\ndefault_md=sha256\npolicy=p\n[p]\ncommonName=supplied\n";
  std::ofstream(gDir + "/serial") << "01\n";
  std::ofstream(gDir + "/index.txt");
  Run("openssl ca -batch -config ca.cnf -cert ca.pem -keyfile ca.key -in old.csr -out old.pem "
      "-startdate 20200101000000Z -enddate 20210101000000Z");
  Run(key + "-x509 -days 30 -keyout rogue.key -out rogue.pem -subj /CN=rogue.example");
}

struct Decision {
  std::vector<int> errors;
  std::string url;
  int answer = WS_RESOLVE_RETRY;
  int retries = 1000;  // how many times to answer `answer` before saying no
};

int Decide(int error, const char *url, void *context) {
  auto *d = static_cast<Decision *>(context);
  d->errors.push_back(error);
  d->url = url;
  return d->retries-- > 0 ? d->answer : WS_RESOLVE_NO_RETRY;
}

class Tls : public ::testing::Test {
 protected:
  void SetUp() override {
    // Made once, on the first test; a failure fails every test.
    static bool made = [] {
      MakeCertificates();
      return !::testing::Test::HasFatalFailure() && WebService_SetCAFile((gDir + "/ca.pem").c_str()) == 0 &&
             WebService_SetCAFile((gDir + "/missing.pem").c_str()) == -1;
    }();
    ASSERT_TRUE(made) << "the test certificates could not be made or loaded";
  }
  static void TearDownTestSuite() { std::system(("rm -rf " + gDir).c_str()); }
  void TearDown() override { WebService_SetResolveCallback(nullptr, nullptr); }

  std::unique_ptr<Simulator> Start(const std::string &name, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--port", "0", "--no-port81", "--tls-cert", gDir + "/" + name + ".pem",
                                     "--tls-key", gDir + "/" + name + ".key"};
    args.insert(args.end(), extra.begin(), extra.end());
    auto sim = std::make_unique<Simulator>(args);
    EXPECT_TRUE(sim->ready()) << sim->line();
    return sim;
  }

  int Count(const Simulator &sim, const char *user = "admin", const char *password = "admin") {
    ConnectionInfo conn = {0, 1, sim.port(), ENDPOINT_KIND_SOAP_PATH};
    IntValueRecord count = {-1, -1};
    int status = DLL_WebServiceGetUserCount("127.0.0.1", user, password, &count, &count, &conn);
    if (status == 0) {
      EXPECT_EQ(7, count.value);
    }
    return status;
  }
};

TEST_F(Tls, CertificateOfAnotherHostSignedByTrustedAuthorityIsAccepted) {
  auto sim = Start("host");
  Decision decision;
  WebService_SetResolveCallback(Decide, &decision);
  EXPECT_EQ(0, Count(*sim));
  EXPECT_TRUE(decision.errors.empty());
}

TEST_F(Tls, PlainHttpToTlsPortFails) {
  auto sim = Start("host");
  ConnectionInfo conn = {0, 0, sim->port(), ENDPOINT_KIND_SOAP_PATH};
  IntValueRecord count = {-1, -1};
  EXPECT_NE(0, DLL_WebServiceGetUserCount("127.0.0.1", "admin", "admin", &count, &count, &conn));
  EXPECT_EQ(-1, count.value);
}

// Expired and unknown-authority certificates: refused without a callback,
// accepted for exactly the retried request when the callback says retry.
TEST_F(Tls, RefusedCertificatesNeedTheCallback) {
  struct Case {
    const char *name;
    int error;
  } cases[] = {{"old", WS_ERROR_SEC_CERT_DATE_INVALID}, {"rogue", WS_ERROR_INVALID_CA}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    auto sim = Start(c.name);
    EXPECT_EQ(29, Count(*sim));

    Decision decision;
    WebService_SetResolveCallback(Decide, &decision);
    EXPECT_EQ(0, Count(*sim));
    ASSERT_EQ(1u, decision.errors.size());
    EXPECT_EQ(c.error, decision.errors[0]);
    EXPECT_EQ("https://127.0.0.1:" + std::to_string(sim->port()) + "/soap", decision.url);

    decision.answer = WS_RESOLVE_NO_RETRY;
    EXPECT_EQ(29, Count(*sim));  // the earlier acceptance does not carry over
    decision.answer = WS_RESOLVE_ASK;
    EXPECT_EQ(29, Count(*sim));
    WebService_SetResolveCallback(nullptr, nullptr);
  }
}

TEST_F(Tls, RefusedCredentialsGoThroughTheDecision) {
  auto sim = Start("host", {"--user", "admin", "--password", "admin"});
  EXPECT_EQ(-1, Count(*sim, "admin", "wrong"));  // 401 with an empty body

  Decision decision;
  decision.retries = 2;
  WebService_SetResolveCallback(Decide, &decision);
  EXPECT_EQ(-1, Count(*sim, "admin", "wrong"));
  EXPECT_EQ((std::vector<int>{WS_ERROR_INCORRECT_PASSWORD, WS_ERROR_INCORRECT_PASSWORD,
                              WS_ERROR_INCORRECT_PASSWORD}),
            decision.errors);
  EXPECT_EQ(0, Count(*sim));
}

int OpenDescriptors() {
  int count = 0;
  if (DIR *dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir)) ++count;
    ::closedir(dir);
  }
  return count;
}

TEST_F(Tls, NoDescriptorOutlivesACall) {
  auto good = Start("host");
  auto rogue = Start("rogue");
  Count(*good);  // the trust store is loaded once, on first use
  int before = OpenDescriptors();
  for (int i = 0; i < 500; ++i) {
    ASSERT_EQ(0, Count(*good));
    ASSERT_EQ(29, Count(*rogue));
  }
  EXPECT_EQ(before, OpenDescriptors());
}

// Withdrawn or replaced trust takes effect on the next call, although the
// device would let the client resume its earlier session.
TEST_F(Tls, TrustChangesEndResumedSessions) {
  auto sim = Start("host");
  const std::string ca = gDir + "/ca.pem", other = gDir + "/rogue.pem";
  ASSERT_EQ(0, Count(*sim));
  ASSERT_EQ(0, Count(*sim));  // resumes the session of the first call
  ASSERT_EQ(0, WebService_SetCAFile(nullptr));
  EXPECT_EQ(29, Count(*sim)) << "trust withdrawn";
  ASSERT_EQ(0, WebService_SetCAFile(ca.c_str()));
  EXPECT_EQ(0, Count(*sim));
  ASSERT_EQ(0, WebService_SetCAFile(other.c_str()));
  EXPECT_EQ(29, Count(*sim)) << "another authority";

  // A certificate a callback vouched for is not resumed once the callback is gone.
  Decision decision;
  WebService_SetResolveCallback(Decide, &decision);
  EXPECT_EQ(0, Count(*sim));
  EXPECT_EQ(1u, decision.errors.size());
  WebService_SetResolveCallback(nullptr, nullptr);
  EXPECT_EQ(29, Count(*sim));
  ASSERT_EQ(0, WebService_SetCAFile(ca.c_str()));
}

// The version probe over https: no plain-http second attempt to port 81
// (which would carry the credentials in clear) unless the application allows it.
TEST(Port81Tls, NoPlainHttpProbeAfterHttps) {
  FakeDevice port81(81);
  if (!port81.ok()) GTEST_SKIP() << "127.0.0.1:81 cannot be bound here (needs root or a free port 81)";
  RefusingPort closed;  // the https attempt cannot connect
  port81.Script({Reply::File("GetVersion")});
  ConnectionInfo conn = {0, 1, closed.port(), ENDPOINT_KIND_SOAP_PATH};
  VersionRecord version = Pattern<VersionRecord>();
  EXPECT_EQ(WS_ERROR_CANNOT_CONNECT,
            DLL_WebServiceGetVersion("127.0.0.1", "admin", "secret", &kAnyRequest, &version, &conn));
  EXPECT_EQ(ENDPOINT_KIND_SOAP_PATH, conn.endpointKind);
  EXPECT_TRUE(Untouched(version));
  EXPECT_TRUE(port81.Requests().empty()) << port81.Requests()[0];

  WebService_AllowPlainHttpProbe(1);
  EXPECT_EQ(0, DLL_WebServiceGetVersion("127.0.0.1", "admin", "secret", &kAnyRequest, &version, &conn));
  WebService_AllowPlainHttpProbe(0);
  EXPECT_EQ(ENDPOINT_KIND_PORT_81, conn.endpointKind);
  EXPECT_EQ(1u, port81.Requests().size());
}

}  // namespace

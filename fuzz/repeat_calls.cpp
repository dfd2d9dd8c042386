// Calls exports many times against an in-process device and fails when the
// heap in use grows between the first thousand calls and the last; run under
// valgrind it also shows that nothing leaks.
//   repeat_calls [calls, default 10000]
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "harness.h"

using namespace wstest;

namespace {

const std::string kUsers = Response(
    "GetUserList", "<GetUserListResult><User_T><userID>a</userID><password>p</password><userLevel>USER_ADMIN"
                   "</userLevel></User_T><User_T><userID>b</userID></User_T></GetUserListResult><resultCode>0</resultCode>");
const std::string kCount = Response("GetUserCount", "<GetUserCountResult>2</GetUserCountResult><resultCode>0</resultCode>");

size_t HeapInUse() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char **argv) {
  const int calls = argc > 1 ? std::atoi(argv[1]) : 10000;
  LoopbackServer device([](int fd, const std::string &request) {
    WriteAll(fd, HttpAnswer(OperationOf(request) == "GetUserList" ? kUsers : kCount));
  });
  ConnectionInfo conn = Loopback(device.port());
  ConnectionInfo refused = Loopback(1);
  size_t baseline = 0;
  int failures = 0;
  for (int i = 0; i < calls; ++i) {
    if (i == 1000 || (calls <= 1000 && i == 0)) baseline = HeapInUse();
    IntValueRecord count{};
    UserListRecord users{};
    failures += DLL_WebServiceGetUserCount("127.0.0.1", "admin", "admin", &count, &count, &conn) != 0;
    failures += DLL_WebServiceGetUserList("127.0.0.1", "admin", "admin", &users, &users, &conn) != 0;
    WebService_FreeItems(users.items);
    if (i % 100 == 0) failures += DLL_WebServiceGetUserCount("127.0.0.1", 0, 0, &count, &count, &refused) != 12029;
  }
  long growth = static_cast<long>(HeapInUse()) - static_cast<long>(baseline);
  std::printf("%d calls, %d failed, heap in use grew by %ld bytes\n", calls * 2 + calls / 100, failures, growth);
  // Allocator bookkeeping wobbles by a few pages; a leak per call would not.
  return failures == 0 && growth < 64 * 1024 ? 0 : 1;
}

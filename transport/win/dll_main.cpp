// Start-up of WebService.dll and the debug line of DLL_WebServiceGetVersion.
#include <winsock2.h>
#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "transport/win/resource.h"

namespace {

// The text of string resource 101, should the resource itself be missing.
const wchar_t kSocketsFailed[] = L"Windows sockets initialization failed.";

}  // namespace

// On load: the socket layer's start-up.  When it fails, the message box of
// string resource 101, and the DLL refuses to load (LoadLibrary fails).
// There is no shut-down work.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) == 0) return TRUE;
  wchar_t text[256];
  if (LoadStringW(instance, IDS_SOCKETS_INIT_FAILED, text, sizeof text / sizeof text[0]) <= 0)
    lstrcpynW(text, kSocketsFailed, sizeof text / sizeof text[0]);
  MessageBoxW(nullptr, text, L"WebService", MB_OK | MB_ICONSTOP);
  return FALSE;
}

// The debug line: formatted, converted to wide text (the host included) in a
// buffer of 512 wide characters, written with OutputDebugStringW.
extern "C" void ws_debug_line(int, const char *format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  wchar_t wide[512];
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, sizeof wide / sizeof wide[0]) > 0) OutputDebugStringW(wide);
}

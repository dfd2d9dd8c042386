// syslog() in the Windows build: the library's one debug line
// (DLL_WebServiceGetVersion) goes to the platform's debug output,
// OutputDebugStringW, as wide text (transport/win/dll_main.cpp).  Only what
// the library uses is declared.
#pragma once

#define LOG_DEBUG 7
#define LOG_USER (1 << 3)

#ifdef __cplusplus
extern "C" {
#endif
void ws_debug_line(int priority, const char *format, ...) __attribute__((format(printf, 2, 3)));
#ifdef __cplusplus
}
#endif

#define syslog ws_debug_line

# The platform layer of the HTTP transport: which sources carry the
# exchange on this platform and what they link.  Included by the top-level
# CMakeLists.txt; sets
#   WS_TRANSPORT_SOURCES    the transport's sources (paths relative to the top)
#   WS_TRANSPORT_LIBRARIES  what the library links for them
# and defines ws_transport_platform_library(<target>) for what the platform
# asks of the library itself (Windows: DLL name, exports, import library).
#
# Linux: libcurl and a direct http path (transport/*.cpp).
# Windows: WinInet (transport/win/), plus the DLL's start-up and the debug
# line of DLL_WebServiceGetVersion through OutputDebugString.

set(WS_TRANSPORT_COMMON_SOURCES transport/answer_buffer.cpp transport/trace.cpp transport/transport_plugin.cpp
    transport/resolve_settings.cpp)

if(WIN32)
  set(WS_TRANSPORT_SOURCES ${WS_TRANSPORT_COMMON_SOURCES}
      transport/win/wininet_transport.cpp
      transport/win/settings.cpp
      transport/win/dll_main.cpp
      transport/win/webservice.rc)
  enable_language(RC)
  set(WS_TRANSPORT_LIBRARIES wininet ws2_32 user32)

  function(ws_transport_platform_library target)
    # WebService.dll with WebService.lib (import library, also usable by
    # MSVC's linker) and WebService.def (the export list as linked).
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib")
    # Stripped: the symbols of the static C++ runtime would double its size.
    target_link_options(${target} PRIVATE -s -Wl,--output-def,${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    # Windows 7 API level; the runtime's socket code uses getaddrinfo.
    target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601)
    # The one debug line goes to OutputDebugString: the syslog call of
    # DLL_WebServiceGetVersion meets transport/win/include/syslog.h.
    target_include_directories(${target} BEFORE PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/transport/win/include)
  endfunction()
else()
  find_package(CURL REQUIRED)
  find_package(OpenSSL REQUIRED)
  # The answer parser of the direct http path (Debian: libhttp-parser-dev).
  find_path(HTTP_PARSER_INCLUDE_DIR http_parser.h REQUIRED)
  find_library(HTTP_PARSER_LIBRARY http_parser REQUIRED)
  set(WS_TRANSPORT_SOURCES ${WS_TRANSPORT_COMMON_SOURCES}
      transport/http_transport.cpp
      transport/plain_http.cpp
      transport/tls_trust.cpp)
  set(WS_TRANSPORT_LIBRARIES CURL::libcurl OpenSSL::SSL OpenSSL::Crypto ${HTTP_PARSER_LIBRARY})

  function(ws_transport_platform_library target)
  endfunction()
endif()

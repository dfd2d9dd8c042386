# Cross-compiling the Windows DLL on Debian with mingw-w64: what both
# toolchain files (toolchain-mingw-<arch>.cmake) share once they have set
# CMAKE_SYSTEM_PROCESSOR.
# Debian's "posix" variant of the compilers: the "win32" one has no std::mutex.
# The GCC runtime and libstdc++ are linked statically, so that the DLL needs
# nothing beyond the system DLLs (KERNEL32, msvcrt, USER32, WININET, WS2_32).
# soapcpp2 and the other build tools are the build machine's own.
set(CMAKE_SYSTEM_NAME Windows)
set(WS_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${WS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WS_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${WS_MINGW_TRIPLET}-objdump CACHE FILEPATH "")
set(CMAKE_DLLTOOL ${WS_MINGW_TRIPLET}-dlltool CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${WS_MINGW_TRIPLET})
# Programs (soapcpp2) from the build machine; headers and libraries of the
# target from its root, but the build machine's gSOAP header too (stdsoap2.h is
# platform-neutral source, and the generated code must see the same file).
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

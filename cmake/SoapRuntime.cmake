# The SOAP runtime compiled into the library: stdsoap2.cpp from Debian's
# `gsoap` source package of exactly the version whose soapcpp2 generates our
# code.  scripts/deps.sh downloads the package into WS_SOAP_RUNTIME_CACHE; the
# runtime is unpacked into the build tree, never into the source tree.
#
# Defines
#   ws_soap_context   interface: the definitions that shape struct soap, for
#                     the runtime and every file compiled against it
#   ws_soap_runtime   object library: the runtime, every symbol hidden

set(WS_SOAP_RUNTIME_CACHE ${CMAKE_SOURCE_DIR}/third_party/gsoap CACHE PATH
    "Where scripts/deps.sh keeps the downloaded gsoap source package")

# Sizes for one request/response exchange.  The pointer table serves the
# serialisation of one request and the id table the references of one answer
# (a document/literal answer has none); both are cleared four times per call,
# so their size is paid on every call, while a lookup walks a chain of the
# ids read so far divided by the table size.  The buffer carries the answer
# to the parser in pieces; 16 KiB holds a typical answer whole.  Tag, header
# and block lengths keep the runtime's defaults: they bound what a device may
# send.
set(WS_SOAP_CONTEXT_DEFINITIONS WITH_IPV6 SOAP_PTRHASH=32 SOAP_IDHASH=199 SOAP_BUFLEN=16384)

# The installed soapcpp2 and the version of the package that owns it.
get_filename_component(_ws_soapcpp2_real ${SOAPCPP2} REALPATH)
execute_process(COMMAND dpkg-query -S ${_ws_soapcpp2_real} OUTPUT_VARIABLE _ws_owner RESULT_VARIABLE _ws_rc
                ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT _ws_rc EQUAL 0)
  message(FATAL_ERROR "${SOAPCPP2} belongs to no Debian package: the SOAP runtime must come from the "
                      "gsoap package whose soapcpp2 generates the code (install gsoap with scripts/deps.sh)")
endif()
string(REGEX REPLACE ":.*$" "" _ws_package "${_ws_owner}")
execute_process(COMMAND dpkg-query -W -f=\${source:Package}\t\${Version} ${_ws_package}
                OUTPUT_VARIABLE _ws_installed OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "\t" ";" _ws_installed "${_ws_installed}")
list(GET _ws_installed 0 _ws_source_package)
list(GET _ws_installed 1 WS_SOAP_RUNTIME_VERSION)
string(REGEX REPLACE "^[0-9]+:" "" _ws_file_version ${WS_SOAP_RUNTIME_VERSION})
set(_ws_dsc ${WS_SOAP_RUNTIME_CACHE}/${_ws_source_package}_${_ws_file_version}.dsc)

if(NOT EXISTS ${_ws_dsc})
  message(STATUS "Fetching the source of ${_ws_source_package} ${WS_SOAP_RUNTIME_VERSION}")
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fetch-runtime-source.sh ${WS_SOAP_RUNTIME_CACHE}
                  RESULT_VARIABLE _ws_rc OUTPUT_QUIET ERROR_VARIABLE _ws_error)
  if(NOT _ws_rc EQUAL 0 OR NOT EXISTS ${_ws_dsc})
    message(FATAL_ERROR "The SOAP runtime's source, ${_ws_dsc}, is missing and could not be fetched:\n"
                        "${_ws_error}\nRun scripts/deps.sh (it adds the deb-src entry apt needs), or set "
                        "WS_SOAP_RUNTIME_CACHE to a directory holding the ${_ws_source_package} "
                        "${WS_SOAP_RUNTIME_VERSION} source package.")
  endif()
endif()

# The package description names its version and the checksums of its files.
file(STRINGS ${_ws_dsc} _ws_dsc_version REGEX "^Version: ")
string(REPLACE "Version: " "" _ws_dsc_version "${_ws_dsc_version}")
if(NOT _ws_dsc_version STREQUAL WS_SOAP_RUNTIME_VERSION)
  message(FATAL_ERROR "${_ws_dsc} is version ${_ws_dsc_version}, the installed soapcpp2 is "
                      "${WS_SOAP_RUNTIME_VERSION}: the runtime must match the generator exactly")
endif()
set(_ws_tarball "")
file(STRINGS ${_ws_dsc} _ws_listed REGEX "^ [0-9a-f]+ [0-9]+ .*\\.orig\\.tar\\.[a-z0-9]+$")
foreach(_ws_line IN LISTS _ws_listed)  # the SHA-256 line among the MD5 and SHA-1 ones
  string(REGEX MATCH "^ ([0-9a-f]+) [0-9]+ (.*)$" _ws_match "${_ws_line}")
  string(LENGTH "${CMAKE_MATCH_1}" _ws_length)
  if(_ws_length EQUAL 64)
    set(_ws_tarball ${WS_SOAP_RUNTIME_CACHE}/${CMAKE_MATCH_2})
    set(_ws_tarball_sha256 ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT _ws_tarball)
  message(FATAL_ERROR "${_ws_dsc} lists no SHA-256 checksum of an upstream tarball")
endif()

set(WS_SOAP_RUNTIME_DIR ${CMAKE_BINARY_DIR}/soap_runtime/${_ws_file_version})
if(NOT EXISTS ${WS_SOAP_RUNTIME_DIR}/stdsoap2.cpp)
  if(NOT EXISTS ${_ws_tarball})
    message(FATAL_ERROR "${_ws_tarball} is missing; run scripts/deps.sh")
  endif()
  file(SHA256 ${_ws_tarball} _ws_sha256)
  if(NOT _ws_sha256 STREQUAL _ws_tarball_sha256)
    message(FATAL_ERROR "${_ws_tarball} does not match the checksum in ${_ws_dsc}")
  endif()
  set(_ws_unpack ${CMAKE_BINARY_DIR}/soap_runtime/unpack)
  file(REMOVE_RECURSE ${_ws_unpack})
  file(ARCHIVE_EXTRACT INPUT ${_ws_tarball} DESTINATION ${_ws_unpack}
       PATTERNS */gsoap/stdsoap2.cpp */gsoap/stdsoap2.h)
  file(GLOB _ws_unpacked ${_ws_unpack}/*/gsoap/stdsoap2.cpp)
  if(NOT _ws_unpacked)
    message(FATAL_ERROR "${_ws_tarball} holds no gsoap/stdsoap2.cpp")
  endif()
  get_filename_component(_ws_unpacked ${_ws_unpacked} DIRECTORY)
  file(COPY ${_ws_unpacked}/stdsoap2.cpp ${_ws_unpacked}/stdsoap2.h DESTINATION ${WS_SOAP_RUNTIME_DIR})
  file(REMOVE_RECURSE ${_ws_unpack})
endif()

# The generated code is compiled against the installed header: the runtime's
# own must be the same file.
find_file(WS_SOAP_HEADER stdsoap2.h REQUIRED)
file(SHA256 ${WS_SOAP_HEADER} _ws_installed_header)
file(SHA256 ${WS_SOAP_RUNTIME_DIR}/stdsoap2.h _ws_runtime_header)
if(NOT _ws_installed_header STREQUAL _ws_runtime_header)
  message(FATAL_ERROR "${WS_SOAP_HEADER} differs from the header of the runtime's source "
                      "(${WS_SOAP_RUNTIME_DIR}/stdsoap2.h): reinstall libgsoap-dev and gsoap of one version")
endif()
message(STATUS "SOAP runtime: ${_ws_source_package} ${WS_SOAP_RUNTIME_VERSION}, compiled into the library")

add_library(ws_soap_context INTERFACE)
target_compile_definitions(ws_soap_context INTERFACE ${WS_SOAP_CONTEXT_DEFINITIONS})

add_library(ws_soap_runtime OBJECT ${WS_SOAP_RUNTIME_DIR}/stdsoap2.cpp)
target_link_libraries(ws_soap_runtime PUBLIC ws_soap_context)
set_target_properties(ws_soap_runtime PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_compile_options(ws_soap_runtime PRIVATE -w)
# A cross build has no stdsoap2.h on its target's include path: the runtime's
# own copy (the same file, checked above) serves it.
if(CMAKE_CROSSCOMPILING)
  target_include_directories(ws_soap_context INTERFACE ${WS_SOAP_RUNTIME_DIR})
endif()

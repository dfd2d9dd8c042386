# Runs soapcpp2 over the schema headers at build time.
#   ws_generate_soap(<side> <flag>)   side: client (-C) or server (-S)
# sets WS_SOAP_<side>_DIR and WS_SOAP_<side>_SOURCES.
function(ws_generate_soap side flag)
  set(schema_dir ${CMAKE_BINARY_DIR}/schema)
  set(out_dir ${CMAKE_BINARY_DIR}/soap_${side})
  file(MAKE_DIRECTORY ${schema_dir} ${out_dir})
  set(top "// Generated: one soapcpp2 run over every service.\n#import \"stlvector.h\"\n#import \"common.h\"\n")
  set(inputs ${CMAKE_SOURCE_DIR}/services/common.h.in)
  configure_file(${CMAKE_SOURCE_DIR}/services/common.h.in ${schema_dir}/common.h @ONLY)
  set(sources ${out_dir}/soapC.cpp)
  foreach(entry IN LISTS WS_SERVICES)
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 dir)
    list(GET parts 1 binding)
    configure_file(${CMAKE_SOURCE_DIR}/services/${dir}/${dir}.h.in ${schema_dir}/${dir}.h @ONLY)
    list(APPEND inputs ${CMAKE_SOURCE_DIR}/services/${dir}/${dir}.h.in)
    string(APPEND top "#import \"${dir}.h\"\n")
    if(side STREQUAL "client")
      list(APPEND sources ${out_dir}/soap${binding}Proxy.cpp)
    else()
      list(APPEND sources ${out_dir}/soap${binding}Service.cpp)
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${schema_dir}/webservice.h CONTENT "${top}")
  add_custom_command(
    OUTPUT ${sources} ${out_dir}/soapH.h ${out_dir}/soapStub.h
    COMMAND ${SOAPCPP2} -j -x -L -w ${flag} -I${schema_dir}:/usr/share/gsoap/import -d ${out_dir} ${schema_dir}/webservice.h
    DEPENDS ${inputs} ${schema_dir}/webservice.h
    COMMENT "soapcpp2 (${side})"
    VERBATIM)
  set(WS_SOAP_${side}_DIR ${out_dir} PARENT_SCOPE)
  set(WS_SOAP_${side}_SOURCES ${sources} PARENT_SCOPE)
endfunction()

# Runs soapcpp2 over the schema headers at build time.
#   ws_generate_soap(<side> <flag>)   side: client (-C) or server (-S)
# sets WS_SOAP_<side>_DIR and WS_SOAP_<side>_SOURCES; the client run also
# writes the service descriptions and sets WS_SOAP_client_DESCRIPTIONS.

# Copies a schema header into the schema directory with the build settings
# filled in, and gives every operation it declares (int __nsX__Op(...)) its
# SOAPAction, base namespace + operation name, so that a header declares its
# operations once and nothing else.
function(ws_configure_schema_header source target)
  file(READ ${source} text)
  string(REGEX MATCHALL "int[ \t\n]+__ns[0-9]+__[A-Za-z0-9_]+[ \t\n]*\\(" declarations "${text}")
  set(actions "")
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE "^int[ \t\n]+__(ns[0-9]+)__([A-Za-z0-9_]+).*$" "\\1;\\2" parts "${declaration}")
    list(GET parts 0 prefix)
    list(GET parts 1 operation)
    string(APPEND actions "//gsoap ${prefix} service method-action: ${operation} \"${WS_BASE_NAMESPACE}${operation}\"\n")
  endforeach()
  if(actions)
    string(APPEND text "\n// Written by the build: the action of each operation.\n${actions}")
  endif()
  file(CONFIGURE OUTPUT ${target} CONTENT "${text}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

function(ws_generate_soap side flag)
  set(schema_dir ${CMAKE_BINARY_DIR}/schema)
  set(out_dir ${CMAKE_BINARY_DIR}/soap_${side})
  file(MAKE_DIRECTORY ${schema_dir} ${out_dir})
  set(top "// Generated: one soapcpp2 run over every service.\n#import \"stlvector.h\"\n#import \"common.h\"\n")
  set(inputs ${CMAKE_SOURCE_DIR}/services/common.h.in)
  configure_file(${CMAKE_SOURCE_DIR}/services/common.h.in ${schema_dir}/common.h @ONLY)
  set(sources ${out_dir}/soapC.cpp)
  set(descriptions ${out_dir}/ns1.xsd)
  foreach(entry IN LISTS WS_SERVICES)
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 dir)
    list(GET parts 1 binding)
    ws_configure_schema_header(${CMAKE_SOURCE_DIR}/services/${dir}/${dir}.h.in ${schema_dir}/${dir}.h)
    list(APPEND inputs ${CMAKE_SOURCE_DIR}/services/${dir}/${dir}.h.in)
    string(APPEND top "#import \"${dir}.h\"\n")
    list(APPEND descriptions ${out_dir}/${binding}.wsdl)
    if(side STREQUAL "client")
      list(APPEND sources ${out_dir}/soap${binding}Proxy.cpp)
    else()
      list(APPEND sources ${out_dir}/soap${binding}Service.cpp)
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${schema_dir}/webservice.h CONTENT "${top}")
  if(side STREQUAL "client")
    set(write_flag "")
    set(outputs ${sources} ${descriptions})
  else()
    set(write_flag -w)  # the client run writes the descriptions
    set(outputs ${sources})
  endif()
  add_custom_command(
    OUTPUT ${outputs} ${out_dir}/soapH.h ${out_dir}/soapStub.h
    COMMAND ${SOAPCPP2} -j -x -L ${write_flag} ${flag} -I${schema_dir}:/usr/share/gsoap/import -d ${out_dir} ${schema_dir}/webservice.h
    DEPENDS ${inputs} ${schema_dir}/webservice.h ${schema_dir}/common.h
    COMMENT "soapcpp2 (${side})"
    VERBATIM)
  # The nine proxies (services) compile as one file: each of them reads the
  # generated declarations, which is most of its compile time.
  set(bindings ${sources})
  list(REMOVE_ITEM bindings ${out_dir}/soapC.cpp)
  set(includes "// Generated: the bindings of every service, compiled together.\n")
  foreach(binding IN LISTS bindings)
    get_filename_component(name ${binding} NAME)
    string(APPEND includes "#include \"${name}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${out_dir}/soap_bindings.cpp CONTENT "${includes}")
  set_source_files_properties(${out_dir}/soap_bindings.cpp PROPERTIES OBJECT_DEPENDS "${bindings}")
  set(WS_SOAP_${side}_DIR ${out_dir} PARENT_SCOPE)
  set(WS_SOAP_${side}_SOURCES ${out_dir}/soapC.cpp ${out_dir}/soap_bindings.cpp PARENT_SCOPE)
  if(side STREQUAL "client")
    set(WS_SOAP_client_DESCRIPTIONS ${descriptions} PARENT_SCOPE)
  endif()
endfunction()

# The service descriptions (WSDL, and the schema of the base namespace),
# written from soapcpp2's by descriptions/complete_descriptions.cpp: into
# share/webservice of the build tree, installed with the library, and, all
# services in one WSDL, compiled into ws_device_description for the simulator.
add_executable(complete_descriptions descriptions/complete_descriptions.cpp)
target_include_directories(complete_descriptions PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/include)

set(WS_DESCRIPTION_DIR ${CMAKE_BINARY_DIR}/share/webservice)
file(MAKE_DIRECTORY ${WS_DESCRIPTION_DIR})
set(WS_DESCRIPTIONS ${WS_DESCRIPTION_DIR}/ns1.xsd ${WS_DESCRIPTION_DIR}/webservice.wsdl)
set(bindings)
foreach(entry IN LISTS WS_SERVICES)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 1 binding)
  list(APPEND bindings ${binding})
  list(APPEND WS_DESCRIPTIONS ${WS_DESCRIPTION_DIR}/${binding}.wsdl)
endforeach()
set(description_source ${CMAKE_BINARY_DIR}/generated/device_description.cpp)
add_custom_command(
  OUTPUT ${WS_DESCRIPTIONS} ${description_source}
  COMMAND complete_descriptions ${WS_BASE_NAMESPACE} ${WS_SOAP_client_DIR} ${WS_DESCRIPTION_DIR}
          ${description_source} ${bindings}
  DEPENDS complete_descriptions ${WS_SOAP_client_DESCRIPTIONS}
  COMMENT "service descriptions"
  VERBATIM)
add_custom_target(ws_descriptions ALL DEPENDS ${WS_DESCRIPTIONS})
add_library(ws_device_description OBJECT ${description_source})
install(FILES ${WS_DESCRIPTIONS} DESTINATION ${CMAKE_INSTALL_DATADIR}/webservice)

#include <stdio.h>
#include <webservice/WebService.h>

int main(void) {
  IntValueRecord count = {0, 0};
  ConnectionInfo conn = {0, 0, 80, ENDPOINT_KIND_SOAP_PATH};
  /* No host: refused before anything is sent. */
  int status = DLL_WebServiceGetUserCount(NULL, NULL, NULL, &count, &count, &conn);
  printf("%d: %s\n", status, WebService_StatusText(status));
  return status == -1 ? 0 : 1;
}

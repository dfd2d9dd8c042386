// The schema of another SOAP user: one echo operation in a namespace of its
// own, generated and linked the ordinary way against the shared runtime.
//gsoap ns service name: Echo
//gsoap ns service style: document
//gsoap ns service encoding: literal
//gsoap ns schema namespace: urn:other-soap-user
//gsoap ns schema form: qualified
int ns__echo(char *text, char **answer);

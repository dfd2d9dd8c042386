// EventSchedule service: FTP and SMTP servers, device notifications, manual
// recording and the SD card.  The simulator does not model them yet: each
// answers false with kResultNotSimulated (or an empty answer).
#include "sim/device_state.h"
#include "sim/service.h"
#include "soapEventScheduleSoap12Service.h"

using namespace sim;

#define WS_SIM_NOT_SIMULATED(Op)                                                                  \
  int EventScheduleSoap12Service::Op(_ns1__##Op *, _ns1__##Op##Response &response) {            \
    return Reply(soap, response, kResultNotSimulated);                                            \
  }

WS_SIM_NOT_SIMULATED(GetFTPServerList)
WS_SIM_NOT_SIMULATED(GetFTPServer)
WS_SIM_NOT_SIMULATED(AddFTPServer)
WS_SIM_NOT_SIMULATED(RemoveFTPServer)
WS_SIM_NOT_SIMULATED(UpdateFTPServer)
WS_SIM_NOT_SIMULATED(TestFTPServer)
WS_SIM_NOT_SIMULATED(GetSMTPServerList)
WS_SIM_NOT_SIMULATED(GetSMTPServer)
WS_SIM_NOT_SIMULATED(AddSMTPServer)
WS_SIM_NOT_SIMULATED(RemoveSMTPServer)
WS_SIM_NOT_SIMULATED(UpdateSMTPServer)
WS_SIM_NOT_SIMULATED(TestSMTPServer)
WS_SIM_NOT_SIMULATED(GetSMTPNotification)
WS_SIM_NOT_SIMULATED(SetSMTPNotification)
WS_SIM_NOT_SIMULATED(GetFanFailNotification)
WS_SIM_NOT_SIMULATED(SetFanFailNotification)
WS_SIM_NOT_SIMULATED(GetRecordingServerDiskFullNotification)
WS_SIM_NOT_SIMULATED(SetRecordingServerDiskFullNotification)
WS_SIM_NOT_SIMULATED(GetTemperatureThreshold)
WS_SIM_NOT_SIMULATED(SetTemperatureThreshold)
WS_SIM_NOT_SIMULATED(StartManualRecording)
WS_SIM_NOT_SIMULATED(StopManualRecording)
WS_SIM_NOT_SIMULATED(GetSDRecordingSchedule)
WS_SIM_NOT_SIMULATED(SetSDRecordingSchedule)
WS_SIM_NOT_SIMULATED(GetSDInfo)
WS_SIM_NOT_SIMULATED(CommandSD)
WS_SIM_NOT_SIMULATED(GetSDConfig)
WS_SIM_NOT_SIMULATED(SetSDConfig)
WS_SIM_NOT_SIMULATED(GetSDRecordingFiles)
WS_SIM_NOT_SIMULATED(GetSDRecordingFile)
WS_SIM_NOT_SIMULATED(RemoveSDRecordingFile)

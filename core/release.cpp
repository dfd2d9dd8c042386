// WebService_Free<Record>: one release function for each answer record that
// can hold memory the library allocated.  Each walks the record's description
// (core/record_desc.h), so what it releases follows the record's fields.
#include "core/record_desc.h"

// The answer records that own memory; release_test checks this list against
// the response records of the operation table.
#define WS_OWNING_RECORDS(X)                                                                             \
  X(UserListRecord)                                                                                      \
  X(ParameterListRecord) X(TimeZoneListRecord) X(RecordingServerListRecord) X(LoggedDateListRecord)      \
  X(LogTextRecord)                                                                                       \
  X(IPSectionListRecord)                                                                                 \
  X(RecordingScheduleListRecord) X(EventScheduleResponseRecord) X(EventScheduleListRecord)               \
  X(EventSourceListRecord) X(SensorListRecord) X(RelayListRecord) X(FTPServerListRecord)                 \
  X(SMTPServerListRecord) X(FanFailNotificationRecord) X(EventNotifyListRecord)                          \
  X(SDRecordingResponseRecord) X(SDFileListRecord)                                                       \
  X(PTZProtocolListRecord) X(PTZConfigurationListRecord) X(PresetListRecord) X(PresetTourListRecord)     \
  X(DetectionWindowListRecord) X(ParamListRecord) X(AutoPTZTrackingParamRecord)

#define WS_RELEASE_FUNCTION(Record)                                    \
  WS_API void WS_CALL WebService_Free##Record(Record *record) {        \
    if (record) wsctl::FreeItems(wsctl::Describe<Record>(), record);   \
  }
WS_OWNING_RECORDS(WS_RELEASE_FUNCTION)

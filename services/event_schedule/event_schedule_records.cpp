// The records of EventSchedule.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(RecordingScheduleRecord, F(scheduleID), F(preAlarm), F(postAlarm), E(repeatOption, ScheduleRepeat),
             F(startYear), F(startMonth), F(startDay), F(finishYear), F(finishMonth), F(finishDay), F(customYear),
             F(customMonth), F(customDay), F(timeTable))
WSCTL_RECORD(RecordingScheduleRequestRecord, F(schedule))
WSCTL_RECORD(RecordingScheduleResponseRecord, F(schedule), F(resultCode))
WSCTL_RECORD(RecordingScheduleListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(ScheduleIdRecord, F(scheduleID))
WSCTL_RECORD(ScheduleAllocationRecord, F(channel), F(master), F(scheduleID))

WSCTL_RECORD(EventNotifyRecord, E(type, EventNotify), F(id))
WSCTL_RECORD(EventScheduleRecord, F(ignoreInterval), F(preAlarm), F(postAlarm), F(channel), F(master),
             F(eventSource), F(notifyCount), L(notifies, notifyCount), F(start), F(finish), F(weekCount),
             EL(weeks, weekCount, Week))
WSCTL_RECORD(EventScheduleRequestRecord, F(schedule))
WSCTL_RECORD(EventScheduleResponseRecord, F(schedule), F(resultCode))
WSCTL_RECORD(EventScheduleListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(EventSourceRecord, F(eventSource))
WSCTL_RECORD(EventSourceNameRecord, F(name))
WSCTL_RECORD(EventSourceListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(VAEventTriggerRecord, F(channel), F(eventType), F(year), F(month), F(day), F(hour), F(minute),
             F(second))

WSCTL_RECORD(SensorRecord, F(sensorChannel), F(enable), F(type), F(name))
WSCTL_RECORD(SensorRequestRecord, F(sensor))
WSCTL_RECORD(SensorResponseRecord, F(sensor), F(resultCode))
WSCTL_RECORD(SensorListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(RelayRecord, F(relayChannel), F(controlDuration), F(type), F(name))
WSCTL_RECORD(RelayRequestRecord, F(relay))
WSCTL_RECORD(RelayResponseRecord, F(relay), F(resultCode))
WSCTL_RECORD(RelayListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(RelayRunRecord, F(relayChannel), F(enableRun))

}  // namespace wsctl

// The records of Account.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(UserRecord, F(userID), F(password), E(userLevel, UserLevel))
WSCTL_RECORD(UserRequestRecord, F(user))
WSCTL_RECORD(UserResponseRecord, F(userID), F(password), E(userLevel, UserLevel), F(resultCode))
WSCTL_RECORD(UserListRecord, F(count), L(items, count), F(resultCode))
WSCTL_RECORD(TimeSlotRecord, F(hour), F(minute), F(second))
WSCTL_RECORD(SessionConfigRecord, F(enableAnonymous), F(maxRTPStreamTime))
WSCTL_RECORD(SessionConfigRequestRecord, F(config))
WSCTL_RECORD(SessionConfigResponseRecord, F(config), F(resultCode))

}  // namespace wsctl

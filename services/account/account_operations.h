// The Account service's exports: (operation, request type, response type,
// answer shape, request statements); core/shapes.h says what the last two
// columns mean.
#pragma once

#include "webservice/Account.h"

#define WS_ACCOUNT_OPERATIONS(X)                                                                           \
  X(GetUserList, void, UserListRecord, List(WhenNonEmpty, User_USCORET), )                                 \
  X(GetUser, UserRequestRecord, UserResponseRecord, Record, WS_SET(userID, request->user.userID))          \
  X(AddUser, UserRequestRecord, CallResult, CallResult, WS_FILL)                                           \
  X(UpdateUser, UserRequestRecord, CallResult, CallResult, WS_FILL)                                        \
  X(RemoveUser, UserRequestRecord, CallResult, CallResult, WS_SET(userID, request->user.userID))           \
  X(GetUserCount, void, IntValueRecord, Value, )                                                           \
  X(GetUserLevel, char, IntValueRecord, Value, WS_SET(ipAddress, request))                                 \
  X(GetSessionConfig, void, SessionConfigResponseRecord, Stored, )                                         \
  X(SetSessionConfig, SessionConfigRequestRecord, CallResult, CallResult, WS_FILL)

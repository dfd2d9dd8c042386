// The Account service's exports: (operation, request type, response type).
#pragma once

#include "webservice/Account.h"

#define WS_ACCOUNT_OPERATIONS(X)                          \
  X(GetUserList, void, UserListRecord)                    \
  X(GetUser, UserRequestRecord, UserResponseRecord)       \
  X(AddUser, UserRequestRecord, CallResult)               \
  X(UpdateUser, UserRequestRecord, CallResult)            \
  X(RemoveUser, UserRequestRecord, CallResult)            \
  X(GetUserCount, void, IntValueRecord)                   \
  X(GetUserLevel, char, IntValueRecord)                   \
  X(GetSessionConfig, void, SessionConfigResponseRecord)  \
  X(SetSessionConfig, SessionConfigRequestRecord, CallResult)

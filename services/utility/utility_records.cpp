// The records of Utility.h.
#include "core/describe.h"

namespace wsctl {

WSCTL_RECORD(AudioClientRecord, F(url), F(port), F(userID), F(password), F(enableTcp))
WSCTL_RECORD(LanguageRequestRecord, E(language, Language))

}  // namespace wsctl

// The bound on resending one exchange after a resolve decision: at most
// WS_RESOLVE_MAX_RETRIES resends, and none past the exchange's own time
// budget (its connect, send and receive time-outs added up).  Every transport
// path asks it before each resend and clips each attempt to what is left.
#pragma once

#include <chrono>

#include "webservice/Transport.h"

namespace ws {

class RetryBudget {
 public:
  using Clock = std::chrono::steady_clock;

  // budgetMs of 0 or less: no time limit, only the count.
  explicit RetryBudget(long budgetMs) : limited_(budgetMs > 0), deadline_(Clock::now() + std::chrono::milliseconds(budgetMs)) {}

  // Milliseconds the next attempt may take: at least 1 while limited, 0 when
  // there is no time limit.
  long RemainingMs() const {
    if (!limited_) return 0;
    long left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count());
    return left > 1 ? left : 1;
  }

  // Whether one more resend may be made; counts it when so.
  bool TakeRetry() {
    if (retries_ >= WS_RESOLVE_MAX_RETRIES || (limited_ && Clock::now() >= deadline_)) return false;
    ++retries_;
    return true;
  }

 private:
  bool limited_;
  Clock::time_point deadline_;
  int retries_ = 0;
};

}  // namespace ws

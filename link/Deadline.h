// A time budget counted from the moment it is made. Waits for the terminal
// take their time-outs from it, so that a wait made of many receives ends
// when the budget is spent, however the terminal spreads its bytes.
#pragma once

#include <chrono>
#include <cstdint>

namespace zq::app::comm {

class Deadline {
 public:
  // A budget of 0 never runs out.
  explicit Deadline(uint64_t budgetMs);

  // The time-out of the next wait: at most `mostMs` (0: no cap of its own)
  // and never past the deadline, rounded up to whole milliseconds so that
  // the budget is not cut short. 0 means without end, which only an
  // unlimited budget without a cap gives. False once the budget is spent.
  bool nextWait(uint32_t mostMs, uint32_t& waitMs) const;

 private:
  using Clock = std::chrono::steady_clock;

  bool limited;
  Clock::time_point end;
};

}  // namespace zq::app::comm

#include "link/Deadline.h"

#include <algorithm>

namespace zq::app::comm {

Deadline::Deadline(uint64_t budgetMs)
    : limited(budgetMs != 0), end(Clock::now() + std::chrono::milliseconds(budgetMs)) {}

bool Deadline::nextWait(uint32_t mostMs, uint32_t& waitMs) const {
  if (!limited) {
    waitMs = mostMs;
    return true;
  }
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
  if (left <= 0) return false;
  const auto capped = mostMs == 0 ? left : std::min<decltype(left)>(left, mostMs);
  waitMs = static_cast<uint32_t>(std::min<decltype(left)>(capped, UINT32_MAX));
  return true;
}

}  // namespace zq::app::comm

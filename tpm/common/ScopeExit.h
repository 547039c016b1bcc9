// Runs a clean-up step when the scope ends, on every path out of it. The
// tools release what they acquired in the reverse order of acquiring it by
// declaring one of these right after each acquisition.
#ifndef ZQ_TPM_SCOPE_EXIT_H
#define ZQ_TPM_SCOPE_EXIT_H

#include <utility>

namespace zq::tpm {

template <typename Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : step_(std::move(step)) {}
  ~ScopeExit() { step_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step step_;
};

}  // namespace zq::tpm

#endif

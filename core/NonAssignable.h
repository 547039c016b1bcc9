#pragma once

namespace zq::app::utils {

// Base of classes whose objects are never assigned (managers, links, contexts,
// commands, walkers): assignment is a compile error.
class NonAssignable {
 public:
  NonAssignable() = default;
  NonAssignable(const NonAssignable&) = default;
  virtual ~NonAssignable() = default;
  NonAssignable& operator=(const NonAssignable&) = delete;
};

}  // namespace zq::app::utils

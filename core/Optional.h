#pragma once

#include <utility>

#include "zumbra_log.h"

namespace zq::app::utils {

// An owned optional value: a presence flag and a heap copy of the value.
// Readers and converters return it where a result may be absent.
template <typename T>
class Optional {
 public:
  Optional() : value_(nullptr), present_(false) {}
  explicit Optional(const T& value) : value_(new T(value)), present_(true) {}
  Optional(const Optional& other)
      : value_(other.present_ ? new T(*other.value_) : nullptr), present_(other.present_) {}
  Optional(Optional&& other) noexcept : value_(other.value_), present_(other.present_) {
    other.value_ = nullptr;
    other.present_ = false;
  }
  Optional& operator=(Optional other) noexcept {
    std::swap(value_, other.value_);
    std::swap(present_, other.present_);
    return *this;
  }
  virtual ~Optional() { delete value_; }

  bool isPresent() const { return present_; }
  explicit operator bool() const { return present_; }

  // Reading an empty value is a caller error. It is logged and answered with a
  // value-initialised T, so a missed presence test cannot crash the host.
  const T& get() const {
    if (!present_) {
      logDevFatal("Attempting to dereference NULL pointer");
      // Left alive at exit, as every table of the library is.
      static const T& empty = *new T();
      return empty;
    }
    return *value_;
  }
  const T& operator*() const { return get(); }
  const T* operator->() const { return &get(); }

 private:
  T* value_;
  bool present_;
};

}  // namespace zq::app::utils

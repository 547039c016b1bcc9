#include "link/CommResult.h"

#include <cstddef>

namespace zq::app::comm {

namespace {

// Constant data, which no exit destroys: a failure logged from a host's
// atexit handler still finds its name.
template <typename T>
struct Name {
  T value;
  const char* text;
};

constexpr Name<CommResult::Status> kStatusNames[] = {
    {CommResult::DEVICE_OK, "DEVICE_OK"},
    {CommResult::DEVICE_ERROR, "DEVICE_ERROR"},
    {CommResult::DEVICE_TIMEOUT, "DEVICE_TIMEOUT"},
    {CommResult::DEVICE_CONTINUE, "DEVICE_CONTINUE"},
};

constexpr Name<errors::DeviceError> kErrorNames[] = {
    {errors::DEVICE_ERR_NO_ERROR, "DEVICE_ERR_NO_ERROR"},
    {errors::DEVICE_ERR_UNKNOWN, "DEVICE_ERR_UNKNOWN"},
    {errors::DEVICE_ERR_WRONG_ANSWER_CODE, "DEVICE_ERR_WRONG_ANSWER_CODE"},
    {errors::DEVICE_ERR_UNSUPPORTED_FEATURE, "DEVICE_ERR_UNSUPPORTED_FEATURE"},
    {errors::DEVICE_DATA_CORRUPTED, "DEVICE_DATA_CORRUPTED"},
    {errors::DEVICE_PROTOCOL_ERROR, "DEVICE_PROTOCOL_ERROR"},
    {errors::DEVICE_BUFFER_OVERFLOW, "DEVICE_BUFFER_OVERFLOW"},
    {errors::DEVICE_INVALID_ARGUMENT, "DEVICE_INVALID_ARGUMENT"},
    {errors::DEVICE_ARGUMENT_MISSING, "DEVICE_ARGUMENT_MISSING"},
    {errors::DEVICE_SOCKET_NOT_AVAILABLE, "DEVICE_SOCKET_NOT_AVAILABLE"},
    {errors::DEVICE_SOCKET_VERSION_MISMATCH, "DEVICE_SOCKET_VERSION_MISMATCH"},
    {errors::DEVICE_SOCKET_INVALID, "DEVICE_SOCKET_INVALID"},
    {errors::DEVICE_CONN_ERROR, "DEVICE_CONN_ERROR"},
    {errors::DEVICE_RECV_ERROR, "DEVICE_RECV_ERROR"},
    {errors::DEVICE_SEND_ERROR, "DEVICE_SEND_ERROR"},
};

template <typename T, std::size_t N>
std::string lookUp(const Name<T> (&table)[N], T value) {
  for (const Name<T>& entry : table) {
    if (entry.value == value) return entry.text;
  }
  return std::string();
}

}  // namespace

CommResult::CommResult() : status_(DEVICE_OK), error_(errors::DEVICE_ERR_NO_ERROR) {}

CommResult::CommResult(Status status)
    : status_(status),
      error_(status == DEVICE_OK ? errors::DEVICE_ERR_NO_ERROR : errors::DEVICE_ERR_UNKNOWN) {}

CommResult::CommResult(Status status, errors::DeviceError error) : status_(status), error_(error) {}

CommResult::CommResult(Status status, errors::DeviceError error, const std::string& message)
    : status_(status), error_(error), message_(message) {}

bool CommResult::operator==(const CommResult& other) const {
  return status_ == other.status_ && error_ == other.error_ && message_ == other.message_;
}

std::string CommResult::statusToString(Status status) const { return lookUp(kStatusNames, status); }

std::string CommResult::errorToString(errors::DeviceError error) const {
  return lookUp(kErrorNames, error);
}

}  // namespace zq::app::comm

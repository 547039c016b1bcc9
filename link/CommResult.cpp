#include "link/CommResult.h"

#include <utility>
#include <vector>

namespace zq::app::comm {

namespace {

template <typename T>
using NameTable = std::vector<std::pair<T, const char*>>;

const NameTable<CommResult::Status>& statusNames() {
  static const NameTable<CommResult::Status> table = {
      {CommResult::DEVICE_OK, "DEVICE_OK"},
      {CommResult::DEVICE_ERROR, "DEVICE_ERROR"},
      {CommResult::DEVICE_TIMEOUT, "DEVICE_TIMEOUT"},
      {CommResult::DEVICE_CONTINUE, "DEVICE_CONTINUE"},
  };
  return table;
}

const NameTable<errors::DeviceError>& errorNames() {
  using namespace errors;
  static const NameTable<DeviceError> table = {
      {DEVICE_ERR_NO_ERROR, "DEVICE_ERR_NO_ERROR"},
      {DEVICE_ERR_UNKNOWN, "DEVICE_ERR_UNKNOWN"},
      {DEVICE_ERR_WRONG_ANSWER_CODE, "DEVICE_ERR_WRONG_ANSWER_CODE"},
      {DEVICE_ERR_UNSUPPORTED_FEATURE, "DEVICE_ERR_UNSUPPORTED_FEATURE"},
      {DEVICE_DATA_CORRUPTED, "DEVICE_DATA_CORRUPTED"},
      {DEVICE_PROTOCOL_ERROR, "DEVICE_PROTOCOL_ERROR"},
      {DEVICE_BUFFER_OVERFLOW, "DEVICE_BUFFER_OVERFLOW"},
      {DEVICE_INVALID_ARGUMENT, "DEVICE_INVALID_ARGUMENT"},
      {DEVICE_ARGUMENT_MISSING, "DEVICE_ARGUMENT_MISSING"},
      {DEVICE_SOCKET_NOT_AVAILABLE, "DEVICE_SOCKET_NOT_AVAILABLE"},
      {DEVICE_SOCKET_VERSION_MISMATCH, "DEVICE_SOCKET_VERSION_MISMATCH"},
      {DEVICE_SOCKET_INVALID, "DEVICE_SOCKET_INVALID"},
      {DEVICE_CONN_ERROR, "DEVICE_CONN_ERROR"},
      {DEVICE_RECV_ERROR, "DEVICE_RECV_ERROR"},
      {DEVICE_SEND_ERROR, "DEVICE_SEND_ERROR"},
  };
  return table;
}

template <typename T>
std::string lookUp(const NameTable<T>& table, T value) {
  for (const auto& entry : table) {
    if (entry.first == value) return entry.second;
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

std::string CommResult::statusToString(Status status) const { return lookUp(statusNames(), status); }

std::string CommResult::errorToString(errors::DeviceError error) const {
  return lookUp(errorNames(), error);
}

}  // namespace zq::app::comm

// The outcome of every transport and link operation.
#pragma once

#include <cstdint>
#include <string>

namespace zq::app::comm {

namespace errors {

enum DeviceError : int32_t {
  DEVICE_ERR_NO_ERROR = 0,
  DEVICE_ERR_UNKNOWN = 1,
  DEVICE_ERR_WRONG_ANSWER_CODE = 2,
  DEVICE_ERR_UNSUPPORTED_FEATURE = 3,
  DEVICE_DATA_CORRUPTED = 4,
  DEVICE_PROTOCOL_ERROR = 5,
  DEVICE_BUFFER_OVERFLOW = 6,
  DEVICE_INVALID_ARGUMENT = 7,
  DEVICE_ARGUMENT_MISSING = 8,
  DEVICE_SOCKET_NOT_AVAILABLE = 9,
  DEVICE_SOCKET_VERSION_MISMATCH = 10,
  DEVICE_SOCKET_INVALID = 11,
  DEVICE_CONN_ERROR = 12,
  DEVICE_RECV_ERROR = 13,
  DEVICE_SEND_ERROR = 14,
};

}  // namespace errors

// Only the status decides success; the error code and the message explain a
// failure for the logs and the host.
class CommResult {
 public:
  enum Status : int32_t {
    DEVICE_OK = 0,
    DEVICE_ERROR = 1,
    DEVICE_TIMEOUT = 2,
    // This attempt failed and may be repeated; the Link uses it between attempts.
    DEVICE_CONTINUE = 3,
  };

  CommResult();
  // DEVICE_ERR_NO_ERROR for DEVICE_OK, DEVICE_ERR_UNKNOWN for any other status.
  explicit CommResult(Status status);
  CommResult(Status status, errors::DeviceError error);
  CommResult(Status status, errors::DeviceError error, const std::string& message);
  CommResult(const CommResult&) = default;
  CommResult& operator=(const CommResult&) = default;

  Status getStatus() const { return status_; }
  errors::DeviceError getError() const { return error_; }
  std::string getMessage() const { return message_; }
  bool isOk() const { return status_ == DEVICE_OK; }

  bool operator==(const CommResult& other) const;
  bool operator!=(const CommResult& other) const { return !(*this == other); }

  // Names of the given value (not of this object's fields); "" when unknown.
  std::string statusToString(Status status) const;
  std::string errorToString(errors::DeviceError error) const;

 private:
  Status status_;
  errors::DeviceError error_;
  std::string message_;
};

}  // namespace zq::app::comm

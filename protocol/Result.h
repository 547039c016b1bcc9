// Outcome of every protocol operation, and the status values it carries.
#pragma once

#include <cstdint>
#include <string>

namespace zq::app::utils {

// Kept 32-bit unsigned: the terminal API hands it to the host as is.
enum EcrTransactionResult : uint32_t {
  RESULT_OK = 0,
  RESULT_COMM_ERROR = 1,
  RESULT_ARGUMENT_MISSING = 2,
  RESULT_UNKNOWN_RETURN_CODE = 3,
  RESULT_TERMINAL_CODE_2 = 4,
  RESULT_TERMINAL_CODE_4 = 5,
  RESULT_TERMINAL_CODE_5 = 6,
  RESULT_TERMINAL_CODE_6 = 7,
  RESULT_TERMINAL_CODE_7 = 8,
  RESULT_NO_DATA = 9,
  RESULT_TERMINAL_CODE_9 = 10,
  RESULT_TERMINAL_CODE_11 = 11,
  RESULT_TERMINAL_NOT_READY = 12,
  RESULT_UNEXPECTED_STATUS = 13,
};

}  // namespace zq::app::utils

namespace zq::app::protocols {

// Fixed texts of the results made inside the protocol (not by the terminal).
namespace resultTexts {
inline constexpr const char* kCardsetIdMissing = "Cardset ID missing";
inline constexpr const char* kCurrencyIdMissing = "Currency ID missing";
inline constexpr const char* kTransactionIdMissing = "Transaction ID missing";
inline constexpr const char* kResponseBufferTooShort =
    "Flow stopped because response buffer is too short";
inline constexpr const char* kWrongTerminalStatus = "Wrong terminal status";
inline constexpr const char* kStartTerminalNotReady =
    "Start Transaction failed - terminal not ready";
inline constexpr const char* kStartReconciliationNeeded =
    "Start Transaction failed - reconciliation needed";
inline constexpr const char* kStartApplicationError =
    "Start Transaction failed - terminal application error";
inline constexpr const char* kStartEvoucherTerminalNotReady =
    "Start Evoucher Transaction failed - terminal not ready";
inline constexpr const char* kTransactionAborted =
    "Transaction aborted - unexpected transaction status received from terminal";
}  // namespace resultTexts

class Result {
 public:
  Result() : status(utils::RESULT_OK) {}
  explicit Result(utils::EcrTransactionResult status) : status(status) {}
  Result(utils::EcrTransactionResult status, const std::string& message)
      : status(status), message(message) {}
  Result(const Result&) = default;
  Result& operator=(const Result&) = default;

  // Messages compare byte for byte, so a prefix of a text is another text.
  bool operator==(const Result& other) const {
    return status == other.status && message == other.message;
  }
  bool operator!=(const Result& other) const { return !(*this == other); }

  utils::EcrTransactionResult getStatus() const { return status; }
  std::string getMessage() const { return message; }
  bool isOk() const { return status == utils::RESULT_OK; }

 private:
  utils::EcrTransactionResult status;
  std::string message;
};

}  // namespace zq::app::protocols

// Results of transport and link operations: what each constructor fills in,
// equality, and the names that log lines print.
#include <gtest/gtest.h>

#include "link/CommResult.h"

namespace zq::app::comm {
namespace {

TEST(CommResult, AStatusAloneImpliesItsErrorCode) {
  struct Case {
    CommResult result;
    CommResult::Status status;
    errors::DeviceError error;
    bool ok;
  };
  const Case cases[] = {
      {CommResult(), CommResult::DEVICE_OK, errors::DEVICE_ERR_NO_ERROR, true},
      {CommResult(CommResult::DEVICE_OK), CommResult::DEVICE_OK, errors::DEVICE_ERR_NO_ERROR, true},
      {CommResult(CommResult::DEVICE_TIMEOUT), CommResult::DEVICE_TIMEOUT, errors::DEVICE_ERR_UNKNOWN, false},
      {CommResult(CommResult::DEVICE_CONTINUE), CommResult::DEVICE_CONTINUE, errors::DEVICE_ERR_UNKNOWN, false},
      // Only the status decides success.
      {CommResult(CommResult::DEVICE_OK, errors::DEVICE_CONN_ERROR), CommResult::DEVICE_OK,
       errors::DEVICE_CONN_ERROR, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.getStatus(), c.status);
    EXPECT_EQ(c.result.getError(), c.error);
    EXPECT_EQ(c.result.isOk(), c.ok);
    EXPECT_EQ(c.result.getMessage(), "");
  }
}

TEST(CommResult, EqualOnlyWhenStatusErrorAndMessageAllAgree) {
  const CommResult a(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read timeout");
  CommResult copy(CommResult::DEVICE_OK);
  copy = a;
  EXPECT_EQ(copy, a);
  EXPECT_NE(a, CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read fail"));
  EXPECT_NE(a, CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "COM read timeout"));
  EXPECT_NE(a, CommResult(CommResult::DEVICE_TIMEOUT, errors::DEVICE_CONN_ERROR, "COM read timeout"));
}

TEST(CommResult, NamesTheGivenValueNotItsOwn) {
  const CommResult r;
  EXPECT_EQ(r.statusToString(CommResult::DEVICE_TIMEOUT), "DEVICE_TIMEOUT");
  EXPECT_EQ(r.statusToString(CommResult::DEVICE_CONTINUE), "DEVICE_CONTINUE");
  EXPECT_EQ(r.statusToString(static_cast<CommResult::Status>(7)), "");
  const char* names[] = {"DEVICE_ERR_NO_ERROR",        "DEVICE_ERR_UNKNOWN",
                         "DEVICE_ERR_WRONG_ANSWER_CODE", "DEVICE_ERR_UNSUPPORTED_FEATURE",
                         "DEVICE_DATA_CORRUPTED",      "DEVICE_PROTOCOL_ERROR",
                         "DEVICE_BUFFER_OVERFLOW",     "DEVICE_INVALID_ARGUMENT",
                         "DEVICE_ARGUMENT_MISSING",    "DEVICE_SOCKET_NOT_AVAILABLE",
                         "DEVICE_SOCKET_VERSION_MISMATCH", "DEVICE_SOCKET_INVALID",
                         "DEVICE_CONN_ERROR",          "DEVICE_RECV_ERROR",
                         "DEVICE_SEND_ERROR"};
  for (int code = 0; code < 15; ++code) {
    EXPECT_EQ(r.errorToString(static_cast<errors::DeviceError>(code)), names[code]);
  }
  EXPECT_EQ(r.errorToString(static_cast<errors::DeviceError>(15)), "");
}

}  // namespace
}  // namespace zq::app::comm

// The terminal's function return codes as the host sees them, and Result's
// equality. One table: each row is a code and the status it must become.
#include <gtest/gtest.h>

#include "protocol/Result.h"
#include "protocol/TalvorenFlowInterface.h"

namespace zq::app::protocols {
namespace {

using namespace zq::app::utils;

struct ReturnCodeCase {
  uint32_t code;
  EcrTransactionResult status;
  bool mapped;
};

TEST(ReturnCodeTable, EveryCodeBecomesItsStatus) {
  const ReturnCodeCase cases[] = {
      {0, RESULT_OK, true},
      {1, RESULT_UNKNOWN_RETURN_CODE, false},
      {2, RESULT_TERMINAL_CODE_2, true},
      {3, RESULT_TERMINAL_CODE_2, true},
      {4, RESULT_TERMINAL_CODE_4, true},
      {5, RESULT_TERMINAL_CODE_5, true},
      {6, RESULT_TERMINAL_CODE_6, true},
      {7, RESULT_TERMINAL_CODE_7, true},
      {8, RESULT_NO_DATA, true},
      {9, RESULT_TERMINAL_CODE_9, true},
      {10, RESULT_UNKNOWN_RETURN_CODE, false},
      {11, RESULT_TERMINAL_CODE_11, true},
      {12, RESULT_UNKNOWN_RETURN_CODE, false},
      {63, RESULT_UNKNOWN_RETURN_CODE, false},
      {64, RESULT_TERMINAL_CODE_7, true},
      {65, RESULT_UNKNOWN_RETURN_CODE, false},
      {99, RESULT_UNKNOWN_RETURN_CODE, false},
      {0xFFFFFFFFu, RESULT_UNKNOWN_RETURN_CODE, false},
  };
  for (const ReturnCodeCase& c : cases) {
    EcrTransactionResult status = RESULT_COMM_ERROR;
    EXPECT_EQ(TalvorenFlowInterface::convertReturnCodeToEcrTransactionResult(c.code, status),
              c.mapped)
        << "code " << c.code;
    EXPECT_EQ(status, c.status) << "code " << c.code;
  }
}

// The numbers themselves reach the host through the terminal API.
TEST(ReturnCodeTable, StatusNumbersAreFixed) {
  const std::pair<EcrTransactionResult, uint32_t> numbers[] = {
      {RESULT_OK, 0},
      {RESULT_COMM_ERROR, 1},
      {RESULT_ARGUMENT_MISSING, 2},
      {RESULT_UNKNOWN_RETURN_CODE, 3},
      {RESULT_TERMINAL_CODE_2, 4},
      {RESULT_TERMINAL_CODE_4, 5},
      {RESULT_TERMINAL_CODE_5, 6},
      {RESULT_TERMINAL_CODE_6, 7},
      {RESULT_TERMINAL_CODE_7, 8},
      {RESULT_NO_DATA, 9},
      {RESULT_TERMINAL_CODE_9, 10},
      {RESULT_TERMINAL_CODE_11, 11},
      {RESULT_TERMINAL_NOT_READY, 12},
      {RESULT_UNEXPECTED_STATUS, 13},
  };
  for (const auto& n : numbers) EXPECT_EQ(static_cast<uint32_t>(n.first), n.second);
  static_assert(sizeof(EcrTransactionResult) == 4, "the host reads a 32-bit status");
}

struct EqualityCase {
  Result a;
  Result b;
  bool equal;
  const char* why;
};

TEST(ResultEquality, StatusAndMessageByteForByte) {
  const EqualityCase cases[] = {
      {Result(), Result(RESULT_OK), true, "default is OK with no message"},
      {Result(), Result(RESULT_OK, ""), true, "empty message is no message"},
      {Result(RESULT_NO_DATA, "abc"), Result(RESULT_NO_DATA, "abc"), true, "same both"},
      {Result(RESULT_NO_DATA, "abc"), Result(RESULT_TERMINAL_CODE_9, "abc"), false, "status"},
      {Result(RESULT_NO_DATA, "abc"), Result(RESULT_NO_DATA, "abd"), false, "one byte"},
      {Result(RESULT_NO_DATA, "abc"), Result(RESULT_NO_DATA, "ab"), false, "prefix"},
      {Result(RESULT_NO_DATA, std::string("a\0b", 3)), Result(RESULT_NO_DATA, "a"), false,
       "bytes after a NUL count"},
  };
  for (const EqualityCase& c : cases) {
    EXPECT_EQ(c.a == c.b, c.equal) << c.why;
    EXPECT_EQ(c.a != c.b, !c.equal) << c.why;
    EXPECT_EQ(c.b == c.a, c.equal) << c.why;
  }
}

}  // namespace
}  // namespace zq::app::protocols

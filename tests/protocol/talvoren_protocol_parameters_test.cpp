// The protocol's own checks behind the setters: values the terminal API
// would not pass on are still refused here, logged, and leave the earlier
// value in place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/TagNames.h"
#include "protocol/TalvorenProtocol.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

constexpr int kFatalPriority = 0;

struct RefusalCase {
  const char* name;
  std::function<void(TalvorenProtocol&)> earlier;
  std::function<bool(TalvorenProtocol&)> refused;  // false when the operation reported the refusal
  tlv::TlvTag tag;
  Bytes kept;
  int priority;
  const char* line;
};

TEST(TalvorenProtocolParameters, RefusedValuesKeepTheEarlierOne) {
  unsigned char two[] = {'1', '2'};
  unsigned char one[] = {'7'};
  unsigned char stx[] = {0x02};
  const RefusalCase cases[] = {
      {"type 13", [](TalvorenProtocol& p) { p.setTransactionType(ECR_TRANSACTION_CASHBACK); },
       [](TalvorenProtocol& p) { p.setTransactionType(ECR_TRANSACTION_NONE); return false; },
       TAG_TRANSACTION_TYPE, bytesOf("1"), kFatalPriority, "Invalid transaction type 13"},
      {"amount with a letter", [](TalvorenProtocol& p) { p.setTransactionAmount("250"); },
       [](TalvorenProtocol& p) { p.setTransactionAmount("12a"); return false; }, TAG_AMOUNT,
       Bytes{0x02, 0x50}, kErrorPriority, "Invalid amount 12a"},
      {"amount of 13 digits", [](TalvorenProtocol& p) { p.setTransactionAmount("250"); },
       [](TalvorenProtocol& p) { p.setTransactionAmount("1234567890123"); return false; }, TAG_AMOUNT,
       Bytes{0x02, 0x50}, kErrorPriority, "Invalid amount 1234567890123"},
      {"empty amount", [](TalvorenProtocol& p) { p.setTransactionAmount("250"); },
       [](TalvorenProtocol& p) { p.setTransactionAmount(""); return false; }, TAG_AMOUNT,
       Bytes{0x02, 0x50}, kErrorPriority, "Invalid amount "},
      {"cash register of two bytes", [&](TalvorenProtocol& p) { p.setCashRegisterId(one, 1); },
       [&](TalvorenProtocol& p) { return p.setCashRegisterId(two, 2); }, TAG_CASH_REGISTER_ID, bytesOf("7"),
       kErrorPriority, "Invalid cash register ID length: 2. 1 byte expected"},
      {"cash register that is an STX", [&](TalvorenProtocol& p) { p.setCashRegisterId(one, 1); },
       [&](TalvorenProtocol& p) { return p.setCashRegisterId(stx, 1); }, TAG_CASH_REGISTER_ID, bytesOf("7"),
       kErrorPriority, "Control byte 0x02 at position 0 refused"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    TalvorenProtocol protocol;
    c.earlier(protocol);
    recordDeveloperLog();
    EXPECT_FALSE(c.refused(protocol));
    Bytes value;
    ASSERT_TRUE(protocol.readTag(c.tag, value));
    EXPECT_EQ(value, c.kept);
    EXPECT_TRUE(logged(c.priority, c.line)) << ::testing::PrintToString(developerLines(c.priority));
  }
}

TEST(TalvorenProtocolParameters, EveryTypeIsStoredAsItsNumber) {
  TalvorenProtocol protocol;
  for (uint32_t type = 0; type <= 12; ++type) {
    SCOPED_TRACE(type);
    protocol.setTransactionType(static_cast<ecr_transactionType>(type));
    Bytes value;
    ASSERT_TRUE(protocol.readTag(TAG_TRANSACTION_TYPE, value));
    EXPECT_EQ(value, bytesOf(std::to_string(type)));
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing

// The tag list: its size, a few numbers and names, and that every listed tag
// is one the store can write and find again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TagNames.h"
#include "core/TlvCtx.h"

namespace {

using zq::app::tlv::TlvBytes;
using zq::app::tlv::TlvCtx;
using zq::app::tlv::TlvDbgDump;
using zq::app::tlv::TlvTag;

struct Row {
  const char* name;
  TlvTag tag;
};

const std::vector<Row>& rows() {
  static const std::vector<Row> list = {
#define ZQ_TAG(name, number) {#name, number},
#include "core/TagList.def"
#undef ZQ_TAG
  };
  return list;
}

TEST(TagNamesTest, ListHoldsEveryTagInOrder) {
  ASSERT_EQ(rows().size(), 137u);
  EXPECT_STREQ(rows().front().name, "TAG_INVALID");
  EXPECT_STREQ(rows()[22].name, "TAG_IN_REQUEST_TOKEN");
  EXPECT_STREQ(rows()[116].name, "TAG_FLEET_CARD_TAG_ITEM_ID");
  EXPECT_STREQ(rows().back().name, "TAG_CONSTRUCTED_OUT_FLEET_CARD_PRODUCT_LIST");

  using namespace zq::app::tlv;
  EXPECT_EQ(TAG_INVALID, 0u);
  EXPECT_EQ(TAG_AMOUNT, 0x9F02u);
  EXPECT_EQ(TAG_TRANSACTION_TYPE, 0x9Cu);
  EXPECT_EQ(TAG_TRANSACTION_CURRENCY, 0x5F2Au);
  EXPECT_EQ(TAG_TRANSACTION_NUMBER, 0x9FD401u);
  EXPECT_EQ(TAG_EV_COUPON_PARAM5, 0x9FE021u);
  EXPECT_EQ(TAG_CONTINUE_PREVIOUS_TRANSACTION, 0x9FCD02u);
  EXPECT_EQ(TAG_FLEET_CARD_TAG_CAR_DRIVER_CODE, 0xDF0Au);
  EXPECT_EQ(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, 0x7F02u);
  // The constants are also reachable from every subsystem's namespace.
  EXPECT_EQ(zq::app::TAG_TID, 0x9F1Cu);
}

TEST(TagNamesTest, DumpNamesANumberAfterItsFirstRow) {
  const TlvDbgDump dump(TlvBytes{});
  EXPECT_EQ(dump.tagToString(0), "TAG_INVALID");
  EXPECT_EQ(dump.tagToString(0x9FD401), "TAG_TRANSACTION_NUMBER");
  EXPECT_EQ(dump.tagToString(0xDF0B), "TAG_ADDITIONAL_TRANSACTION_FLAG");
  EXPECT_EQ(dump.tagToString(0xDF01), "TAG_IN_REQUEST_TOKEN");
  EXPECT_EQ(dump.tagToString(0xDF04), "TAG_EMV_CRYPTOGRAM_TYPE");
  EXPECT_EQ(dump.tagToString(0x7F01), "TAG_CONSTRUCTED_FLEET_CARD_SALE_ITEM_LIST");
  EXPECT_EQ(dump.tagToString(0x9F37), "");
}

TEST(TagNamesTest, EveryListedTagCanBeStoredAndFound) {
  TlvCtx ctx;
  for (const Row& row : rows()) {
    if (row.tag == 0) continue;
    SCOPED_TRACE(row.name);
    const TlvBytes value = {static_cast<unsigned char>(row.tag & 0xFF)};
    ASSERT_EQ(ctx.updateTag(row.tag, value), TLV_OK);
    TlvBytes out;
    EXPECT_EQ(ctx.getTagValue(row.tag, out), TLV_OK);
    EXPECT_EQ(out, value);
  }
}

}  // namespace

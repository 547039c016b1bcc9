// Fleet-card lines: the product lines of each item (with the placeholders
// of missing fields), the fleet data rows, the signature block, and which
// of them the fleet-card flags allow.
#include "printouts/documents/FleetCardDataExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using zq::test::bytesOf;
using Strings = std::vector<std::string>;
using FleetTest = zq::test::DocumentsTest;

// One BER-TLV item with a two-byte tag.
Bytes tlv(uint16_t tag, const Bytes& value) {
  Bytes out = {static_cast<unsigned char>(tag >> 8), static_cast<unsigned char>(tag)};
  const size_t n = value.size();
  if (n >= 0x100) {
    out.insert(out.end(), {0x82, static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)});
  } else if (n >= 0x80) {
    out.insert(out.end(), {0x81, static_cast<unsigned char>(n)});
  } else {
    out.push_back(static_cast<unsigned char>(n));
  }
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A product item; nullptr leaves a field out.
Bytes item(const char* id, const char* quantity, const char* unitPrice, const char* amount) {
  Bytes fields;
  if (id) fields = join({fields, tlv(0xDF01, bytesOf(id))});
  if (amount) fields = join({fields, tlv(0xDF03, bytesOf(amount))});
  if (unitPrice) fields = join({fields, tlv(0xDF05, bytesOf(unitPrice))});
  if (quantity) fields = join({fields, tlv(0xDF06, bytesOf(quantity))});
  return tlv(0x7F01, fields);
}

class FleetCardTest : public FleetTest {
 protected:
  void plantFleetData(uint8_t flags, const Bytes& extraRows = {}) {
    set(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA,
        join({tlv(0xDF01, {flags}), tlv(0xDF02, bytesOf("1=DIESEL|2=PB95 SUPER|3=MYJNIA")), extraRows}));
  }
  void plantProducts(const Bytes& items) { set(TAG_CONSTRUCTED_OUT_FLEET_CARD_PRODUCT_LIST, items); }
};

TEST_F(FleetCardTest, ProductLinesShowNameThenQuantityTimesPriceEqualsAmount) {
  const struct {
    const char* name;
    Bytes items;
    Strings lines;
    const char* devLog;  // nullptr: none to check
  } cases[] = {
      {"three items of different lengths",
       join({item("1", "10", "549", "5490"), item("2", "42.5", "659", "28008"), item("3", "1", "2000", "2000")}),
       {"DIESEL", "10 * 5,49 = 54,90", "PB95 SUPER", "42.5 * 6,59 = 280,08", "MYJNIA", "1 * 20,00 = 20,00"},
       nullptr},
      {"no quantity", item("1", nullptr, "549", "549"), {"DIESEL", "0 * 5,49 = 5,49"},
       "Item quantity df06 is missing"},
      {"no unit price", item("1", "2", nullptr, "1098"), {"DIESEL", "2 * ?.?? = 10,98"},
       "Item price df05 is missing"},
      {"no amount", item("1", "2", "549", nullptr), {"DIESEL", "2 * 5,49 = ?.??"},
       "Item price df03 is missing"},
      {"id without a name", item("9", "1", "100", "100"), {"", "1 * 1,00 = 1,00"},
       "Item receipt data is missing"},
      {"no id", item(nullptr, "1", "100", "100"), {"", "1 * 1,00 = 1,00"}, "Item ID is missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    plantFleetData(0x01);
    plantProducts(c.items);
    FleetCardDataExtractor().addFleetCardReceiptItemsToPrintout(ecr);
    EXPECT_EQ(trimmedTexts(), c.lines);
    if (c.devLog) {
      EXPECT_TRUE(devLogged(c.devLog)) << c.devLog;
    }
  }
}

TEST_F(FleetCardTest, ProductLinesEndAfterTheLastIndexOneByteCanName) {
  Bytes items;
  for (int i = 0; i < 300; ++i) items = join({items, item("1", "1", "1", "1")});
  plantFleetData(0x01);
  plantProducts(items);
  FleetCardDataExtractor().addFleetCardReceiptItemsToPrintout(ecr);
  EXPECT_EQ(texts().size(), 2u * 255u);
}

TEST_F(FleetCardTest, FlagsDecideWhichFleetLinesArePrinted) {
  const struct {
    const char* name;
    int flags;  // -1: no fleet data at all
    bool products;
    bool data;
    bool signature;
  } cases[] = {
      {"fleet card", 0x01, true, true, false},
      {"signature bit alone", 0x02, false, false, false},
      {"fleet card with signature", 0x03, true, true, true},
      {"not a fleet card", -1, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    if (c.flags >= 0) plantFleetData(static_cast<uint8_t>(c.flags), tlv(0xDF05, bytesOf("123456")));
    plantProducts(item("1", "10", "549", "5490"));
    FleetCardDataExtractor extractor;
    extractor.addFleetCardReceiptItemsToPrintout(ecr);
    EXPECT_EQ(texts().size(), c.products ? 2u : 0u);
    clearLines();
    extractor.addAFleetCardDataToPrintout(ecr);
    EXPECT_EQ(texts().size(), c.data ? 1u : 0u);
    clearLines();
    extractor.addFleetCardSignatureDataToPrintout(ecr, 64);
    EXPECT_EQ(texts().size(), c.signature ? 4u : 0u);
  }
}

TEST_F(FleetCardTest, DataRowsAreLabelledAndInTableOrder) {
  printout.normalLineLen = 40;
  plantFleetData(0x01, join({tlv(0xDF0A, bytesOf("K7")), tlv(0xDF05, bytesOf("123456")),
                             tlv(0xDF03, bytesOf("V-42"))}));
  FleetCardDataExtractor().addAFleetCardDataToPrintout(ecr);
  EXPECT_EQ(texts(), (Strings{"Numer Pojazdu: " + std::string(21, ' ') + "V-42",
                              "Przebieg: " + std::string(24, ' ') + "123456",
                              "Kod Kierowcy: " + std::string(24, ' ') + "K7"}));
}

TEST_F(FleetCardTest, SignatureBlockSplitsTheDottedLineForCashierAndCustomer) {
  const struct {
    unsigned width;
    std::string dots;
  } cases[] = {
      {64, std::string(32, '.') + " " + std::string(31, '.')},
      {63, std::string(31, '.') + " " + std::string(30, '.')},
      {2, ". "},
      {1, " "},  // no dot left for either half, and nothing below zero
      {0, " "},
  };
  plantFleetData(0x03);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    clearLines();
    printout.normalLineLen = c.width;
    FleetCardDataExtractor().addFleetCardSignatureDataToPrintout(ecr, c.width);
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[0], std::string(c.width, ' '));
    EXPECT_EQ(texts()[1], std::string(c.width, ' '));
    EXPECT_EQ(texts()[2], c.dots);
  }
  clearLines();
  printout.normalLineLen = 64;
  FleetCardDataExtractor().addFleetCardSignatureDataToPrintout(ecr, 64);
  EXPECT_EQ(texts()[3], "Kasjer" + std::string(52, ' ') + "Klient");
}

}  // namespace

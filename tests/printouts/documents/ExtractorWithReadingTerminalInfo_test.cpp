// The terminal's identity at the head of every printout (IDs and address,
// their fallbacks and the one request for the general information when the
// store lacks them), and where the payment title goes.
#include "printouts/documents/ExtractorWithReadingTerminalInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/ConnectedDocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "printouts/documents/TransactionTitleExtractor.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using zq::test::bytesOf;
using zq::test::GoldenLine;
using zq::test::TerminalSimulator;
using zq::test::leftIn;
using zq::test::w1250;
using TerminalInfoTest = zq::test::DocumentsTest;
using TerminalInfoFromTerminalTest = zq::test::ConnectedDocumentsTest;

TEST_F(TerminalInfoTest, IdsAreTheirBytesUpToTheFirstZeroByte) {
  const struct {
    const char* name;
    Bytes tid;
    Bytes mid;
    std::string expectedTid;
    std::string expectedMid;
    const char* error;  // nullptr: none
  } cases[] = {
      {"full length", bytesOf("12345678"), bytesOf("123456789012345"), "12345678", "123456789012345",
       nullptr},
      // Shorter IDs leave zero bytes in the fixed buffers; they are no part
      // of the ID.
      {"shorter", bytesOf("T456"), bytesOf("M123"), "T456", "M123", nullptr},
      {"a zero byte inside", {'1', '2', 0, '4'}, {'M', 0}, "12", "M", nullptr},
      {"TID too long", bytesOf("123456789"), bytesOf("M123"), "", "M123",
       "Unable to read terminal ID, status 0x04"},
      {"MID too long", bytesOf("T456"), bytesOf("1234567890123456"), "T456", "",
       "Unable to read merchant ID, status 0x04"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    set(TAG_TID, c.tid);
    set(TAG_MID, c.mid);
    EXPECT_EQ(TidExtractor().getData(ecr), c.expectedTid);
    EXPECT_EQ(MidExtractor().getData(ecr), c.expectedMid);
    if (c.error != nullptr) {
      EXPECT_EQ(busCount(c.error), 1u);
    }
    // A value that is there, even too long, is never asked for again.
    EXPECT_EQ(busCount("Requested terminal ID was not present, attempt to retrieve it"), 0u);
  }
}

TEST_F(TerminalInfoTest, MissingIdsStayEmptyWhenTheTerminalCannotBeAsked) {
  // The fixture's link is down, so the request for the information fails.
  EXPECT_EQ(TidExtractor().getData(ecr), "");
  EXPECT_EQ(MidExtractor().getData(ecr), "");
  AddressExtractor().handleExtractedData(ecr);
  EXPECT_TRUE(printout.lines.empty());
  for (const char* name : {"terminal ID", "merchant ID", "terminal address"}) {
    EXPECT_EQ(busCount(std::string("Requested ") + name + " was not present, attempt to retrieve it"), 1u)
        << name;
  }
  EXPECT_EQ(busCount("Unable to get terminal general information"), 3u);
}

TEST_F(TerminalInfoFromTerminalTest, MissingIdsAreAskedForOnceAndReadAgain) {
  const struct {
    const char* name;
    TerminalSimulator::Bytes reply;
    std::string tid;
    std::string mid;
    std::vector<std::string> errors;
  } cases[] = {
      {"the answer holds them", message({"26", "0", "Shop 7,Long St 1,00-950 City,M123,T4567890"}),
       "T4567890", "M123", {}},
      // The second read fails as "absent" again: logged once, with the
      // data's name, and no further request.
      {"the answer lacks the TID", message({"26", "0", "Shop 7,Long St 1,00-950 City,M123,"}), "",
       "M123", {"Unable to read terminal ID, status 0x05"}},
      {"the terminal refuses", message({"26", "6", "Busy"}), "", "",
       {"Unable to get terminal general information"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    // The same answer again, should the MID extractor have to ask too.
    terminal.addStep(TerminalSimulator::step(message({"26", "1", "2"}), c.reply));
    terminal.addStep(TerminalSimulator::step(message({"26", "1", "2"}), c.reply));
    connect(terminal);
    EXPECT_EQ(TidExtractor().getData(ecr), c.tid);
    EXPECT_EQ(terminal.requests().size(), 1u);
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(busCount("Requested terminal ID was not present, attempt to retrieve it"), 1u);
    for (const std::string& error : c.errors) EXPECT_EQ(busCount(error), 1u) << error;
    if (c.errors.empty()) {
      EXPECT_EQ(busCount("Unable to read terminal ID, status 0x05"), 0u);
    }
    // The MID came with the same answer: no second request.
    EXPECT_EQ(MidExtractor().getData(ecr), c.mid);
    EXPECT_EQ(terminal.requests().size(), c.mid.empty() ? 2u : 1u);
  }
}

TEST_F(TerminalInfoTest, AddressLinesInBothLayouts) {
  printout.normalLineLen = 20;
  setText(TAG_TERMINAL_ADDRESS_1, "Shop 7");
  setText(TAG_TERMINAL_ADDRESS_2, "Long Street 1, 00-950 City");  // cut to the width
  setText(TAG_TERMINAL_ADDRESS_3, "Tel. 22 123 45 67");
  AddressExtractor().handleExtractedData(ecr);
  FiscalAddressExtractor().handleExtractedData(ecr);
  zq::test::expectLines(printout.lines,
                        {
                            GoldenLine{leftIn("Shop 7", 20), 0},
                            GoldenLine{"Long Street 1, 00-95", 1},
                            GoldenLine{leftIn("Tel. 22 123 45 67", 20), 2},
                            // Fiscal lines: the fiscal width (31) and line number (14).
                            GoldenLine{leftIn("Shop 7", 31), 14},
                            GoldenLine{leftIn("Long Street 1, 00-950 City", 31), 14},
                            GoldenLine{leftIn("Tel. 22 123 45 67", 31), 14},
                        });
}

TEST_F(TerminalInfoTest, AnAddressLineThatCannotBeReadDropsTheWholeAddress) {
  setText(TAG_TERMINAL_ADDRESS_1, "Shop 7");
  setText(TAG_TERMINAL_ADDRESS_2, "Long St 1");
  setText(TAG_TERMINAL_ADDRESS_3, std::string(66, 'x'));  // one byte more than a line holds
  AddressExtractor().handleExtractedData(ecr);
  EXPECT_TRUE(printout.lines.empty());
  EXPECT_EQ(busCount("Unable to read terminal address, status 0x04"), 1u);
  EXPECT_EQ(busCount("Requested terminal address was not present, attempt to retrieve it"), 0u);
}

TEST_F(TerminalInfoFromTerminalTest, AThirdAddressLineMissingFromTheAnswerPrintsNoAddress) {
  TerminalSimulator terminal;
  terminal.addStep(generalInformation("Shop 7,Long St 1,,M123,T4567890"));
  connect(terminal);
  AddressExtractor().handleExtractedData(ecr);
  EXPECT_EQ(terminal.requests().size(), 1u);
  EXPECT_TRUE(printout.lines.empty());
  EXPECT_EQ(busCount("Unable to read terminal address, status 0x05"), 1u);
}

TEST_F(TerminalInfoTest, TitleComesFirstAfterAnEmptyLineOnStandardAndBeforeOneOnFiscal) {
  printout.normalLineLen = 24;
  const std::string label = w1250("TYTUŁ PŁATNOŚCI:");
  setText(TAG_TRANSACTION_TITLE, "Invoice 2024/03/117");
  StandardTransactionTitleExtractor().addTextToPrintout(ecr);
  FiscalTransactionTitleExtractor().addTextToPrintout(ecr);
  zq::test::expectLines(printout.lines,
                        {
                            GoldenLine{leftIn("", 24), 0},
                            GoldenLine{leftIn(label, 24), 1},
                            GoldenLine{leftIn("Invoice 2024/03/117", 24), 2},
                            // Fiscal lines as they are, numbered with the generic line.
                            GoldenLine{label, 14},
                            GoldenLine{"Invoice 2024/03/117", 14},
                            GoldenLine{"", 14},
                        });
}

TEST_F(TerminalInfoTest, TitleIsCutToTheWidthOrLeftOutWhenAbsent) {
  StandardTransactionTitleExtractor extractor;
  extractor.addTextToPrintout(ecr);
  EXPECT_TRUE(printout.lines.empty());
  EXPECT_EQ(busCount("Unable to get tag 0x009FD407, status 0x05"), 1u);

  const std::string title(80, 'T');
  setText(TAG_TRANSACTION_TITLE, title);
  extractor.addTextToPrintout(ecr);
  ASSERT_EQ(printout.lines.size(), 3u);
  EXPECT_EQ(std::string(printout.lines[2].text), title.substr(0, 64));
}

}  // namespace

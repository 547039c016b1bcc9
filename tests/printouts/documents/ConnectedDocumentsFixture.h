// The documents fixture with its terminal context connected to the scripted
// terminal instead of a refused port, for printouts whose data the terminal
// sends (report sections, the general information asked for on the way).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/Sleep.h"
#include "printouts/documents/DocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "support/TerminalSimulator.h"

namespace zq::test {

class ConnectedDocumentsTest : public DocumentsTest {
 protected:
  static void skipPause(unsigned int) {}

  void SetUp() override {
    DocumentsTest::SetUp();
    // Commands pause after monitored sends; the tests do not wait for them.
    zq::app::utils::registerCustomSleep(skipPause);
  }
  void TearDown() override {
    DocumentsTest::TearDown();
    zq::app::utils::registerCustomSleep(nullptr);
  }

  // The context on the scripted terminal, cash register '1', terminal
  // index 2; the protocol store starts empty.
  void connect(const TerminalSimulator& terminal) {
    ecr_setProtocol(ecr, 0);
    ASSERT_EQ(ecr_setTcpIpLink(ecr, "127.0.0.1", terminal.port(), 2000), ECR_OK);
    ASSERT_EQ(ecr_setCashRegisterId(ecr, "1", 1), ECR_OK);
    ASSERT_EQ(ecr_setTerminalIndex(ecr, 2), ECR_OK);
    journal().clear();
  }

  static TerminalSimulator::Bytes message(std::initializer_list<std::string> fields) {
    return TerminalSimulator::fields(fields);
  }
  // The terminal's identity as a general-information reply leaves it.
  void plantTerminalIdentity() {
    setText(zq::app::tlv::TAG_TID, "T4567890");
    setText(zq::app::tlv::TAG_MID, "123456789012345");
    setText(zq::app::tlv::TAG_TERMINAL_ADDRESS_1, "Shop 7");
    setText(zq::app::tlv::TAG_TERMINAL_ADDRESS_2, "Long St 1");
    setText(zq::app::tlv::TAG_TERMINAL_ADDRESS_3, "00-950 City");
  }

  // The head of a printout of that identity, on a normal width of w: the
  // header logo, the address and the two ID lines; in fiscal form without the
  // logo, the address on the fiscal width, every line numbered 14.
  static std::vector<GoldenLine> identityLines(size_t w) {
    return {pictureLine(0, PR_PICTURE_HEADER_LOGO),     GoldenLine{leftIn("Shop 7", w), 1},
            GoldenLine{leftIn("Long St 1", w), 2},         GoldenLine{leftIn("00-950 City", w), 3},
            GoldenLine{leftIn("POS ID: T4567890", w), 4}, GoldenLine{leftIn("MID: 123456789012345", w), 5}};
  }
  static std::vector<GoldenLine> fiscalIdentityLines(size_t w) {
    return {GoldenLine{leftIn("Shop 7", 31), 14},          GoldenLine{leftIn("Long St 1", 31), 14},
            GoldenLine{leftIn("00-950 City", 31), 14},     GoldenLine{leftIn("POS ID: T4567890", w), 14},
            GoldenLine{leftIn("MID: 123456789012345", w), 14}};
  }

  // A report section fetch ("31" cardset, "32" report total, "35" analysis
  // total, "37" DCC currency, "38" DCC total) answered with this summary.
  static PeerStep section(const std::string& id, const std::string& index, const std::string& summary) {
    const TerminalSimulator::Bytes request =
        index.empty() ? message({id, "1"}) : message({id, "1", index});
    return TerminalSimulator::step(request, message({id, "0", summary}));
  }

  // The general-information exchange, answered with this information text.
  static PeerStep generalInformation(const std::string& text) {
    return TerminalSimulator::step(message({"26", "1", "2"}), message({"26", "0", text}));
  }
};

}  // namespace zq::test

// The terminal's side of one whole successful card purchase, as a script
// for TerminalSimulator, plus the builders of the status replies it is made
// of (for tests that script other transactions).
//
//   zq::test::PurchaseDetails sale;              // realistic defaults
//   TerminalSimulator terminal(zq::test::purchaseScript(sale));
//   ... set kind purchase (0), amount BCD of sale.amount, cash register '1',
//   ... run the start of the transaction ...
//   EXPECT_EQ(terminal.stepsDone(), terminal.requests().size());
//
// The script: status reads answered busy (8), processing (9), then idle;
// the start request "21" of a purchase of `amount` (no title, no
// additional data); then status reads through waiting for card, waiting
// for PIN, processing, end data ready (with the end data "22"), card
// removal and idle. Each step expects the exact request bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/LoopbackPeer.h"

namespace zq::test {

struct PurchaseDetails {
  char cashRegister = '1';
  std::string amount = "1250";  // minor units, as the start request carries it
  std::string authorizationCode = "A1B2C3";
  std::string merchantId = "M000123456";
  std::string maskedPan = "************1234";
  std::string date = "2024-03-15";
  std::string time = "14:32:07";
  std::string applicationName = "VISA CREDIT";
  std::string reader = "C";  // chip
  std::string terminalId = "T4567001";
  std::string transactionNumber = "42";
  std::string authorizationMessageNumber = "000042";
  std::string authorizationMethod = "1";  // PIN
  std::string currency = "PLN";
  std::string cardPrompt = "Insert card";
  std::string pinPrompt = "Enter PIN";
  std::string processingPrompt = "Processing";
  std::string removalPrompt = "Remove card";
};

using ScriptBytes = std::vector<uint8_t>;

// "20" FS cash register: the status read.
ScriptBytes statusRequest(char cashRegister = '1');
// A status reply with return code 0: raw status as two hex digits, then,
// when a prompt or characteristics are given, prompt number and the
// expected-data characteristics "min,max,allowed,special,prompt".
ScriptBytes statusReply(uint32_t rawStatus);
ScriptBytes statusReply(uint32_t rawStatus, uint32_t promptNumber,
                        const std::string& characteristics);
// A status reply showing a prompt only ("0,0,,," then the text).
ScriptBytes promptReply(uint32_t rawStatus, uint32_t promptNumber, const std::string& prompt);

// The details text of the end data: the positional card fields, comma
// separated, as the terminal reports them.
std::string purchaseDetailsText(const PurchaseDetails& details);
// The reply "22" of a purchase (kind 1, return code 0, number, details).
ScriptBytes purchaseEndDataReply(const PurchaseDetails& details);
// The start request "21" of a purchase of details.amount.
ScriptBytes purchaseStartRequest(const PurchaseDetails& details);

std::vector<PeerStep> purchaseScript(const PurchaseDetails& details = PurchaseDetails());

}  // namespace zq::test

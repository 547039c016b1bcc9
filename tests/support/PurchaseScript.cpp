#include "support/PurchaseScript.h"

#include <cstdio>

#include "support/TerminalSimulator.h"

namespace zq::test {

namespace {

constexpr uint8_t FS = TerminalSimulator::FS;

void append(ScriptBytes& out, const std::string& field) {
  out.push_back(FS);
  out.insert(out.end(), field.begin(), field.end());
}

std::string hexStatus(uint32_t raw) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(raw & 0xFF));
  return text;
}

PeerStep exact(const ScriptBytes& request, const ScriptBytes& reply) {
  return TerminalSimulator::step(request, reply);
}

}  // namespace

ScriptBytes statusRequest(char cashRegister) {
  return TerminalSimulator::fields({"20", std::string(1, cashRegister)});
}

ScriptBytes statusReply(uint32_t rawStatus) {
  return TerminalSimulator::fields({"20", "0", hexStatus(rawStatus)});
}

ScriptBytes statusReply(uint32_t rawStatus, uint32_t promptNumber,
                        const std::string& characteristics) {
  ScriptBytes out = statusReply(rawStatus);
  append(out, std::to_string(promptNumber));
  append(out, characteristics);
  return out;
}

ScriptBytes promptReply(uint32_t rawStatus, uint32_t promptNumber, const std::string& prompt) {
  return statusReply(rawStatus, promptNumber, "0,0,,," + prompt);
}

std::string purchaseDetailsText(const PurchaseDetails& d) {
  // Authorisation code, server message, MID, PAN, date, time, application,
  // reader, TID, authorisation message number, authorisation type, amount,
  // authorisation method, ATC, AC, AID, reference (2-character marker), TVR
  // (1-character marker), TSI, title, printing indicator, transaction
  // currency.
  const std::vector<std::string> fields = {
      d.authorizationCode, "",  d.merchantId, d.maskedPan, d.date, d.time,
      d.applicationName,   d.reader, d.terminalId, d.authorizationMessageNumber,
      "1",                 d.amount, d.authorizationMethod, "0012", "1122334455667788",
      "A0000000031010",    "RN240315000042", "T0000008000", "E800", "", "1", d.currency};
  std::string text;
  for (size_t i = 0; i < fields.size(); ++i) text += (i ? "," : "") + fields[i];
  return text;
}

ScriptBytes purchaseEndDataReply(const PurchaseDetails& d) {
  ScriptBytes out = TerminalSimulator::fields({"22", "0", "1", "0", d.transactionNumber});
  append(out, purchaseDetailsText(d));
  return out;
}

ScriptBytes purchaseStartRequest(const PurchaseDetails& d) {
  // Kind 1, the amount, an empty title and no additional request data.
  return TerminalSimulator::fields({"21", std::string(1, d.cashRegister), "1", d.amount, "", ""});
}

std::vector<PeerStep> purchaseScript(const PurchaseDetails& d) {
  const ScriptBytes status = statusRequest(d.cashRegister);
  std::vector<PeerStep> steps;
  steps.push_back(exact(status, statusReply(0x08)));
  steps.push_back(exact(status, statusReply(0x09)));
  steps.push_back(exact(status, statusReply(0x00)));
  steps.push_back(exact(purchaseStartRequest(d), TerminalSimulator::fields({"21", "0"})));
  steps.push_back(exact(status, promptReply(0x01, 1, d.cardPrompt)));
  steps.push_back(exact(status, promptReply(0x02, 2, d.pinPrompt)));
  steps.push_back(exact(status, promptReply(0x09, 3, d.processingPrompt)));
  steps.push_back(exact(status, statusReply(0x06)));
  steps.push_back(exact(TerminalSimulator::fields({"22", std::string(1, d.cashRegister)}),
                        purchaseEndDataReply(d)));
  steps.push_back(exact(status, promptReply(0x07, 4, d.removalPrompt)));
  steps.push_back(exact(status, statusReply(0x00)));
  return steps;
}

}  // namespace zq::test

#include "printouts/engine/FiscalFormat.h"

#include <algorithm>

namespace zq::app::printouts {

namespace {

struct DefaultLine {
  pr_FiscalFormatId id;
  pr_FiscalFormatLine line;  // printer line number, longest text
};

const DefaultLine kDefaultLines[] = {
    {PR_FISCAL_LINE_0, {1, 15}},
    {PR_FISCAL_RECEIPT_NUMBER, {2, 15}},
    {PR_FISCAL_TID_MID, {4, 24}},
    {PR_FISCAL_PAN_EXPIRY, {9, 26}},
    {PR_FISCAL_CARD_LABEL, {8, 33}},
    {PR_FISCAL_AMOUNT, {31, 25}},
    {PR_FISCAL_AMOUNT_REFUND, {32, 25}},
    {PR_FISCAL_AMOUNT_PREAUTH, {72, 25}},
    {PR_FISCAL_CASHBACK, {33, 25}},
    {PR_FISCAL_TIP, {34, 25}},
    {PR_FISCAL_TOTAL, {57, 25}},
    {PR_FISCAL_AUTH_CODE, {17, 12}},
    {PR_FISCAL_LIMIT, {20, 15}},
    {PR_FISCAL_LINE_13, {21, 0}},
    {PR_FISCAL_LINE_14, {22, 0}},
    {PR_FISCAL_TRANSACTION_VOIDED, {23, 0}},
    {PR_FISCAL_PIN_VERIFIED, {24, 0}},
    {PR_FISCAL_SIGNATURE_FIELD, {25, 0}},
    {PR_FISCAL_SIGNATURE_LABEL, {26, 0}},
    {PR_FISCAL_MERCHANT_COPY, {29, 0}},
    {PR_FISCAL_CUSTOMER_COPY, {30, 0}},
    {PR_FISCAL_AID, {36, 33}},
    {PR_FISCAL_CRYPTOGRAM_TC, {37, 35}},
    {PR_FISCAL_CRYPTOGRAM_AAC, {38, 35}},
    {PR_FISCAL_CRYPTOGRAM_ARQC, {41, 35}},
    {PR_FISCAL_DECLINE, {54, 0}},
    {PR_FISCAL_LINE_26, {55, 19}},
    {PR_FISCAL_RECEIPT_NUMBER_DCC, {76, 15}},
    {PR_FISCAL_PAN_EXPIRY_DCC, {81, 26}},
    {PR_FISCAL_CARD_LABEL_DCC, {80, 34}},
    {PR_FISCAL_AMOUNT_DCC, {61, 25}},
    {PR_FISCAL_AMOUNT_REFUND_DCC, {62, 25}},
    {PR_FISCAL_AMOUNT_PREAUTH_DCC, {82, 25}},
    {PR_FISCAL_CASHBACK_DCC, {60, 25}},
    {PR_FISCAL_TIP_DCC, {95, 25}},
    {PR_FISCAL_TOTAL_DCC, {88, 21}},
    {PR_FISCAL_AUTH_CODE_DCC, {89, 12}},
    {PR_FISCAL_LIMIT_DCC, {92, 15}},
    {PR_FISCAL_PIN_VERIFIED_DCC, {70, 0}},
    {PR_FISCAL_SIGNATURE_LABEL_DCC, {71, 0}},
    {PR_FISCAL_LINE_26_DCC, {93, 15}},
    {PR_FISCAL_DCC_RATE_SOURCE, {65, 15}},
    {PR_FISCAL_GENERIC, {14, 31}},
};

struct DccPair {
  pr_FiscalFormatId plain;
  pr_FiscalFormatId dcc;
};

// Fixed pairs. PR_FISCAL_GENERIC has none, so the fiscal width and the line
// number of generic lines stay the same on DCC receipts.
const DccPair kDccPairs[] = {
    {PR_FISCAL_RECEIPT_NUMBER, PR_FISCAL_RECEIPT_NUMBER_DCC},
    {PR_FISCAL_PAN_EXPIRY, PR_FISCAL_PAN_EXPIRY_DCC},
    {PR_FISCAL_CARD_LABEL, PR_FISCAL_CARD_LABEL_DCC},
    {PR_FISCAL_AMOUNT, PR_FISCAL_AMOUNT_DCC},
    {PR_FISCAL_AMOUNT_REFUND, PR_FISCAL_AMOUNT_REFUND_DCC},
    {PR_FISCAL_AMOUNT_PREAUTH, PR_FISCAL_AMOUNT_PREAUTH_DCC},
    {PR_FISCAL_CASHBACK, PR_FISCAL_CASHBACK_DCC},
    {PR_FISCAL_TIP, PR_FISCAL_TIP_DCC},
    {PR_FISCAL_TOTAL, PR_FISCAL_TOTAL_DCC},
    {PR_FISCAL_AUTH_CODE, PR_FISCAL_AUTH_CODE_DCC},
    {PR_FISCAL_LIMIT, PR_FISCAL_LIMIT_DCC},
    {PR_FISCAL_PIN_VERIFIED, PR_FISCAL_PIN_VERIFIED_DCC},
    {PR_FISCAL_SIGNATURE_LABEL, PR_FISCAL_SIGNATURE_LABEL_DCC},
    {PR_FISCAL_LINE_26, PR_FISCAL_LINE_26_DCC},
};

}  // namespace

FiscalFormat& FiscalFormat::getInstance() {
  // Left alive at exit, as every process-wide object of the library is.
  static FiscalFormat& instance = *new FiscalFormat();
  return instance;
}

FiscalFormat::FiscalFormat() {
  for (const DefaultLine& d : kDefaultLines) formatLines[d.id] = d.line;
}

FiscalFormat::~FiscalFormat() = default;

pr_FiscalFormatId FiscalFormat::dccVariant(pr_FiscalFormatId id) {
  for (const DccPair& pair : kDccPairs) {
    if (pair.plain == id) return pair.dcc;
  }
  return id;
}

pr_FiscalFormatLine& FiscalFormat::getLine(pr_FiscalFormatId id) {
  // One step only: a DCC variant is never remapped again.
  const pr_FiscalFormatId key = dcc ? dccVariant(id) : id;
  return formatLines[key];  // a missing id is kept as {0, 0}
}

uint32_t FiscalFormat::getId(pr_FiscalFormatId id) { return getLine(id).id; }

uint32_t FiscalFormat::getLen(pr_FiscalFormatId id) { return getLine(id).len; }

uint32_t FiscalFormat::getLineWidth() {
  return std::min<uint32_t>(getLen(PR_FISCAL_GENERIC), PR_LINE_TEXT_MAX_LEN);
}

void FiscalFormat::set(pr_FiscalFormatId id, const pr_FiscalFormatLine& line) {
  formatLines[id] = line;
}

void FiscalFormat::setDcc(bool on) { dcc = on; }

}  // namespace zq::app::printouts

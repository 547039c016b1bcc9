#include "printouts/documents/PanAndExpiryDateExtractor.h"

#include <cstring>
#include <vector>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/AdvancedLineBuilder.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

constexpr size_t kPanGroup = 4;
// What a terminal sends in the PAN tag when it has no card number to show.
constexpr char kEmptyPan[] = "                ";

std::string hexOfByte(unsigned char byte) {
  return utils::hexToAscii(std::vector<unsigned char>{byte}, false);
}

}  // namespace

void PanAndExpiryDateExtractor::addTextToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  panLinePrinted = false;
  if (!preparePan()) return;
  std::memset(rawExpiryDate, 0, sizeof rawExpiryDate);
  rawExpiryDateLength = sizeof rawExpiryDate;
  const ecr_status status =
      ecr_readTag(ecr, TAG_CARD_EXPIRY_DATE, rawExpiryDate, &rawExpiryDateLength);
  handleAttemptToReadData(status);
  addPreparedPanAndExpiryDateToPrintout();
  panLinePrinted = true;
}

void PanAndExpiryDateExtractor::dividePan(const std::string& text) {
  pan.clear();
  for (size_t at = 0; at < text.size(); at += kPanGroup) {
    pan += text.substr(at, kPanGroup);
    pan += ' ';
  }
}

std::string PanAndExpiryDateExtractor::blankExpiryDate() const {
  return std::string("  ") + getExpiryDateSeparator() + "  ";
}

void PanAndExpiryDateExtractor::handlePresentData() {
  if (rawExpiryDateLength >= 2) {
    expiryDate = hexOfByte(rawExpiryDate[0]) + getExpiryDateSeparator() + hexOfByte(rawExpiryDate[1]);
    return;
  }
  expiryDate = blankExpiryDate();
  logBusError("Card expiry date invalid, print %s", expiryDate.c_str());
}

void PanAndExpiryDateExtractor::handleMissingData() {
  expiryDate = blankExpiryDate();
  logBusTrace("Card expiry date missing, print %s", expiryDate.c_str());
}

void PanAndExpiryDateExtractor::handleReadingDataError(ecr_status status) {
  logBusError("Unable to get card expiry date, status 0x%02X", static_cast<unsigned>(status));
  expiryDate = PrintDictionary::phrase(PR_DICT_UNKNOWN);
}

// ---- which PAN ----

bool MerchantPanAndExpiryDateExtractor::preparePan() {
  if (!checkStandardTag(TAG_MASKED_PAN) || isPanEmpty()) return false;
  dividePan(value);
  return true;
}

bool MerchantPanAndExpiryDateExtractor::isPanEmpty() const { return value == kEmptyPan; }

bool CustomerPanAndExpiryDateExtractor::preparePan() {
  if (!checkStandardTag(TAG_MASKED_PAN_FOR_CUSTOMER)) return MerchantPanAndExpiryDateExtractor::preparePan();
  dividePan(value);
  return true;
}

// ---- standard ----

char StandardPanAndExpiryDateExtractor::getExpiryDateSeparator() const { return '/'; }

void StandardPanAndExpiryDateExtractor::addTextToPrintout(EcrCtx_s* ecr, unsigned int width) {
  lineWidth = width;
  PanAndExpiryDateExtractor::addTextToPrintout(ecr);
}

void StandardPanAndExpiryDateExtractor::addPreparedPanAndExpiryDateToPrintout() const {
  TwoEntryLineOverlapBuilder::get().buildLine(
      RawLineTexts(pan, RawLineTexts::getPair(PR_DICT_VALID_TO, expiryDate)), lineWidth);
}

void StandardPanAndExpiryDateExtractor::addMultilangExpiryDateToPrintout() {
  if (!panLinePrinted) return;
  PrintoutCtx_s::addStandardSimpleRightLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_VALID_TO_EN, expiryDate)));
}

// ---- fiscal ----

char FiscalPanAndExpiryDateExtractor::getExpiryDateSeparator() const { return '\x1E'; }

void FiscalPanAndExpiryDateExtractor::addPreparedPanAndExpiryDateToPrintout() const {
  PrintoutCtx_s::addFiscalSimpleTwoTextsLineToCtx(RawLineTexts(pan, expiryDate), PR_FISCAL_PAN_EXPIRY);
}

// ---- the process-wide instances, left alive at exit as every process-wide
// object of the library is ----

StandardPanAndExpiryDateExtractor& StandardCustomerPanAndExpiryDateExtractor::get() {
  static StandardCustomerPanAndExpiryDateExtractor& instance =
      *new StandardCustomerPanAndExpiryDateExtractor();
  return instance;
}

StandardPanAndExpiryDateExtractor& StandardMerchantPanAndExpiryDateExtractor::get() {
  static StandardMerchantPanAndExpiryDateExtractor& instance =
      *new StandardMerchantPanAndExpiryDateExtractor();
  return instance;
}

FiscalPanAndExpiryDateExtractor& FiscalCustomerPanAndExpiryDateExtractor::get() {
  static FiscalCustomerPanAndExpiryDateExtractor& instance =
      *new FiscalCustomerPanAndExpiryDateExtractor();
  return instance;
}

FiscalPanAndExpiryDateExtractor& FiscalMerchantPanAndExpiryDateExtractor::get() {
  static FiscalMerchantPanAndExpiryDateExtractor& instance =
      *new FiscalMerchantPanAndExpiryDateExtractor();
  return instance;
}

}  // namespace zq::app::printouts

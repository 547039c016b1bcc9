#include "printouts/documents/FleetCardDataExtractor.h"

#include <cstdint>

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

constexpr size_t kFleetRoom = 64;
// Product items are addressed by a one-byte index counted from 1.
constexpr unsigned kLastItemIndex = UINT8_MAX;

struct FleetDataRow {
  TlvTag subTag;
  pr_Dictionary label;
};

constexpr FleetDataRow kFleetDataRows[] = {
    {TAG_FLEET_CARD_TAG_VEHICLE_NR, PR_DICT_FLEET_VEHICLE_NUMBER},
    {TAG_FLEET_CARD_TAG_DRIVER_NR, PR_DICT_FLEET_DRIVER_NUMBER},
    {TAG_FLEET_CARD_TAG_MILEAGE, PR_DICT_FLEET_ODOMETER},
    {TAG_FLEET_CARD_TAG_CAR_REGISTRATION_NR, PR_DICT_FLEET_REGISTRATION_NUMBER},
    {TAG_FLEET_CARD_TAG_UNIT_NR, PR_DICT_FLEET_UNIT_NUMBER},
    {TAG_FLEET_CARD_TAG_ADDITIONAL_DATA, PR_DICT_FLEET_DATA},
    {TAG_FLEET_CARD_TAG_CAR_REPLACEMENT_INDICATOR, PR_DICT_FLEET_VEHICLE_INDICATOR},
    {TAG_FLEET_CARD_TAG_CAR_DRIVER_CODE, PR_DICT_FLEET_DRIVER_CODE},
};

// One field of a product item as text; false when the item lacks it.
bool readItemField(TlvStore_s* item, TlvTag tag, std::string& text) {
  unsigned char buffer[kFleetRoom] = {};
  size_t length = sizeof buffer;
  if (::readTag(item, tag, buffer, &length) != 0) return false;
  text.assign(reinterpret_cast<const char*>(buffer), length);
  return true;
}

}  // namespace

bool FleetCardDataExtractor::isFleetCardIndicator(EcrCtx_s* ecr) {
  bool indicator = false;
  return ecr_readIfIsFleetCardIndicator(ecr, &indicator) == ECR_OK && indicator;
}

bool FleetCardDataExtractor::isFleetCardSignature(EcrCtx_s* ecr) {
  bool signature = false;
  return ecr_readIfIsFleetCardSignature(ecr, &signature) == ECR_OK && signature;
}

void FleetCardDataExtractor::addEmptyLine() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts());
}

void FleetCardDataExtractor::addFleetCardReceiptItemsToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  if (!isFleetCardIndicator(ecr)) return;
  TlvStore_s* item = nullptr;
  tlv_init(&item);
  // The index is one byte wide: item 255 is the last one that can be asked for.
  for (unsigned index = 1; index <= kLastItemIndex; ++index) {
    unsigned char buffer[kFleetRoom] = {};
    size_t length = sizeof buffer;
    if (ecr_readFleetCardProductData(ecr, static_cast<uint8_t>(index), buffer, &length) != ECR_OK) break;
    clearStore(item);
    setBuffer(item, buffer, length);
    addPrintoutProductLines(ecr, item);
  }
  tlv_clean(&item);
}

void FleetCardDataExtractor::addPrintoutProductLines(EcrCtx_s* ecr, TlvStore_s* item) {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(buildPrintoutProductName(ecr, TAG_FLEET_CARD_TAG_ITEM_ID, item)));
  const std::string quantity = buildPrintoutProductQuantity(TAG_FLEET_CARD_TAG_QUANTITY, item);
  const std::string unitPrice = buildPrintoutProductAmount(TAG_FLEET_CARD_TAG_UNIT_PRICE, item);
  const std::string amount = buildPrintoutProductAmount(TAG_FLEET_CARD_TAG_AMOUNT, item);
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(quantity + " * " + unitPrice + " = " + amount));
}

std::string FleetCardDataExtractor::buildPrintoutProductName(EcrCtx_s* ecr, TlvTag tag, TlvStore_s* item) {
  std::string id;
  if (!readItemField(item, tag, id)) {
    logDevError("Item ID is missing");
    return std::string();
  }
  char name[kFleetRoom] = {};
  if (ecr_readFleetCardProductName(ecr, id.c_str(), name, sizeof name) != ECR_OK) {
    logDevError("Item receipt data is missing");
    return std::string();
  }
  name[sizeof name - 1] = '\0';
  return name;
}

std::string FleetCardDataExtractor::buildPrintoutProductQuantity(TlvTag tag, TlvStore_s* item) {
  std::string quantity;
  if (!readItemField(item, tag, quantity)) {
    logDevError("Item quantity %x is missing", static_cast<unsigned>(tag));
    return "0";
  }
  return quantity;
}

std::string FleetCardDataExtractor::buildPrintoutProductAmount(TlvTag tag, TlvStore_s* item) {
  std::string text;
  if (!readItemField(item, tag, text)) {
    logDevError("Item price %x is missing", static_cast<unsigned>(tag));
    return "?.??";
  }
  return prepareAmount(text);
}

void FleetCardDataExtractor::addAFleetCardDataToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  if (!isFleetCardIndicator(ecr)) return;
  for (const FleetDataRow& row : kFleetDataRows) {
    unsigned char buffer[kFleetRoom] = {};
    size_t length = sizeof buffer;
    if (ecr_readFleetCardData(ecr, row.subTag, buffer, &length) != ECR_OK) continue;
    if (length > sizeof buffer) length = sizeof buffer;
    PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(
        RawLineTexts(row.label, std::string(reinterpret_cast<const char*>(buffer), length)));
  }
}

void FleetCardDataExtractor::addFleetCardSignatureDataToPrintout(EcrCtx_s* ecr, unsigned int width) {
  this->ecr = ecr;
  if (!isFleetCardIndicator(ecr) || !isFleetCardSignature(ecr)) return;
  addEmptyLine();
  addEmptyLine();
  // Cashier's half and customer's half, a blank between them. Below a width
  // of 2 the customer's half has no dot left rather than minus one.
  const size_t half = width / 2;
  const size_t right = half > 0 ? half - 1 : 0;
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx(
      RawLineTexts(std::string(half, '.') + " " + std::string(right, '.')));
  PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_CASHIER), PrintDictionary::phrase(PR_DICT_CUSTOMER)));
}

}  // namespace zq::app::printouts

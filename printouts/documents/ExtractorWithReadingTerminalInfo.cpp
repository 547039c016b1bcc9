#include "printouts/documents/ExtractorWithReadingTerminalInfo.h"

#include <cstring>

#include "core/zumbra_log.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

// A terminal that sends a shorter ID than its field leaves the rest of the
// buffer zero; those bytes are no part of the ID and would cut a header line
// that joins the ID with further texts.
std::string upToFirstZero(const uint8_t* bytes, size_t size) {
  const void* zero = std::memchr(bytes, 0, size);
  const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : size;
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

void ExtractorWithReadingTerminalInfo::handleExtractedData(EcrCtx_s* ecr) {
  this->ecr = ecr;
  handleAttemptToReadData(tryToReadData());
}

void ExtractorWithReadingTerminalInfo::handleMissingData() {
  logBusWarn("Requested %s was not present, attempt to retrieve it", getDataTypeName());
  if (ecr_readTerminalInformationData(ecr) != ECR_OK) {
    logBusError("Unable to get terminal general information");
    return;
  }
  const ecr_status status = tryToReadData();
  if (status != ECR_OK) {
    logBusError("Unable to read %s, status 0x%02X", getDataTypeName(),
                static_cast<unsigned>(status));
    return;
  }
  handlePresentData();
}

std::string TidExtractor::getData(EcrCtx_s* ecr) {
  handleExtractedData(ecr);
  return tid;
}

ecr_status TidExtractor::tryToReadData() {
  std::memset(rawTid, 0, sizeof rawTid);
  size_t length = sizeof rawTid;
  return ecr_readTerminalId(ecr, rawTid, &length);
}

void TidExtractor::handlePresentData() { tid = upToFirstZero(rawTid, sizeof rawTid); }

void TidExtractor::handleReadingDataError(ecr_status status) {
  logBusError("Unable to read terminal ID, status 0x%02X", static_cast<unsigned>(status));
}

std::string MidExtractor::getData(EcrCtx_s* ecr) {
  handleExtractedData(ecr);
  return mid;
}

ecr_status MidExtractor::tryToReadData() {
  std::memset(rawMid, 0, sizeof rawMid);
  size_t length = sizeof rawMid;
  return ecr_readMerchantId(ecr, rawMid, &length);
}

void MidExtractor::handlePresentData() { mid = upToFirstZero(rawMid, sizeof rawMid); }

void MidExtractor::handleReadingDataError(ecr_status status) {
  logBusError("Unable to read merchant ID, status 0x%02X", static_cast<unsigned>(status));
}

ecr_status AddressExtractor::tryToReadData() {
  std::memset(addressLines, 0, sizeof addressLines);
  size_t lengths[3] = {kLineRoom, kLineRoom, kLineRoom};
  return ecr_readTerminalAddress(ecr, addressLines[0], &lengths[0], addressLines[1], &lengths[1],
                                 addressLines[2], &lengths[2]);
}

std::string AddressExtractor::lineText(size_t index) const {
  return upToFirstZero(addressLines[index], kLineRoom);
}

void AddressExtractor::handlePresentData() {
  for (size_t i = 0; i < 3; ++i) {
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(lineText(i)));
  }
}

void AddressExtractor::handleReadingDataError(ecr_status status) {
  logBusError("Unable to read terminal address, status 0x%02X", static_cast<unsigned>(status));
}

void FiscalAddressExtractor::handlePresentData() {
  for (size_t i = 0; i < 3; ++i) {
    PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(lineText(i)), PR_FISCAL_GENERIC);
  }
}

}  // namespace zq::app::printouts

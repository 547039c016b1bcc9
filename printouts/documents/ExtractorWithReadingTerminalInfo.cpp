#include "printouts/documents/ExtractorWithReadingTerminalInfo.h"

#include <cstring>

#include "api/EcrCtx.h"
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
  ecr_status fetched = ECR_ERROR;
  {
    // The printout holds the terminal context and refuses commands from the
    // callbacks it raises; this one is its own.
    const api::PrintoutOwnCommand own(ecr);
    fetched = ecr_readTerminalInformationData(ecr);
  }
  if (fetched != ECR_OK) {
    logBusError("Unable to get terminal general information");
    return;
  }
  const ecr_status status = tryToReadData();
  if (status != ECR_OK) {
    ExtractorWithReadingTerminalInfo::handleReadingDataError(status);
    return;
  }
  handlePresentData();
}

void ExtractorWithReadingTerminalInfo::handleReadingDataError(ecr_status status) {
  logBusError("Unable to read %s, status 0x%02X", getDataTypeName(), static_cast<unsigned>(status));
}

template <size_t Size>
std::string ExtractorWithReadingIdentifier<Size>::getData(EcrCtx_s* ecr) {
  handleExtractedData(ecr);
  return id;
}

template <size_t Size>
ecr_status ExtractorWithReadingIdentifier<Size>::readWith(Reader reader) {
  std::memset(raw, 0, sizeof raw);
  size_t length = sizeof raw;
  return reader(ecr, raw, &length);
}

template <size_t Size>
void ExtractorWithReadingIdentifier<Size>::handlePresentData() {
  id = upToFirstZero(raw, sizeof raw);
}

template class ExtractorWithReadingIdentifier<8>;
template class ExtractorWithReadingIdentifier<15>;

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

void FiscalAddressExtractor::handlePresentData() {
  for (size_t i = 0; i < 3; ++i) {
    PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(lineText(i)), PR_FISCAL_GENERIC);
  }
}

}  // namespace zq::app::printouts

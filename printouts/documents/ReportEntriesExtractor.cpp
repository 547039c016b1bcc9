#include "printouts/documents/ReportEntriesExtractor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/Converters.h"
#include "core/zumbra_log.h"
#include "printouts/engine/AdvancedLineBuilder.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

constexpr size_t kNameRoom = 64;

}  // namespace

void ReportEntriesExtractor::addEntriesToPrintout(EcrCtx_s* ecr, const unsigned& width) {
  this->ecr = ecr;
  entryIndex = 1;
  setDefaultCurrencyData();
  while (tryToReadNextEntry(width)) {
  }
}

bool ReportEntriesExtractor::tryToReadNextEntry(const unsigned& width) {
  uint8_t name[kNameRoom] = {};
  size_t nameLength = sizeof name;
  uint32_t count = 0;
  int64_t sum = 0;
  const ecr_status status = ecr_readReportEntry(ecr, entryIndex, name, &nameLength, &count, &sum);
  if (status == ECR_EMPTY) {
    // No further entry: the normal end of the list.
    logBusTrace("%u report entries acquired", static_cast<unsigned>(entryIndex - 1));
    return false;
  }
  if (status != ECR_OK) {
    logBusError("Unable to extract report entry %u, status 0x%02X", static_cast<unsigned>(entryIndex),
                static_cast<unsigned>(status));
    return false;
  }
  addHeader();
  amount = utils::int64ToAscii(sum);
  const std::string nameText(reinterpret_cast<const char*>(name), std::min(nameLength, sizeof name));
  ThreeEntryLineBuilder::get().buildLine(
      RawLineTexts(nameText, utils::uint64ToAscii(count), buildAmountEntry()), width);
  ++entryIndex;
  return true;
}

void ReportEntriesExtractor::addHeader() const {
  if (entryIndex == 1) addColumnHeader();
}

void ReportEntriesExtractor::addColumnHeader() {
  PrintoutCtx_s::addStandardSimpleThreeTextsLineToCtx(RawLineTexts(
      std::string(), PrintDictionary::phrase(PR_DICT_COUNT), PrintDictionary::phrase(PR_DICT_AMOUNT)));
}

}  // namespace zq::app::printouts

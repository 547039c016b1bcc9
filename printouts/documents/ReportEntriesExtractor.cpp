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

// What a print line holds of a name.
constexpr size_t kPrintedName = PR_LINE_TEXT_MAX_LEN;
// Room for any name the terminal can send: a name comes in one reply, and no
// reply is longer than the link's input buffer of 64 KB. With less room the
// reader would refuse a long name, and that refusal would end the list: every
// entry after it would vanish from the report.
constexpr size_t kNameRoom = 65536;

}  // namespace

void ReportEntriesExtractor::addEntriesToPrintout(EcrCtx_s* ecr, const unsigned& width) {
  this->ecr = ecr;
  entryIndex = 1;
  setDefaultCurrencyData();
  while (tryToReadNextEntry(width)) {
  }
}

bool ReportEntriesExtractor::tryToReadNextEntry(const unsigned& width) {
  // Made once per section; only the bytes the reader reports are used.
  if (name.size() < kNameRoom) name.resize(kNameRoom);
  size_t nameLength = name.size();
  uint32_t count = 0;
  int64_t sum = 0;
  const ecr_status status = ecr_readReportEntry(ecr, entryIndex, name.data(), &nameLength, &count, &sum);
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
  nameLength = std::min(nameLength, name.size());
  if (nameLength > kPrintedName) {
    logBusWarn("Report entry %u name of %u bytes cut to %u", static_cast<unsigned>(entryIndex),
               static_cast<unsigned>(nameLength), static_cast<unsigned>(kPrintedName));
    nameLength = kPrintedName;
  }
  const std::string nameText(reinterpret_cast<const char*>(name.data()), nameLength);
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

#include "printouts/documents/AdditionalCardsetLineInterface.h"

#include <cstdint>

#include "core/TagNames.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void AdditionalCardsetLineInterface::handleCardsetLines() const {
  for (TlvTag tag : {tlv::TAG_ADDITIONAL_CARDSET_VALUE_1, tlv::TAG_ADDITIONAL_CARDSET_VALUE_2,
                     tlv::TAG_ADDITIONAL_CARDSET_VALUE_3, tlv::TAG_ADDITIONAL_CARDSET_VALUE_4,
                     tlv::TAG_ADDITIONAL_CARDSET_VALUE_5}) {
    handleSingleCardsetLine(tag);
  }
}

void AdditionalCardsetLineInterface::handleSingleCardsetLine(TlvTag tag) const {
  uint8_t buffer[128] = {};
  size_t length = sizeof buffer;
  // Absent or longer than the room: no line, and nothing to log on top of
  // what the reader logs.
  if (ecr_readTag(ecr, tag, buffer, &length) != ECR_OK) return;
  if (length > sizeof buffer) length = sizeof buffer;
  addLine(std::string(reinterpret_cast<const char*>(buffer), length));
}

void StandardCardsetLine::addLine(const std::string& text) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(text));
}

void FiscalCardsetLine::addLine(const std::string& text) const {
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(text), PR_FISCAL_GENERIC);
}

}  // namespace zq::app::printouts

// The protocol operations that store the parameters of the next request.
#include "protocol/TalvorenProtocol.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

void TalvorenProtocol::setTransactionType(ecr_transactionType) {}
void TalvorenProtocol::setTransactionAmount(const std::string&) {}
void TalvorenProtocol::setTransactionId(const uint32_t&) {}
void TalvorenProtocol::setTransactionTitle(const std::string&) {}
void TalvorenProtocol::setTransactionBlikCode(const std::string&) {}
void TalvorenProtocol::setAdditionalPrintoutData(const std::string&) {}
void TalvorenProtocol::addFleetCardProductData(const std::vector<unsigned char>&) {}
void TalvorenProtocol::setTransactionTokenGenerationEnabled() {}
void TalvorenProtocol::setNumberOfTransactionToComplete(const std::string&) {}
void TalvorenProtocol::setNumberOfTransactionToReverse(const std::string&) {}

bool TalvorenProtocol::setTag(TlvTag tag, const std::vector<unsigned char>& value) {
  return ctx.getApiCtx().setTagValue(tag, value);
}

tlv::TlvStatus TalvorenProtocol::removeTag(TlvTag tag) { return ctx.getApiCtx().removeTag(tag); }

bool TalvorenProtocol::setCashRegisterId(unsigned char*, size_t) { return false; }

void TalvorenProtocol::setEvoucherOperationType(unsigned char) {}
void TalvorenProtocol::setEvoucherEan(const std::string&) {}

}  // namespace zq::app::protocols

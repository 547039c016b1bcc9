// The protocol operations that read what the terminal answered.
#include "protocol/TalvorenProtocol.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

ecr_terminalStatus TalvorenProtocol::readTerminalStatus() {
  return ctx.getMaintenanceCtx().getTransactionStatus();
}
ecr_transactionType TalvorenProtocol::readTransactionType() { return ECR_TRANSACTION_NONE; }
ecr_transactionType TalvorenProtocol::readOriginalTransactionType() { return ECR_TRANSACTION_NONE; }
CardReaderType TalvorenProtocol::getUsedReaderType() { return ctx.getApiCtx().getCardReadetType(); }
AuthorizationType TalvorenProtocol::getAuthorizationType() {
  return ctx.getApiCtx().getAuthorizationType();
}
AuthorizationMethod TalvorenProtocol::getAuthorizationMethod() {
  return ctx.getApiCtx().getAuthorizationMethod();
}
EmvCryptogramType TalvorenProtocol::getEmvCryptogramType() {
  return ctx.getApiCtx().getEmvCryptogramType();
}
ecr_batchStatus TalvorenProtocol::getBatchStatus() { return ctx.getApiCtx().getBatchStatus(); }
std::string TalvorenProtocol::getReportTitle() { return std::string(); }
std::string TalvorenProtocol::getReportEntryName(size_t) { return std::string(); }
utils::Optional<uint32_t> TalvorenProtocol::getReportTransactionCount(size_t) {
  return utils::Optional<uint32_t>();
}
utils::Optional<int64_t> TalvorenProtocol::getReportSummaryAmount(size_t) {
  return utils::Optional<int64_t>();
}
bool TalvorenProtocol::getReportSummaryAmountValid(size_t) { return false; }
bool TalvorenProtocol::getDidTerminalMakePrintout() {
  return ctx.getApiCtx().getDidTerminalMakePrintout();
}
bool TalvorenProtocol::getIsReversal() { return false; }
bool TalvorenProtocol::getMultilanguagePrintout() { return ctx.getApiCtx().getMultilanguagePrintout(); }
bool TalvorenProtocol::getIsManualReversal() { return ctx.getApiCtx().getIsManualReversal(); }

bool TalvorenProtocol::readTag(TlvTag tag, std::vector<unsigned char>& value) {
  utils::Optional<std::vector<unsigned char>> stored = ctx.getApiCtx().getTagValue(tag);
  if (!stored.isPresent()) return false;
  value = stored.get();
  return true;
}

std::vector<TlvTag> TalvorenProtocol::getMandatoryTransactionTags() { return {}; }
std::vector<TlvTag> TalvorenProtocol::getOptionalTransactionTags() { return {}; }

}  // namespace zq::app::protocols

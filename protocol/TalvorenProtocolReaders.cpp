// The protocol operations that read what the terminal answered.
#include <memory>

#include "protocol/TalvorenProtocol.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

ecr_terminalStatus TalvorenProtocol::readTerminalStatus() {
  return ctx.getMaintenanceCtx().getTransactionStatus();
}

ecr_transactionType TalvorenProtocol::readTransactionType() {
  // The stored number goes through the kind objects, so a number outside the
  // known kinds reads as "none" rather than as an enumerator nobody defined.
  std::unique_ptr<TalvorenTransactionType> kind(ctx.getTransactionCtx().getTransactionType());
  if (!kind) return ECR_TRANSACTION_NONE;
  return static_cast<ecr_transactionType>(kind->getType());
}

ecr_transactionType TalvorenProtocol::readOriginalTransactionType() {
  return ctx.getTransactionCtx().getOriginalTransactionType();
}

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

// The report readers look at the stored summary in place; each takes a copy
// of the one entry it reads.
std::string TalvorenProtocol::getReportTitle() { return ctx.getReportCtx().getReportSummary().getTitle(); }

std::string TalvorenProtocol::getReportEntryName(size_t index) {
  utils::Optional<SummaryEntry> entry = ctx.getReportCtx().getReportSummary().getEntry(index);
  return entry.isPresent() ? entry.get().getEntryType() : std::string();
}

utils::Optional<uint32_t> TalvorenProtocol::getReportTransactionCount(size_t index) {
  utils::Optional<SummaryEntry> entry = ctx.getReportCtx().getReportSummary().getEntry(index);
  if (!entry.isPresent()) return utils::Optional<uint32_t>();
  return utils::Optional<uint32_t>(entry.get().getTransactionCount());
}

utils::Optional<int64_t> TalvorenProtocol::getReportSummaryAmount(size_t index) {
  utils::Optional<SummaryEntry> entry = ctx.getReportCtx().getReportSummary().getEntry(index);
  if (!entry.isPresent()) return utils::Optional<int64_t>();
  return utils::Optional<int64_t>(entry.get().getSummaryAmount());
}

bool TalvorenProtocol::getReportSummaryAmountValid(size_t index) {
  utils::Optional<SummaryEntry> entry = ctx.getReportCtx().getReportSummary().getEntry(index);
  return entry.isPresent() && entry.get().getSummaryAmountValid();
}

bool TalvorenProtocol::getDidTerminalMakePrintout() {
  return ctx.getApiCtx().getDidTerminalMakePrintout();
}
bool TalvorenProtocol::getIsReversal() { return ctx.getTransactionCtx().getIsReversal(); }
bool TalvorenProtocol::getMultilanguagePrintout() { return ctx.getApiCtx().getMultilanguagePrintout(); }
bool TalvorenProtocol::getIsManualReversal() { return ctx.getApiCtx().getIsManualReversal(); }

bool TalvorenProtocol::readTag(TlvTag tag, std::vector<unsigned char>& value) {
  utils::Optional<std::vector<unsigned char>> stored = ctx.getApiCtx().getTagValue(tag);
  if (!stored.isPresent()) return false;
  value = stored.get();
  return true;
}

// Without these three a transaction result cannot be told apart from the
// result of another transaction, so the host's copy refuses to exist without
// them.
std::vector<TlvTag> TalvorenProtocol::getMandatoryTransactionTags() {
  return {TAG_TRANSACTION_TYPE, TAG_TRANSACTION_RETURN_CODE, TAG_TRANSACTION_NUMBER};
}

std::vector<TlvTag> TalvorenProtocol::getOptionalTransactionTags() {
  std::vector<TlvTag> tags = {
      0x9FD601, 0x89,     0x9FD402, 0x9F16,   0x9FD450, 0x9A,     0x9F21,   0x9F12,
      0x9FD403, 0x9F1C,   0x9FD404, 0x9FD405, 0x9F02,   0x9FD451, 0x9F36,   0x9F26,
      0x9F06,   0x9FD406, 0x95,     0x9B,     0x9FD407, 0x9FD801, 0x5F2A,   0x5F3C,
      0x9F3A,   0x9FD408, 0x9FD409, 0x9FD40A, 0x9F03,   0x9F79,   0x5F36,
  };
  for (TlvTag tag = 0xDF01; tag <= 0xDF0D; ++tag) tags.push_back(tag);
  tags.push_back(0x9FE001);
  tags.push_back(0x9FE002);
  for (TlvTag tag = 0x9FE011; tag <= 0x9FE01F; ++tag) tags.push_back(tag);
  for (TlvTag tag = 0x9FE021; tag <= 0x9FE02A; ++tag) tags.push_back(tag);
  tags.push_back(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR);
  tags.push_back(TAG_AMOUNT_OF_TIP);
  tags.push_back(TAG_CONSTRUCTED_OUT_FLEET_CARD_PRODUCT_LIST);
  tags.push_back(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA);
  return tags;
}

}  // namespace zq::app::protocols

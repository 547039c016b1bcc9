#include "protocol/TalvorenProtocol.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

// What every command answers until its flow exists: a failure the terminal
// functions report as ECR_ERROR, never a success with nothing done.
Result notImplemented(const char* operation) {
  logDevError("%s: not implemented yet", operation);
  return Result(utils::RESULT_UNKNOWN_RETURN_CODE, "Not implemented yet");
}

}  // namespace

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

Result TalvorenProtocol::getTerminalStatus(link::Link&) { return notImplemented("getTerminalStatus"); }
Result TalvorenProtocol::getTerminalGeneralInfo(link::Link&) {
  return notImplemented("getTerminalGeneralInfo");
}
Result TalvorenProtocol::getBatchSummary(link::Link&) { return notImplemented("getBatchSummary"); }
Result TalvorenProtocol::getSingleTransFromSummary(link::Link&) {
  return notImplemented("getSingleTransFromSummary");
}
Result TalvorenProtocol::generateReport(link::Link&) { return notImplemented("generateReport"); }
Result TalvorenProtocol::getReportCardsetSummary(link::Link&) {
  return notImplemented("getReportCardsetSummary");
}
Result TalvorenProtocol::getReportTotalSummary(link::Link&) {
  return notImplemented("getReportTotalSummary");
}
Result TalvorenProtocol::generateTransactionAnalysis(link::Link&) {
  return notImplemented("generateTransactionAnalysis");
}
Result TalvorenProtocol::getTransactionAnalysisDetails(link::Link&) {
  return notImplemented("getTransactionAnalysisDetails");
}
Result TalvorenProtocol::getTransactionAnalysisSummary(link::Link&) {
  return notImplemented("getTransactionAnalysisSummary");
}
Result TalvorenProtocol::generateTransactionDccAnalysis(link::Link&) {
  return notImplemented("generateTransactionDccAnalysis");
}
Result TalvorenProtocol::getTransactionDccAnalysisCurrencySummary(link::Link&) {
  return notImplemented("getTransactionDccAnalysisCurrencySummary");
}
Result TalvorenProtocol::getTransactionDccAnalysisTotalSummary(link::Link&) {
  return notImplemented("getTransactionDccAnalysisTotalSummary");
}
Result TalvorenProtocol::startTransaction(link::Link&) { return notImplemented("startTransaction"); }
Result TalvorenProtocol::getLastTransactionData(link::Link&) {
  return notImplemented("getLastTransactionData");
}
Result TalvorenProtocol::passThroughMessage(link::Link&, const unsigned char*, size_t, unsigned char*,
                                            size_t*) {
  return notImplemented("passThroughMessage");
}

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

Result TalvorenProtocol::startEvoucherTransaction(link::Link&) {
  return notImplemented("startEvoucherTransaction");
}
void TalvorenProtocol::setEvoucherOperationType(unsigned char) {}
void TalvorenProtocol::setEvoucherEan(const std::string&) {}

}  // namespace zq::app::protocols

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

Result TalvorenProtocol::startEvoucherTransaction(link::Link&) {
  return notImplemented("startEvoucherTransaction");
}

}  // namespace zq::app::protocols

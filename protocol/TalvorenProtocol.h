// The Talvoren protocol behind the terminal functions.
//
// Its commands run the flows over the Link they are given; its setters and
// readers work on the one protocol context it owns.
#pragma once

#include "protocol/ProtocolInterface.h"
#include "protocol/TalvorenCtx.h"

namespace zq::app::protocols {

class TalvorenProtocol : public ProtocolInterface {
 public:
  TalvorenProtocol() = default;
  TalvorenProtocol(const TalvorenProtocol&) = delete;
  TalvorenProtocol& operator=(const TalvorenProtocol&) = delete;
  ~TalvorenProtocol() override = default;

  void setTransactionType(ecr_transactionType type) override;
  void setTransactionAmount(const std::string& digits) override;
  void setTransactionId(const uint32_t& id) override;
  void setTransactionTitle(const std::string& title) override;
  void setTransactionBlikCode(const std::string& code) override;
  void setAdditionalPrintoutData(const std::string& data) override;
  void addFleetCardProductData(const std::vector<unsigned char>& item) override;
  void setTransactionTokenGenerationEnabled() override;
  void setNumberOfTransactionToComplete(const std::string& number) override;
  void setNumberOfTransactionToReverse(const std::string& number) override;
  bool setTag(TlvTag tag, const std::vector<unsigned char>& value) override;
  tlv::TlvStatus removeTag(TlvTag tag) override;
  bool setCashRegisterId(unsigned char* id, size_t length) override;

  Result getTerminalStatus(link::Link& link) override;
  Result getTerminalGeneralInfo(link::Link& link) override;
  Result getBatchSummary(link::Link& link) override;
  Result getSingleTransFromSummary(link::Link& link) override;
  Result generateReport(link::Link& link) override;
  Result getReportCardsetSummary(link::Link& link) override;
  Result getReportTotalSummary(link::Link& link) override;
  Result generateTransactionAnalysis(link::Link& link) override;
  Result getTransactionAnalysisDetails(link::Link& link) override;
  Result getTransactionAnalysisSummary(link::Link& link) override;
  Result generateTransactionDccAnalysis(link::Link& link) override;
  Result getTransactionDccAnalysisCurrencySummary(link::Link& link) override;
  Result getTransactionDccAnalysisTotalSummary(link::Link& link) override;
  Result startTransaction(link::Link& link) override;
  Result getLastTransactionData(link::Link& link) override;
  Result passThroughMessage(link::Link& link, const unsigned char* request, size_t requestLength,
                            unsigned char* response, size_t* responseLength) override;

  ecr_terminalStatus readTerminalStatus() override;
  ecr_transactionType readTransactionType() override;
  ecr_transactionType readOriginalTransactionType() override;
  CardReaderType getUsedReaderType() override;
  AuthorizationType getAuthorizationType() override;
  AuthorizationMethod getAuthorizationMethod() override;
  EmvCryptogramType getEmvCryptogramType() override;
  ecr_batchStatus getBatchStatus() override;
  std::string getReportTitle() override;
  std::string getReportEntryName(size_t index) override;
  utils::Optional<uint32_t> getReportTransactionCount(size_t index) override;
  utils::Optional<int64_t> getReportSummaryAmount(size_t index) override;
  bool getReportSummaryAmountValid(size_t index) override;
  bool getDidTerminalMakePrintout() override;
  bool getIsReversal() override;
  bool getMultilanguagePrintout() override;
  bool getIsManualReversal() override;
  bool readTag(TlvTag tag, std::vector<unsigned char>& value) override;
  std::vector<TlvTag> getMandatoryTransactionTags() override;
  std::vector<TlvTag> getOptionalTransactionTags() override;

  Result startEvoucherTransaction(link::Link& link) override;
  void setEvoucherOperationType(unsigned char type) override;
  void setEvoucherEan(const std::string& ean) override;

  // Fetches the template of the e-voucher operator named by TAG_EV_OP_ID
  // ("41"); the terminal functions do not offer it.
  Result getEvouchOp(link::Link& link);

  TalvorenCtx& getCtx() { return ctx; }

 private:
  TalvorenCtx ctx;
};

}  // namespace zq::app::protocols

// The terminal protocol as the terminal functions see it: one operation per
// parameter setter, terminal command and result reader. Commands run over the
// Link the caller passes and report every failure in their Result; setters
// and readers work on the protocol's own store only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Optional.h"
#include "core/TlvCtx.h"
#include "core/zumbra_terminal_status.h"
#include "core/zumbra_tlv_types.h"
#include "link/Link.h"
#include "protocol/Result.h"
#include "protocol/TalvorenEnums.h"

namespace zq::app::protocols {

class ProtocolInterface {
 public:
  virtual ~ProtocolInterface() = default;

  // Parameters of the next request.
  virtual void setTransactionType(ecr_transactionType type) = 0;
  virtual void setTransactionAmount(const std::string& digits) = 0;
  virtual void setTransactionId(const uint32_t& id) = 0;
  virtual void setTransactionTitle(const std::string& title) = 0;
  virtual void setTransactionBlikCode(const std::string& code) = 0;
  virtual void setAdditionalPrintoutData(const std::string& data) = 0;
  virtual void addFleetCardProductData(const std::vector<unsigned char>& item) = 0;
  virtual void setTransactionTokenGenerationEnabled() = 0;
  virtual void setNumberOfTransactionToComplete(const std::string& number) = 0;
  virtual void setNumberOfTransactionToReverse(const std::string& number) = 0;
  // True iff the tag was stored.
  virtual bool setTag(TlvTag tag, const std::vector<unsigned char>& value) = 0;
  // A TLV status; an absent tag counts as removed.
  virtual tlv::TlvStatus removeTag(TlvTag tag) = 0;
  // The terminal takes exactly one byte, never a control byte of the link.
  virtual bool setCashRegisterId(unsigned char* id, size_t length) = 0;

  // Terminal commands.
  virtual Result getTerminalStatus(link::Link& link) = 0;
  virtual Result getTerminalGeneralInfo(link::Link& link) = 0;
  virtual Result getBatchSummary(link::Link& link) = 0;
  virtual Result getSingleTransFromSummary(link::Link& link) = 0;
  virtual Result generateReport(link::Link& link) = 0;
  virtual Result getReportCardsetSummary(link::Link& link) = 0;
  virtual Result getReportTotalSummary(link::Link& link) = 0;
  virtual Result generateTransactionAnalysis(link::Link& link) = 0;
  virtual Result getTransactionAnalysisDetails(link::Link& link) = 0;
  virtual Result getTransactionAnalysisSummary(link::Link& link) = 0;
  virtual Result generateTransactionDccAnalysis(link::Link& link) = 0;
  virtual Result getTransactionDccAnalysisCurrencySummary(link::Link& link) = 0;
  virtual Result getTransactionDccAnalysisTotalSummary(link::Link& link) = 0;
  virtual Result startTransaction(link::Link& link) = 0;
  virtual Result getLastTransactionData(link::Link& link) = 0;
  // responseLength holds the response buffer's size on entry and receives
  // the reply's length; a reply that does not fit leaves both untouched.
  virtual Result passThroughMessage(link::Link& link, const unsigned char* request,
                                    size_t requestLength, unsigned char* response,
                                    size_t* responseLength) = 0;

  // Readers of the protocol's store.
  virtual ecr_terminalStatus readTerminalStatus() = 0;
  virtual ecr_transactionType readTransactionType() = 0;
  virtual ecr_transactionType readOriginalTransactionType() = 0;
  virtual CardReaderType getUsedReaderType() = 0;
  virtual AuthorizationType getAuthorizationType() = 0;
  virtual AuthorizationMethod getAuthorizationMethod() = 0;
  virtual EmvCryptogramType getEmvCryptogramType() = 0;
  virtual ecr_batchStatus getBatchStatus() = 0;
  virtual std::string getReportTitle() = 0;
  virtual std::string getReportEntryName(size_t index) = 0;
  virtual utils::Optional<uint32_t> getReportTransactionCount(size_t index) = 0;
  virtual utils::Optional<int64_t> getReportSummaryAmount(size_t index) = 0;
  virtual bool getReportSummaryAmountValid(size_t index) = 0;
  virtual bool getDidTerminalMakePrintout() = 0;
  virtual bool getIsReversal() = 0;
  virtual bool getMultilanguagePrintout() = 0;
  virtual bool getIsManualReversal() = 0;
  // True and a copy of the value when present; false and value untouched otherwise.
  virtual bool readTag(TlvTag tag, std::vector<unsigned char>& value) = 0;
  // The tags a transaction's result image is made of: those it must hold,
  // and those it holds when the terminal sent them.
  virtual std::vector<TlvTag> getMandatoryTransactionTags() = 0;
  virtual std::vector<TlvTag> getOptionalTransactionTags() = 0;

  // E-voucher sale.
  virtual Result startEvoucherTransaction(link::Link& link) = 0;
  virtual void setEvoucherOperationType(unsigned char type) = 0;
  virtual void setEvoucherEan(const std::string& ean) = 0;
};

}  // namespace zq::app::protocols

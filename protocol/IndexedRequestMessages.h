// The requests that name one item by an index the host stored before:
// a transaction of the analysis ("34"), a cardset of the report ("31") and
// a currency of the DCC analysis ("37").
//
// Placeholder for their replies: the transaction-data and summary parsers
// that read them arrive with those messages, which replace this file. Until
// then a reply is checked by its envelope only.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/ReportSubCtx.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

// Request: FS and the stored index bytes; no index, no request.
class IndexedRequestMessage : public CommonMessage {
 public:
  IndexedRequestMessage(MaintenanceSubCtx& maintenanceCtx, const char* id,
                        const char* missingIndexText)
      : CommonMessage(maintenanceCtx), id(id), missingIndexText(missingIndexText) {}
  std::string getId() override { return id; }

 protected:
  virtual utils::Optional<std::vector<unsigned char>> getIndex() const = 0;
  bool buildMessageSpecificPart() override;
  bool parseMessageSpecificPart() override { return true; }

 private:
  const char* id;
  const char* missingIndexText;
};

class TransAnalTransDetails : public IndexedRequestMessage {
 public:
  TransAnalTransDetails(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : IndexedRequestMessage(maintenanceCtx, "34", "Transaction index missing"),
        transactionCtx(transactionCtx) {}

 protected:
  utils::Optional<std::vector<unsigned char>> getIndex() const override {
    return transactionCtx.getTransactionIndex();
  }
  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

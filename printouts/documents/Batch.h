// The closing day's own totals: per kind of transaction a count and a sum,
// and the range of receipt numbers, kept on the printout context from the
// closing-day start until the context is destroyed.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/Optional.h"
#include "printouts/engine/PrintoutCtx.h"
#include "zumbra_ecr.h"

namespace zq::app::printouts {

class Batch {
 public:
  class TransactionsSummary {
   public:
    TransactionsSummary() = default;
    explicit TransactionsSummary(pr_Dictionary name) : name(name) {}
    virtual ~TransactionsSummary() = default;

    void increment(uint64_t amount);
    uint32_t getNumber() const { return number; }
    uint64_t getSummary() const { return summary; }
    // The current text of the kind's phrase.
    std::string getName() const;

   private:
    uint32_t number = 0;
    uint64_t summary = 0;  // minor units of the currency
    pr_Dictionary name = PR_DICT_UNKNOWN;
  };

  Batch();
  virtual ~Batch() = default;

  // Counts the transaction the terminal context holds. Everything is read
  // and checked first and then counted at once, so a refused transaction
  // counts nothing and the host may add it again.
  bool addTransaction(EcrCtx_s* ecr);
  // The cashback of a cashback transaction; empty when none can be read
  // (the whole amount then stays with the sale).
  utils::Optional<uint64_t> handleCashbackAmount() const;
  // The transaction's receipt number, false when it is not a number.
  bool checkSlipNumbers(EcrCtx_s* ecr, uint64_t& slip) const;
  // Inserted empty when missing.
  TransactionsSummary& getSummary(pr_Dictionary key);
  // Writes the range around the receipts counted into the terminal context,
  // one below the lowest and one above the highest.
  void setSlips(EcrCtx_s* ecr) const;
  void setEmpty(bool value) { empty = value; }
  bool getEmpty() const { return empty; }
  // Whether the terminal sent its batch.
  std::string getSendingStatusText() const;
  // The body of the report: status, rows and totals.
  uint32_t generateBatch(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  void handleBatchEntriesAndSummary();
  void dbgDump();

 private:
  bool empty = true;  // no transaction added yet
  std::map<pr_Dictionary, TransactionsSummary> summaries;
  uint64_t firstSlip = 999999;
  uint64_t lastSlip = 0;
  PrintoutCtx_s* ctx = nullptr;  // not owned
  EcrCtx_s* ecr = nullptr;       // not owned
};

}  // namespace zq::app::printouts

// The transaction kinds the host can start. Each kind knows its two numbers
// (the host's ecr_transactionType and the terminal's own) and appends its
// sub-fields of the start request's transaction field from the transaction
// view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zq::app::protocols {

class TransactionSubCtx;

class TalvorenTransactionType {
 public:
  explicit TalvorenTransactionType(TransactionSubCtx& ctx) : ctx(ctx) {}
  TalvorenTransactionType(const TalvorenTransactionType&) = delete;
  TalvorenTransactionType& operator=(const TalvorenTransactionType&) = delete;
  virtual ~TalvorenTransactionType() = default;

  // The host's number (ecr_transactionType).
  virtual uint32_t getType() const = 0;
  // The terminal's number for the kind.
  virtual uint32_t getTransactionTypeNumber() const = 0;
  // Each appends its sub-fields (every one after an FS); false when a value
  // the kind needs is missing, or is one the host's setter would refuse.
  virtual bool handleTransactionAmountIfPresent() { return true; }
  virtual bool handleAdditionalInputData() { return true; }

  // The terminal number followed by the kind's sub-fields; empty when a
  // required value is missing or refused, and then nothing may be sent.
  std::vector<unsigned char> getTransactionSpecificData();

  // The terminal reports a reversal as the reversed kind's number plus this.
  static uint32_t getReversalResponseCode() { return 0x80; }

 protected:
  void addFs();
  void addBytes(const std::vector<unsigned char>& bytes);
  // Appends a stored value when the check of its setter would take it;
  // otherwise logs the refusal (naming the value) and answers false.
  bool addAccepted(const std::vector<unsigned char>& value, bool (*accepted)(const std::string&),
                   const char* name);

  TransactionSubCtx& ctx;
  std::vector<unsigned char> data;
};

// Kinds that carry the amount right after their number.
class TransactionWithAmount : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  bool handleTransactionAmountIfPresent() override;
};

class PurchaseTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 0; }
  uint32_t getTransactionTypeNumber() const override { return 1; }
  bool handleAdditionalInputData() override;

  static constexpr size_t kMaxTitleLength = 46;
  static constexpr size_t kMaxAdditionalDataLength = 2048;

 private:
  // False when the stored title is one the host could not have set.
  bool handleTitle();
  void handleAdditionalRequestData();
};

class CashbackTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 1; }
  uint32_t getTransactionTypeNumber() const override { return 3; }
};

class PreauthTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 2; }
  uint32_t getTransactionTypeNumber() const override { return 4; }
};

class CompletionTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 3; }
  uint32_t getTransactionTypeNumber() const override { return 5; }
  bool handleAdditionalInputData() override;
};

class RefundTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 4; }
  uint32_t getTransactionTypeNumber() const override { return 6; }
};

class ReversalTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 5; }
  uint32_t getTransactionTypeNumber() const override { return 10; }
  bool handleAdditionalInputData() override;
};

class GiftcardActivationTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 6; }
  uint32_t getTransactionTypeNumber() const override { return 42; }
};

class GiftcardBalanceTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 7; }
  uint32_t getTransactionTypeNumber() const override { return 43; }
};

class ReconciliationTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 8; }
  uint32_t getTransactionTypeNumber() const override { return 31; }
};

class ConnectionTestTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 9; }
  uint32_t getTransactionTypeNumber() const override { return 33; }
};

class ConnectToTmsTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 10; }
  uint32_t getTransactionTypeNumber() const override { return 40; }
};

class GiftcardTopupTransaction : public TransactionWithAmount {
 public:
  using TransactionWithAmount::TransactionWithAmount;
  uint32_t getType() const override { return 11; }
  uint32_t getTransactionTypeNumber() const override { return 44; }
};

class PurchaseEvoucherTransaction : public TalvorenTransactionType {
 public:
  using TalvorenTransactionType::TalvorenTransactionType;
  uint32_t getType() const override { return 12; }
  uint32_t getTransactionTypeNumber() const override { return 11; }
  bool handleAdditionalInputData() override;
};

}  // namespace zq::app::protocols

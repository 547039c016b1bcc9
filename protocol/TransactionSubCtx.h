// The transaction view: what the host asks for in a transaction and what
// the terminal answers, plus the two private stores of request items.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/ExpectedDataCharacteristics.h"
#include "protocol/SubCtxInterface.h"
#include "protocol/TalvorenEnums.h"
#include "protocol/TalvorenTransactionType.h"

namespace zq::app::protocols {

class TransactionSubCtx : public utils::SubCtxInterface {
 public:
  explicit TransactionSubCtx(tlv::TlvCtx& store) : SubCtxInterface(store) {}

  void setTransactionType(uint32_t type);
  // A new kind object for the stored host number 0 to 12, else none (NULL).
  // The caller owns and deletes it.
  TalvorenTransactionType* getTransactionType();
  TalvorenTransactionType* convertUint32ToTransactionType(uint32_t type);

  void setOriginalTransactionType(uint32_t type);
  ecr_transactionType getOriginalTransactionType() const;

  void setLastTransactionReturnCode(uint32_t code);
  void setTransactionNumber(uint32_t number);
  void setIsReversal(bool reversal);
  bool getIsReversal() const;
  void setTransactionTitle(const Bytes& title);
  utils::Optional<Bytes> getTransactionTitle() const;
  // A title serves one start request; the request removes it once built.
  void removeTransactionTitle();
  // The packed BCD amount as digit text; empty when none is stored.
  std::string getTransactionAmount() const;
  utils::Optional<Bytes> getTransactionIndex() const;
  utils::Optional<uint32_t> getPromptNumber() const;
  ExpectedDataCharacteristics getExpectedDataCharacteristics() const;
  // The host's choice of who answers the terminal's requests; 2 when unset.
  unsigned char getHandleTerminalRequests() const;
  bool getContinuePreviousTransaction() const;
  utils::Optional<Bytes> getSequenceNumberToComplete() const;
  utils::Optional<Bytes> getSequenceNumberToReverse() const;

  utils::Optional<Bytes> getEvoucherOperationType() const;
  utils::Optional<Bytes> getEvoucherEan() const;
  utils::Optional<Bytes> getEvoucherOperatorId() const;
  utils::Optional<Bytes> getEvoucherTrxOpId() const;
  void setEvoucherTransactionType(uint32_t type);
  void setEvoucherLastTransactionReturnCode(uint32_t code);
  void setEvoucherOpTemplate(const std::string& text);
  std::string getEvoucherOpTemplate() const;

  void setAsTransactionWithSignature();

  // Items that travel inside the purchase request.
  void setTransactionBlikCode(const Bytes& code);
  void setAdditionalPrintoutData(const Bytes& data);
  void setTransactionTokenGenerationEnabled();
  void addFleetCardProductData(const Bytes& item);
  // The request store's encoded items as upper-case hexadecimal text.
  Bytes getAdditionalRequestData() const;
  void clearAdditionalRequestData();

  void setCharSequenceForTerminal(const std::string& text) { charSequenceForTerminal = text; }
  std::string getCharSequenceForTerminal() const { return charSequenceForTerminal; }

  void setTransactionDetails(const std::string& text);
  void setEvoucherTransactionDetails(const std::string& text);

  // Forgets the terminal's answers to the previous transaction; the host's
  // request tags stay.
  void clearTransactionTags();
  void dumpTransactionTags();

 private:
  tlv::TlvCtx requestStore;
  tlv::TlvCtx fleetItemStore;
  std::string charSequenceForTerminal;
};

}  // namespace zq::app::protocols

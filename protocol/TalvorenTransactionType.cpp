#include "protocol/TalvorenTransactionType.h"

#include <string>

#include "core/Converters.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"
#include "protocol/CommonMessage.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

std::vector<unsigned char> TalvorenTransactionType::getTransactionSpecificData() {
  data.clear();
  utils::addUint32ToDataVector(getTransactionTypeNumber(), data);
  if (!handleTransactionAmountIfPresent()) return {};
  if (!handleAdditionalInputData()) return {};
  return data;
}

void TalvorenTransactionType::addFs() { data.push_back(CommonMessage::FS); }

void TalvorenTransactionType::addBytes(const std::vector<unsigned char>& bytes) {
  data.insert(data.end(), bytes.begin(), bytes.end());
}

bool TransactionWithAmount::handleTransactionAmountIfPresent() {
  const std::string amount = ctx.getTransactionAmount();
  if (amount.empty()) {
    logDevError("Transaction amount required but missing");
    return false;
  }
  // A reply's amount replaces the host's, and may be anything the terminal
  // sent; what the host's setter would refuse never goes out.
  if (!utils::validateAmount(amount)) {
    logDevError("Stored transaction amount not accepted, request not built");
    return false;
  }
  addFs();
  addBytes(utils::asciiToVector(amount));
  return true;
}

bool PurchaseTransaction::handleAdditionalInputData() {
  addFs();
  if (!handleTitle()) return false;
  addFs();
  handleAdditionalRequestData();
  return true;
}

bool PurchaseTransaction::handleTitle() {
  utils::Optional<std::vector<unsigned char>> title = ctx.getTransactionTitle();
  if (!title.isPresent()) return true;
  std::vector<unsigned char> bytes = *title;
  if (bytes.size() > kMaxTitleLength) {
    logDevWarn(
        "Too long transaction title. Received title length: %u, maximum possible length: %u. "
        "Title was cut.",
        static_cast<unsigned>(bytes.size()), static_cast<unsigned>(kMaxTitleLength));
    bytes.resize(kMaxTitleLength);
  }
  // A reply's title replaces the host's; one the host's setter would refuse
  // (other than by its length, which the cut mends) never goes out.
  if (!utils::validateTitle(std::string(bytes.begin(), bytes.end()))) {
    logDevError("Stored transaction title not accepted, request not built");
    return false;
  }
  addBytes(bytes);
  // A title names one request only.
  ctx.removeTransactionTitle();
  return true;
}

void PurchaseTransaction::handleAdditionalRequestData() {
  std::vector<unsigned char> text = ctx.getAdditionalRequestData();
  if (text.size() > kMaxAdditionalDataLength) {
    logDevWarn(
        "Too long additional data. Received data length: %u, maximum possible length: %u. "
        "Additional data was cut.",
        static_cast<unsigned>(text.size()), static_cast<unsigned>(kMaxAdditionalDataLength));
    text.resize(kMaxAdditionalDataLength);
  }
  addBytes(text);
  // A BLIK code, a token request or fleet items belong to one request only.
  ctx.clearAdditionalRequestData();
}

bool CompletionTransaction::handleAdditionalInputData() {
  addFs();
  addFs();
  utils::Optional<std::vector<unsigned char>> sequence = ctx.getSequenceNumberToComplete();
  if (!sequence.isPresent()) {
    logDevError("Sequence number of transaction to complete required but missing");
    return false;
  }
  addBytes(*sequence);
  return true;
}

bool ReversalTransaction::handleAdditionalInputData() {
  utils::Optional<std::vector<unsigned char>> sequence = ctx.getSequenceNumberToReverse();
  if (sequence.isPresent()) {
    addFs();
    addBytes(*sequence);
  }
  return true;
}

bool PurchaseEvoucherTransaction::handleAdditionalInputData() {
  addFs();
  utils::Optional<std::vector<unsigned char>> operation = ctx.getEvoucherOperationType();
  // The terminal takes a single character here; anything else is left out.
  if (operation.isPresent() && operation->size() == 1) addBytes(*operation);
  addFs();
  utils::Optional<std::vector<unsigned char>> ean = ctx.getEvoucherEan();
  if (!ean.isPresent()) return true;
  if (!utils::validateEAN(std::string(ean->begin(), ean->end()))) {
    logDevError("Stored EAN not accepted, request not built");
    return false;
  }
  addBytes(*ean);
  return true;
}

}  // namespace zq::app::protocols

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

bool TalvorenTransactionType::addAccepted(const std::vector<unsigned char>& value,
                                          bool (*accepted)(const std::string&), const char* name) {
  // Replies replace some request values, and ecr_setTag stores anything:
  // what the host's setter would refuse never goes out.
  if (!accepted(std::string(value.begin(), value.end()))) {
    logDevError("Stored %s not accepted, request not built", name);
    return false;
  }
  addBytes(value);
  return true;
}

namespace {

bool sequenceNumberAccepted(const std::string& number) { return utils::validateNoControlBytes(number); }

}  // namespace

bool TransactionWithAmount::handleTransactionAmountIfPresent() {
  const std::string amount = ctx.getTransactionAmount();
  if (amount.empty()) {
    logDevError("Transaction amount required but missing");
    return false;
  }
  addFs();
  return addAccepted(utils::asciiToVector(amount), utils::validateAmount, "transaction amount");
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
  // The cut mends a length the setter would refuse, nothing else.
  if (!addAccepted(bytes, utils::validateTitle, "transaction title")) return false;
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
  return addAccepted(*sequence, sequenceNumberAccepted, "sequence number to complete");
}

bool ReversalTransaction::handleAdditionalInputData() {
  utils::Optional<std::vector<unsigned char>> sequence = ctx.getSequenceNumberToReverse();
  if (!sequence.isPresent()) return true;
  addFs();
  return addAccepted(*sequence, sequenceNumberAccepted, "sequence number to reverse");
}

bool PurchaseEvoucherTransaction::handleAdditionalInputData() {
  addFs();
  utils::Optional<std::vector<unsigned char>> operation = ctx.getEvoucherOperationType();
  // The terminal takes a single character here; anything else is left out.
  if (operation.isPresent() && operation->size() == 1) addBytes(*operation);
  addFs();
  utils::Optional<std::vector<unsigned char>> ean = ctx.getEvoucherEan();
  return !ean.isPresent() || addAccepted(*ean, utils::validateEAN, "EAN");
}

}  // namespace zq::app::protocols

// The protocol operations that store the parameters of the next request.
#include "protocol/TalvorenProtocol.h"

#include <memory>

#include "core/Converters.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace

void TalvorenProtocol::setTransactionType(ecr_transactionType type) {
  const uint32_t number = static_cast<uint32_t>(type);
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  // Only a type with a kind behind it is stored: any other value keeps the
  // previous type rather than leaving a number no flow can run.
  std::unique_ptr<TalvorenTransactionType> kind(
      number <= static_cast<uint32_t>(ECR_TRANSACTION_PURCHASE_EVOUCHER)
          ? transaction.convertUint32ToTransactionType(number)
          : nullptr);
  if (!kind) {
    logDevFatal("Invalid transaction type %d", static_cast<int>(number));
    return;
  }
  transaction.setTransactionType(kind->getType());
}

void TalvorenProtocol::setTransactionAmount(const std::string& digits) {
  if (!utils::validateAmount(digits)) {
    logDevError("Invalid amount %s", digits.c_str());
    return;
  }
  ctx.getApiCtx().setTransactionAmount(utils::asciiToBcd(digits));
}

void TalvorenProtocol::setTransactionId(const uint32_t& id) { ctx.getApiCtx().setTransactionIndex(id); }

void TalvorenProtocol::setTransactionTitle(const std::string& title) {
  // An empty title removes the tag: the next start request goes without one.
  ctx.getTransactionCtx().setTransactionTitle(bytesOf(title));
}

void TalvorenProtocol::setTransactionBlikCode(const std::string& code) {
  ctx.getTransactionCtx().setTransactionBlikCode(bytesOf(code));
}

void TalvorenProtocol::setAdditionalPrintoutData(const std::string& data) {
  ctx.getTransactionCtx().setAdditionalPrintoutData(bytesOf(data));
}

void TalvorenProtocol::addFleetCardProductData(const std::vector<unsigned char>& item) {
  ctx.getTransactionCtx().addFleetCardProductData(item);
}

void TalvorenProtocol::setTransactionTokenGenerationEnabled() {
  ctx.getTransactionCtx().setTransactionTokenGenerationEnabled();
}

void TalvorenProtocol::setNumberOfTransactionToComplete(const std::string& number) {
  ctx.getApiCtx().setSequenceNumberToComplete(bytesOf(number));
}

void TalvorenProtocol::setNumberOfTransactionToReverse(const std::string& number) {
  ctx.getApiCtx().setSequenceNumberToReverse(bytesOf(number));
}

bool TalvorenProtocol::setTag(TlvTag tag, const std::vector<unsigned char>& value) {
  return ctx.getApiCtx().setTagValue(tag, value);
}

tlv::TlvStatus TalvorenProtocol::removeTag(TlvTag tag) { return ctx.getApiCtx().removeTag(tag); }

bool TalvorenProtocol::setCashRegisterId(unsigned char* id, size_t length) {
  if (length != 1) {
    logDevError("Invalid cash register ID length: %d. 1 byte expected", static_cast<int>(length));
    return false;
  }
  if (id == nullptr) {
    logDevError("Invalid cash register ID: NULL pointer");
    return false;
  }
  // The byte opens every request after the message id; a control byte of
  // the link there would end or split each frame.
  if (!utils::validateNoControlBytes(id, 1)) return false;
  ctx.getApiCtx().setCashRegisterNumber(id[0]);
  return true;
}

void TalvorenProtocol::setEvoucherOperationType(unsigned char type) {
  // The terminal knows two operations only, written as one digit.
  ctx.getApiCtx().setEvoucherOperationType(type != 0 ? '1' : '0');
}

void TalvorenProtocol::setEvoucherEan(const std::string& ean) {
  // An empty EAN removes the tag.
  ctx.getApiCtx().setEvoucherEan(bytesOf(ean));
}

}  // namespace zq::app::protocols

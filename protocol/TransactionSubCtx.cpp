#include "protocol/TransactionSubCtx.h"

#include <vector>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "protocol/TransactionDetailsParser.h"

namespace zq::app::protocols {

namespace {

constexpr unsigned char kSignatureAuthorization = 0x40;

}  // namespace

void TransactionSubCtx::setTransactionType(uint32_t type) { addUint32AsTag(TAG_TRANSACTION_TYPE, type); }

TalvorenTransactionType* TransactionSubCtx::getTransactionType() {
  utils::Optional<uint32_t> type = getUint32(TAG_TRANSACTION_TYPE);
  if (!type.isPresent()) return nullptr;
  return convertUint32ToTransactionType(*type);
}

TalvorenTransactionType* TransactionSubCtx::convertUint32ToTransactionType(uint32_t type) {
  switch (type) {
    case ECR_TRANSACTION_PURCHASE: return new PurchaseTransaction(*this);
    case ECR_TRANSACTION_CASHBACK: return new CashbackTransaction(*this);
    case ECR_TRANSACTION_PREAUTH: return new PreauthTransaction(*this);
    case ECR_TRANSACTION_COMPLETION: return new CompletionTransaction(*this);
    case ECR_TRANSACTION_REFUND: return new RefundTransaction(*this);
    case ECR_TRANSACTION_REVERSAL: return new ReversalTransaction(*this);
    case ECR_TRANSACTION_GIFTCARD_ACTIVATION: return new GiftcardActivationTransaction(*this);
    case ECR_TRANSACTION_GIFTCARD_BALANCE: return new GiftcardBalanceTransaction(*this);
    case ECR_TRANSACTION_RECONCILIATION: return new ReconciliationTransaction(*this);
    case ECR_TRANSACTION_CONNECTION_TEST: return new ConnectionTestTransaction(*this);
    case ECR_TRANSACTION_CONNECT_TO_TMS: return new ConnectToTmsTransaction(*this);
    case ECR_TRANSACTION_GIFTCARD_TOPUP: return new GiftcardTopupTransaction(*this);
    case ECR_TRANSACTION_PURCHASE_EVOUCHER: return new PurchaseEvoucherTransaction(*this);
    default: return nullptr;
  }
}

void TransactionSubCtx::setOriginalTransactionType(uint32_t type) {
  addUint32AsTag(TAG_ORIGINAL_TRANSACTION_TYPE, type);
}

ecr_transactionType TransactionSubCtx::getOriginalTransactionType() const {
  // Only purchase to refund can be reversed.
  utils::Optional<uint32_t> type = getUint32(TAG_ORIGINAL_TRANSACTION_TYPE);
  if (!type.isPresent() || *type >= 5) return ECR_TRANSACTION_NONE;
  return static_cast<ecr_transactionType>(*type);
}

void TransactionSubCtx::setLastTransactionReturnCode(uint32_t code) {
  addUint32AsTag(TAG_TRANSACTION_RETURN_CODE, code);
}

void TransactionSubCtx::setTransactionNumber(uint32_t number) {
  addUint32AsTag(TAG_TRANSACTION_NUMBER, number);
}

void TransactionSubCtx::setIsReversal(bool reversal) { setYesNoTag(TAG_REVERSAL_INDICATOR, reversal); }

bool TransactionSubCtx::getIsReversal() const {
  return getYesNoTagWithDefaultFalse(TAG_REVERSAL_INDICATOR);
}

void TransactionSubCtx::setTransactionTitle(const Bytes& title) {
  setVector(TAG_TRANSACTION_TITLE, title);
}

void TransactionSubCtx::removeTransactionTitle() { store.removeTag(TAG_TRANSACTION_TITLE); }

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getTransactionTitle() const {
  return getVector(TAG_TRANSACTION_TITLE);
}

std::string TransactionSubCtx::getTransactionAmount() const {
  utils::Optional<Bytes> amount = getVector(TAG_AMOUNT);
  return amount.isPresent() ? utils::bcdToAscii(*amount) : std::string();
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getTransactionIndex() const {
  return getVector(TAG_TRANSACTION_ID);
}

utils::Optional<uint32_t> TransactionSubCtx::getPromptNumber() const {
  return getUint32(TAG_PROMPT_ID);
}

ExpectedDataCharacteristics TransactionSubCtx::getExpectedDataCharacteristics() const {
  const ExpectedDataCharacteristics defaults;
  utils::Optional<unsigned char> minimum = getByte(TAG_PROMPT_MIN_ENTRY_LEN);
  utils::Optional<unsigned char> maximum = getByte(TAG_PROMPT_MAX_ENTRY_LEN);
  utils::Optional<unsigned char> allowed = getByte(TAG_PROMPT_ALLOWED_CHARACTERS);
  utils::Optional<unsigned char> special = getByte(TAG_PROMPT_SPECIAL_CHARACTERS);
  utils::Optional<Bytes> text = getVector(TAG_PROMPT_TEXT);
  return ExpectedDataCharacteristics(
      minimum.isPresent() ? *minimum : defaults.getMinimumCharacters(),
      maximum.isPresent() ? *maximum : defaults.getMaximumCharacters(),
      allowed.isPresent() ? static_cast<TalvorenAllowedCharacters>(*allowed)
                          : defaults.getAllowedCharacters(),
      special.isPresent() ? static_cast<TalvorenAllowedSpecialCharacters>(*special)
                          : defaults.getAllowedSpecialCharacters(),
      text.isPresent() ? std::string(text->begin(), text->end()) : std::string());
}

unsigned char TransactionSubCtx::getHandleTerminalRequests() const {
  utils::Optional<Bytes> value = getVector(TAG_HANDLE_REQUESTS);
  return value.isPresent() && value->size() == 1 ? (*value)[0] : 2;
}

bool TransactionSubCtx::getContinuePreviousTransaction() const {
  return getYesNoTagWithDefaultFalse(TAG_CONTINUE_PREVIOUS_TRANSACTION);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getSequenceNumberToComplete() const {
  return getVector(TAG_TRANSACTION_TO_COMPLETE);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getSequenceNumberToReverse() const {
  return getVector(TAG_TRANSACTION_TO_REVERSE);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getEvoucherOperationType() const {
  return getVector(TAG_EV_OPERATION_TYPE);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getEvoucherEan() const {
  return getVector(TAG_EV_EAN);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getEvoucherOperatorId() const {
  return getVector(TAG_EV_OP_ID);
}

utils::Optional<TransactionSubCtx::Bytes> TransactionSubCtx::getEvoucherTrxOpId() const {
  return getVector(TAG_EV_OPERATOR_ID);
}

void TransactionSubCtx::setEvoucherTransactionType(uint32_t type) {
  addUint32AsTag(TAG_EV_TRANSACTION_TYPE, type);
}

void TransactionSubCtx::setEvoucherLastTransactionReturnCode(uint32_t code) {
  addUint32AsTag(TAG_EV_TRANSACTION_RETURN_CODE, code);
}

void TransactionSubCtx::setEvoucherOpTemplate(const std::string& text) {
  setText(TAG_EV_OP_TEMPLATE, text);
}

std::string TransactionSubCtx::getEvoucherOpTemplate() const {
  utils::Optional<Bytes> value = getVector(TAG_EV_OP_TEMPLATE);
  return value.isPresent() ? std::string(value->begin(), value->end()) : std::string();
}

void TransactionSubCtx::setAsTransactionWithSignature() {
  addByte(TAG_AUTHORIZATION_METHOD, kSignatureAuthorization);
}

void TransactionSubCtx::setTransactionBlikCode(const Bytes& code) {
  requestStore.updateTag(TAG_IN_BLIK_ENTERED_CODE, code);
}

void TransactionSubCtx::setAdditionalPrintoutData(const Bytes& data) {
  requestStore.updateTag(TAG_IN_ADDITIONAL_PRINTOUT_DATA, data);
}

void TransactionSubCtx::setTransactionTokenGenerationEnabled() {
  requestStore.updateTag(TAG_IN_REQUEST_TOKEN, Bytes{0x01});
}

void TransactionSubCtx::addFleetCardProductData(const Bytes& item) {
  // Every item is one more entry of the list; the request carries the whole
  // list as one constructed item.
  fleetItemStore.insertTag(TAG_CONSTRUCTED_FLEET_CARD_SALE_ITEM, item);
  Bytes list;
  fleetItemStore.getRawData(list);
  requestStore.updateTag(TAG_CONSTRUCTED_FLEET_CARD_SALE_ITEM_LIST, list);
}

TransactionSubCtx::Bytes TransactionSubCtx::getAdditionalRequestData() const {
  Bytes raw;
  requestStore.getRawData(raw);
  return utils::asciiToVector(utils::hexToAscii(raw, false));
}

void TransactionSubCtx::clearAdditionalRequestData() {
  requestStore.clear();
  fleetItemStore.clear();
}

void TransactionSubCtx::setTransactionDetails(const std::string& text) {
  TransactionDetailsParser parser(store, text);
  parser.parseDetails();
}

void TransactionSubCtx::setEvoucherTransactionDetails(const std::string& text) {
  EvoucherTransactionDetailsParser parser(store, text);
  parser.parseDetails();
}

void TransactionSubCtx::clearTransactionTags() {
  logDevInfo("Clearing transaction data");
  // One walk of the store for the whole list; left alive at exit, as every
  // table of the library is.
  static const std::vector<tlv::TlvTag>& tags = *new std::vector<tlv::TlvTag>([] {
    std::vector<tlv::TlvTag> list = {0x9FD601, 0x9FD40B, 0x9FD401, 0x89,     0x9FD402, 0x5A,     0x9FD450, 0x9A,
                                     0x9F21,   0x9F12,   0x9FD403, 0x9FD404, 0x9FD405, 0x9FD451, 0x9F36,   0x9F26,
                                     0x9F06,   0x9FD406, 0x95,     0x9B,     0x9FD801, 0x5F2A,   0x5F3C,   0x9F3A,
                                     0x9FD408, 0x9FD409, 0x9FD40A, 0x9F03,   0x9F79,   0x5F36,   0x9FD40E};
    // The terminal's private data and the e-voucher answer, in ranges.
    for (tlv::TlvTag tag = 0xDF01; tag <= 0xDF0D; ++tag) list.push_back(tag);
    for (tlv::TlvTag tag = 0x9FE013; tag <= 0x9FE01F; ++tag) list.push_back(tag);
    for (tlv::TlvTag tag = 0x9FE021; tag <= 0x9FE02B; ++tag) list.push_back(tag);
    list.insert(list.end(), {0xDF11, 0xDF12, 0x7F02, 0x7F01});
    return list;
  }());
  store.removeTags(tags.data(), tags.size());
}

void TransactionSubCtx::dumpTransactionTags() { store.dbgDump(); }

}  // namespace zq::app::protocols

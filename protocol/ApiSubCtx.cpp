#include "protocol/ApiSubCtx.h"

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

constexpr size_t kSequenceNumberDigits = 6;

// The one-byte value of a tag, or nothing when absent or of another length.
utils::Optional<unsigned char> singleByte(const utils::Optional<utils::SubCtxInterface::Bytes>& value) {
  if (!value.isPresent() || value->size() != 1) return utils::Optional<unsigned char>();
  return utils::Optional<unsigned char>((*value)[0]);
}

}  // namespace

bool ApiSubCtx::setTagValue(tlv::TlvTag tag, const Bytes& value) {
  return store.updateTag(tag, value) == tlv::TLV_OK;
}

uint32_t ApiSubCtx::removeTag(tlv::TlvTag tag) { return store.removeTag(tag); }

void ApiSubCtx::setCashRegisterNumber(unsigned char number) { addByte(TAG_CASH_REGISTER_ID, number); }

void ApiSubCtx::setTransactionIndex(uint32_t index) { addUint32AsTag(TAG_TRANSACTION_ID, index); }

void ApiSubCtx::setTransactionAmount(const Bytes& bcdAmount) { setVector(TAG_AMOUNT, bcdAmount); }

void ApiSubCtx::setEvoucherOperationType(unsigned char type) { addByte(TAG_EV_OPERATION_TYPE, type); }

void ApiSubCtx::setEvoucherEan(const Bytes& ean) { setVector(TAG_EV_EAN, ean); }

void ApiSubCtx::setEVOperatorId(const Bytes& id) { setVector(TAG_EV_OP_ID, id); }

void ApiSubCtx::setSequenceNumberToComplete(const Bytes& digits) {
  setSequenceNumberWithPadding(TAG_TRANSACTION_TO_COMPLETE, digits);
}

void ApiSubCtx::setSequenceNumberToReverse(const Bytes& digits) {
  setSequenceNumberWithPadding(TAG_TRANSACTION_TO_REVERSE, digits);
}

void ApiSubCtx::setSequenceNumberWithPadding(tlv::TlvTag tag, const Bytes& digits) {
  Bytes padded;
  if (digits.size() < kSequenceNumberDigits) padded.assign(kSequenceNumberDigits - digits.size(), '0');
  padded.insert(padded.end(), digits.begin(), digits.end());
  setVector(tag, padded);
}

bool ApiSubCtx::getDidTerminalMakePrintout() const {
  utils::Optional<unsigned char> value = singleByte(getVector(TAG_PRINTING_INDICATOR));
  return !(value.isPresent() && *value == '0');
}

bool ApiSubCtx::getAdditionalTransactionFlag(uint32_t* out) const {
  utils::Optional<Bytes> raw = getVector(TAG_ADDITIONAL_TRANSACTION_FLAG);
  if (!raw.isPresent()) return false;
  logDevDebugHex(raw->data(), raw->size());
  utils::Optional<unsigned int> flags = utils::vectorToHexUint32(*raw);
  if (!flags.isPresent() || out == nullptr) return false;
  *out = *flags;
  return true;
}

bool ApiSubCtx::checkAdditionalTransactionFlag(TalvorenAdditionalTransactionFlag flag) const {
  uint32_t flags = 0;
  return getAdditionalTransactionFlag(&flags) && (flags & flag) == flag;
}

bool ApiSubCtx::getMultilanguagePrintout() const {
  return checkAdditionalTransactionFlag(ADDITIONAL_FLAG_MULTILANGUAGE_PRINTOUT);
}

bool ApiSubCtx::getIsManualReversal() const {
  return checkAdditionalTransactionFlag(ADDITIONAL_FLAG_MANUAL_REVERSAL);
}

CardReaderType ApiSubCtx::getCardReadetType() const {
  utils::Optional<unsigned char> reader = singleByte(getVector(TAG_USED_READER));
  if (!reader.isPresent()) return CARD_READER_UNKNOWN;
  switch (*reader) {
    case 'B': return CARD_READER_CONTACTLESS;
    case 'M': return CARD_READER_MAGSTRIPE;
    case 'C': return CARD_READER_CHIP;
    case 'P': return CARD_READER_MANUAL;
    default: return CARD_READER_UNKNOWN;
  }
}

AuthorizationType ApiSubCtx::getAuthorizationType() const {
  utils::Optional<unsigned char> type = singleByte(getVector(TAG_AUTHORIZATION_TYPE));
  if (!type.isPresent()) return AUTHORIZATION_TYPE_NONE;
  switch (*type) {
    case '1': return AUTHORIZATION_TYPE_1;
    case '3': return AUTHORIZATION_TYPE_3;
    case '4': return AUTHORIZATION_TYPE_4;
    default: return AUTHORIZATION_TYPE_NONE;
  }
}

AuthorizationMethod ApiSubCtx::getAuthorizationMethod() const {
  // The additional flags are the newer way of telling; when they say
  // nothing about verification, the older one-byte method tag decides.
  uint32_t flags = 0;
  if (getAdditionalTransactionFlag(&flags)) {
    if (flags & 0x100) return AUTHORIZATION_METHOD_NONE;
    if (flags & 0x200) return AUTHORIZATION_METHOD_SIGNATURE_ON_FILE;
    if (flags & (0x400 | 0x800)) {
      return (flags & 0x1000) ? AUTHORIZATION_METHOD_PIN_AND_SIGNATURE : AUTHORIZATION_METHOD_PIN;
    }
    if (flags & 0x1000) return AUTHORIZATION_METHOD_SIGNATURE;
    if (flags & 0x2000) return AUTHORIZATION_METHOD_CONSUMER_DEVICE;
    if (flags & 0x4000) return AUTHORIZATION_METHOD_NONE;
  }
  utils::Optional<unsigned char> method = singleByte(getVector(TAG_AUTHORIZATION_METHOD));
  if (!method.isPresent()) return AUTHORIZATION_METHOD_NONE;
  switch (*method) {
    case 'A': return AUTHORIZATION_METHOD_PIN;
    case 0x40: return AUTHORIZATION_METHOD_SIGNATURE;
    case 'B': return AUTHORIZATION_METHOD_PIN_AND_SIGNATURE;
    default: return AUTHORIZATION_METHOD_NONE;
  }
}

EmvCryptogramType ApiSubCtx::getEmvCryptogramType() const {
  utils::Optional<unsigned char> type = getByte(TAG_EMV_CRYPTOGRAM_TYPE);
  if (!type.isPresent()) return EMV_CRYPTOGRAM_NONE;
  switch (*type) {
    case 0x00: return EMV_CRYPTOGRAM_AAC;
    case 0x40: return EMV_CRYPTOGRAM_TC;
    case 0x80: return EMV_CRYPTOGRAM_ARQC;
    default: return EMV_CRYPTOGRAM_NONE;
  }
}

ecr_batchStatus ApiSubCtx::getBatchStatus() const {
  utils::Optional<uint32_t> status = getUint32(TAG_BATCH_STATUS);
  if (!status.isPresent()) return ECR_BATCH_STATUS_UNKNOWN;
  switch (*status) {
    case 0: return ECR_BATCH_STATUS_0;
    case 2: return ECR_BATCH_STATUS_1;
    case 4: return ECR_BATCH_STATUS_2;
    default: return ECR_BATCH_STATUS_3;
  }
}

}  // namespace zq::app::protocols

// The API view: the setters and typed readers behind the terminal functions.
#pragma once

#include <cstdint>

#include "protocol/SubCtxInterface.h"
#include "protocol/TalvorenEnums.h"

namespace zq::app::protocols {

// Bits of the terminal's additional transaction flags (tag 0xDF0B).
enum TalvorenAdditionalTransactionFlag : uint32_t {
  ADDITIONAL_FLAG_MULTILANGUAGE_PRINTOUT = 0x1,
  ADDITIONAL_FLAG_MANUAL_REVERSAL = 0x2,
};

class ApiSubCtx : public utils::SubCtxInterface {
 public:
  explicit ApiSubCtx(tlv::TlvCtx& store) : SubCtxInterface(store) {}

  bool setTagValue(tlv::TlvTag tag, const Bytes& value);
  uint32_t removeTag(tlv::TlvTag tag);
  utils::Optional<Bytes> getTagValue(tlv::TlvTag tag) const { return getVector(tag); }

  void setCashRegisterNumber(unsigned char number);
  void setTransactionIndex(uint32_t index);
  void setTransactionAmount(const Bytes& bcdAmount);
  void setEvoucherOperationType(unsigned char type);
  void setEvoucherEan(const Bytes& ean);
  void setEVOperatorId(const Bytes& id);
  void setSequenceNumberToComplete(const Bytes& digits);
  void setSequenceNumberToReverse(const Bytes& digits);
  // The terminal wants sequence numbers of at least six digits.
  void setSequenceNumberWithPadding(tlv::TlvTag tag, const Bytes& digits);

  // True unless the terminal said it did not print (also when it said nothing).
  bool getDidTerminalMakePrintout() const;
  bool getAdditionalTransactionFlag(uint32_t* out) const;
  bool checkAdditionalTransactionFlag(TalvorenAdditionalTransactionFlag flag) const;
  bool getMultilanguagePrintout() const;
  bool getIsManualReversal() const;

  CardReaderType getCardReadetType() const;
  AuthorizationType getAuthorizationType() const;
  AuthorizationMethod getAuthorizationMethod() const;
  EmvCryptogramType getEmvCryptogramType() const;
  ecr_batchStatus getBatchStatus() const;
};

}  // namespace zq::app::protocols

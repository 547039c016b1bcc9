#include "protocol/GetEvoucherOpMessage.h"

#include <algorithm>

#include "core/Crc16.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {
constexpr size_t kMaxOperatorIdLength = 4;
}  // namespace

bool GetEvoucherOpMessage::buildMessageSpecificPart() {
  utils::Optional<TransactionSubCtx::Bytes> operatorId = transactionCtx.getEvoucherOperatorId();
  if (!operatorId.isPresent()) {
    logDevError("Operator ID missing");
    return false;
  }
  if (operatorId->empty() || operatorId->size() > kMaxOperatorIdLength) {
    logDevError("Operator ID invalid");
    return false;
  }
  addFsToData();
  addVectorToData(*operatorId);
  return true;
}

bool GetEvoucherOpMessage::parseMessageSpecificPart() {
  // Also drops the template of an earlier request, so a failed fetch never
  // leaves a stale template behind.
  transactionCtx.clearTransactionTags();
  if (!extractFourByteInt(resultCode, 1)) {
    logDevError("Unable to extract Evoucher result code");
    return false;
  }
  if (resultCode != 0) {
    logDevError("Wrong Evoucher result code:%d", static_cast<int>(resultCode));
    return false;
  }
  if (!extractEightByteInt(fileSize, 2)) {
    logDevError("Unable to extract Evoucher file size");
    return false;
  }
  if (!extractFourByteHexInt(fileCrc, 4)) {
    logDevError("Unable to extract Evoucher file CRC");
    return false;
  }
  if (!extractString_Etx(operatorName)) {
    logDevError("Unable to extract Evoucher operator name");
    return false;
  }
  return true;
}

bool GetEvoucherOpMessage::parse_extra_data(const std::vector<unsigned char>& raw) {
  if (raw.empty()) {
    logDevError("Unable to extract Evoucher template file");
    return false;
  }
  // The template is text: it ends at its first zero byte, if any.
  const auto end = std::find(raw.begin(), raw.end(), static_cast<unsigned char>(0));
  templateText.assign(raw.begin(), end);
  if (templateText.size() != fileSize) {
    logDevError("Invalid template file size:(%d) <> (%d)", static_cast<int>(fileSize),
                static_cast<int>(templateText.size()));
    return false;
  }
  unsigned short crc = 0;
  utils::crc16_buf(reinterpret_cast<const unsigned char*>(templateText.data()),
                   templateText.size(), crc);
  if (crc != fileCrc) {
    logDevError("Evoucher file CRC not valid: (%x) (%x)", static_cast<unsigned>(crc),
                static_cast<unsigned>(fileCrc));
    return false;
  }
  transactionCtx.setEvoucherOpTemplate(templateText);
  return true;
}

}  // namespace zq::app::protocols

// The parameters of the next request: transaction kind, amount, texts, tags.
//
// Every setter logs the call, runs the context guard, checks its argument
// and stores it in the protocol; nothing goes to the terminal until a
// command runs, and lastResult is never touched.
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "core/ExportGuard.h"
#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"

using zq::app::api::guardedCall;
using zq::app::api::printable;
using zq::app::api::refuseNull;
using zq::app::protocols::ProtocolInterface;
using zq::app::tlv::TAG_CARDSET_ID;
using zq::app::tlv::TAG_CURRENCY_ID;
using zq::app::tlv::TAG_HANDLE_REQUESTS;
using zq::app::tlv::TAG_RESET_REPORT;
using zq::app::tlv::TAG_TERMINAL_INDEX;
using zq::app::utils::guardExport;

namespace {

using Bytes = std::vector<unsigned char>;

// A text setter: the guard, a non-NULL text, its validator (when there is
// one; a refusal logs refusedFormat with the text), then the protocol action.
template <typename Validator, typename Action>
ecr_status textSetter(const char* function, EcrCtx_s* ctx, const char* text, Validator&& valid,
                      const char* refusedFormat, Action&& action) noexcept {
  return guardedCall(function, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    if (text == nullptr) return refuseNull();
    const std::string value(text);
    if (!valid(value)) {
      logBusError(refusedFormat, text);
      return ECR_INVALID_ARGUMENT;
    }
    action(protocol, value);
    return ECR_OK;
  });
}

// The identifiers without a format of their own still travel as a field of
// a request, between FS bytes.
bool noControlBytes(const std::string& text) { return zq::app::utils::validateNoControlBytes(text); }

Bytes decimalText(uint32_t value) {
  Bytes digits;
  zq::app::utils::addUint32ToDataVector(value, digits);
  return digits;
}

// The identifier setters share one shape: a bound checked by the validator,
// a refusal logged with the value as an unsigned number.
template <typename Validator, typename Action>
ecr_status idSetter(const char* function, EcrCtx_s* ctx, uint32_t id, Validator&& valid,
                    const char* refusedFormat, Action&& action) noexcept {
  return guardedCall(function, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    const unsigned int value = id;
    if (!valid(value)) {
      logBusError(refusedFormat, value);
      return ECR_INVALID_ARGUMENT;
    }
    action(protocol, id);
    return ECR_OK;
  });
}

}  // namespace

// ---- Transaction parameters ----

ecr_status ecr_setTransactionType(EcrCtx_s* ctx, ecr_transactionType type) {
  // The host may pass any int here; it is looked at as the number it is.
  const int number = static_cast<int>(type);
  logBusTrace("Set transaction type to %d", number);
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    // A type without a kind would leave the previous type in place and run
    // the next transaction with it, so it is refused here.
    ecr_transactionType kind = ECR_TRANSACTION_NONE;
    if (!zq::app::utils::enumFromNumber(number, ECR_TRANSACTION_PURCHASE, ECR_TRANSACTION_PURCHASE_EVOUCHER,
                                        kind)) {
      logBusError("Incorrect transaction type %d", number);
      return ECR_INVALID_ARGUMENT;
    }
    protocol.setTransactionType(kind);
    return ECR_OK;
  });
}

ecr_status ecr_setTransactionAmount(EcrCtx_s* ctx, const char* amount) {
  logBusTrace("Set amount to %s", printable(amount));
  return textSetter(__func__, ctx, amount, zq::app::utils::validateAmount, "Incorrect amount %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setTransactionAmount(v); });
}

ecr_status ecr_setTransactionTitle(EcrCtx_s* ctx, const char* title) {
  logBusTrace("Set title to %s", printable(title));
  return textSetter(__func__, ctx, title, zq::app::utils::validateTitle, "Incorrect title %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setTransactionTitle(v); });
}

ecr_status ecr_setTransactionBlikCode(EcrCtx_s* ctx, const char* code) {
  logBusTrace("Set BLIK code to %s", printable(code));
  return textSetter(__func__, ctx, code, zq::app::utils::validateBlikCode, "Incorrect BLIK code %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setTransactionBlikCode(v); });
}

ecr_status ecr_setAdditionalPrintoutData(EcrCtx_s* ctx, const char* data) {
  logBusTrace("Set Additional Printout Data to %s", printable(data));
  return textSetter(__func__, ctx, data, zq::app::utils::validateAdditionalPrintoutData,
                    "Incorrect additional printout data %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setAdditionalPrintoutData(v); });
}

ecr_status ecr_setEvoucherEan(EcrCtx_s* ctx, const char* ean) {
  logBusTrace("Set EAN to %s", printable(ean));
  return textSetter(__func__, ctx, ean, zq::app::utils::validateEAN, "Incorrect EAN %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setEvoucherEan(v); });
}

ecr_status ecr_setNumberOfTransactionToComplete(EcrCtx_s* ctx, const char* number) {
  logBusTrace("Set number of transaction to complete to %s", printable(number));
  return textSetter(__func__, ctx, number, noControlBytes, "Incorrect number of transaction to complete %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setNumberOfTransactionToComplete(v); });
}

ecr_status ecr_setNumberOfTransactionToReverse(EcrCtx_s* ctx, const char* number) {
  logBusTrace("Set number of transaction to reverse to %s", printable(number));
  return textSetter(__func__, ctx, number, noControlBytes, "Incorrect number of transaction to reverse %s",
                    [](ProtocolInterface& p, const std::string& v) { p.setNumberOfTransactionToReverse(v); });
}

ecr_status ecr_setTransactionId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set transaction ID to %d", static_cast<int>(id));
  return idSetter(__func__, ctx, id, zq::app::utils::validateTransactionId, "Incorrect transaction ID %u",
                  [](ProtocolInterface& p, uint32_t v) { p.setTransactionId(v); });
}

ecr_status ecr_setCardsetId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set cardset ID to %d", static_cast<int>(id));
  return idSetter(__func__, ctx, id, zq::app::utils::validateCardsetId, "Incorrect cardset ID %u",
                  [](ProtocolInterface& p, uint32_t v) { p.setTag(TAG_CARDSET_ID, decimalText(v)); });
}

ecr_status ecr_setCurrencyId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set currency ID to %d", static_cast<int>(id));
  return idSetter(__func__, ctx, id, zq::app::utils::validateCurrencyId, "Incorrect currency ID %u",
                  [](ProtocolInterface& p, uint32_t v) { p.setTag(TAG_CURRENCY_ID, decimalText(v)); });
}

ecr_status ecr_setTerminalIndex(EcrCtx_s* ctx, uint8_t index) {
  logBusTrace("Set terminal index to %u", static_cast<unsigned>(index));
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    const unsigned char value = index;
    if (!zq::app::utils::validateTerminalId(value)) {
      logBusError("Incorrect terminal index %u", static_cast<unsigned>(index));
      return ECR_INVALID_ARGUMENT;
    }
    protocol.setTag(TAG_TERMINAL_INDEX, decimalText(index));
    return ECR_OK;
  });
}

ecr_status ecr_setEvoucherOperationType(EcrCtx_s* ctx, uint8_t type) {
  logBusTrace("Set EV Operation Type to %u", static_cast<unsigned>(type));
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    protocol.setEvoucherOperationType(type);
    return ECR_OK;
  });
}

ecr_status ecr_setTransactionTokenGenerationEnabled(EcrCtx_s* ctx) {
  logBusTrace("Set Token Generation Enabled");
  return guardedCall(__func__, ctx, [](ProtocolInterface& protocol) -> ecr_status {
    protocol.setTransactionTokenGenerationEnabled();
    return ECR_OK;
  });
}

ecr_status ecr_setResetReport(EcrCtx_s* ctx, bool reset) {
  logBusTrace("Set resetting report data to %s", reset ? "TRUE" : "FALSE");
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    protocol.setTag(TAG_RESET_REPORT, Bytes{static_cast<unsigned char>(reset ? '1' : '0')});
    return ECR_OK;
  });
}

ecr_status ecr_setHandleTerminalRequests(EcrCtx_s* ctx, uint32_t mode) {
  logBusTrace("Set handling terminal requests to %u", static_cast<unsigned>(mode & 0xFFu));
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    // 0 and 1 are the host's own choices; anything else lets the library decide.
    const unsigned char value = mode == 0 ? 0x00 : (mode == 1 ? 0x01 : 0x02);
    protocol.setTag(TAG_HANDLE_REQUESTS, Bytes{value});
    return ECR_OK;
  });
}

ecr_status ecr_setCashRegisterId(EcrCtx_s* ctx, const char* id, size_t length) {
  logBusTrace("Set cash register ID to");
  if (id != nullptr) logBusTraceHex(id, length);
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    if (id == nullptr && length != 0) return refuseNull();
    Bytes copy;
    if (id != nullptr) copy.assign(id, id + length);
    if (!protocol.setCashRegisterId(copy.data(), copy.size())) {
      logBusError("Unable to set cash register ID");
      return ECR_INVALID_ARGUMENT;
    }
    return ECR_OK;
  });
}

ecr_status ecr_setTag(EcrCtx_s* ctx, TlvTag tag, const uint8_t* value, size_t length) {
  logBusTrace("Set tag 0x%08X to ", static_cast<unsigned>(tag));
  if (value != nullptr) logBusTraceHex(value, length);
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    if (value == nullptr && length != 0) return refuseNull();
    Bytes copy;
    if (value != nullptr) copy.assign(value, value + length);
    // An empty value clears the tag; any other value the store refuses (a
    // malformed tag number, a value too long) is not stored, and saying 0
    // would let the host believe it was.
    if (!protocol.setTag(tag, copy) && !copy.empty()) {
      logBusError("Unable to set tag 0x%08X", static_cast<unsigned>(tag));
      return ECR_INVALID_ARGUMENT;
    }
    return ECR_OK;
  });
}

ecr_status ecr_setTagToEmpty(EcrCtx_s* ctx, TlvTag tag) {
  logBusTrace("Clear tag 0x%08X to ", static_cast<unsigned>(tag));
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    protocol.removeTag(tag);
    return ECR_OK;
  });
}

ecr_status ecr_addFleetCardProductData(EcrCtx_s* ctx, const uint8_t* data, size_t length) {
  // This setter runs the guard before it logs anything.
  return guardedCall(__func__, ctx, [&](ProtocolInterface& protocol) -> ecr_status {
    logBusTrace("Set Fleet card product data:");
    if (data == nullptr) {
      if (length != 0) return refuseNull();
    } else {
      logBusTraceHex(data, length);
    }
    Bytes copy;
    if (data != nullptr) copy.assign(data, data + length);
    protocol.addFleetCardProductData(copy);
    return ECR_OK;
  });
}

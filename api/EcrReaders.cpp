// The readers of what the terminal answered.
//
// Every reader works on the protocol's store and never on the terminal; it
// never changes the store nor the last command result. Outputs belong to the
// caller and are written only on success: a failed read leaves them exactly
// as they were, so a printout that ignores a failure prints its default
// instead of half a value.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "core/ExportGuard.h"
#include "core/Converters.h"
#include "core/TlvCtx.h"
#include "core/zumbra_log.h"
#include "core/zumbra_tlv_buffer.h"

// The tag names, written as they appear in the protocol.
using namespace zq::app::tlv;

namespace {

using zq::app::api::CtxUse;
using zq::app::api::EcrCtxClaim;
using zq::app::api::guardedCall;
using zq::app::api::refuseNull;
using zq::app::protocols::ProtocolInterface;
using Bytes = std::vector<unsigned char>;

// A caller buffer with its in/out length: the length pointer must exist, and
// a NULL buffer is only acceptable when it claims to hold nothing.
bool bufferUsable(const void* buffer, const size_t* length) {
  return length != nullptr && (buffer != nullptr || *length == 0);
}

unsigned asUnsigned(size_t value) { return static_cast<unsigned>(value); }

// Bytes of a value as text for a log line, without relying on a terminator.
std::string asText(const Bytes& value) { return std::string(value.begin(), value.end()); }

// ---- Family A: typed getters ----

template <typename T, typename Getter>
ecr_status readEnumeration(const EcrCtxClaim& claim, const char* function, T* out, const char* valueLine,
                           Getter&& getter) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    const T value = getter(protocol);
    *out = value;
    logBusTrace(valueLine, static_cast<int>(static_cast<uint32_t>(value) & 0xFFu));
    return ECR_OK;
  });
}

template <typename Getter>
ecr_status readFlag(const EcrCtxClaim& claim, const char* function, bool* out, const char* valueLine,
                    Getter&& getter) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    const bool value = getter(protocol);
    *out = value;
    logBusTrace(valueLine, value ? "" : " not");
    return ECR_OK;
  });
}

// ---- Family B: single tags as text ----

// The lines one text reader logs.
struct TextLines {
  const char* missing;  // debug, the tag is absent
  const char* invalid;  // error, the value is malformed or too long
  bool dumpInvalid;     // the error line is followed by a hex dump of the value
  const char* value;    // trace, "%s" takes the text
};

// Converts one tag into a text of at most maxText characters (NUL apart):
// absent 5, a value the converter refuses or a text longer than allowed 1.
// The text is written with its NUL only when everything is fine.
template <typename Convert>
ecr_status readTagAsText(const EcrCtxClaim& claim, const char* function, TlvTag tag, char* out, size_t maxText,
                         const TextLines& lines, Convert&& convert) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(tag, value)) {
      logBusDebug("%s", lines.missing);
      return ECR_NO_DATA;
    }
    std::string text;
    if (!convert(value, text) || text.size() > maxText) {
      if (lines.dumpInvalid) {
        logBusError("%s", lines.invalid);
        logBusErrorHex(value.data(), value.size());
      } else {
        logBusError(lines.invalid, text.c_str());
      }
      return ECR_ERROR;
    }
    logBusTrace(lines.value, text.c_str());
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return ECR_OK;
  });
}

bool toHexText(const Bytes& value, std::string& text) {
  text = zq::app::utils::hexToAscii(value);
  return true;
}

bool toAmountText(const Bytes& value, std::string& text) {
  text = zq::app::utils::hexToAscii(value, true);
  return true;
}

bool toRawText(const Bytes& value, std::string& text) {
  text = asText(value);
  return true;
}

ecr_status readHexText(const EcrCtxClaim& claim, const char* function, TlvTag tag, char* out, size_t maxDigits,
                       const char* missing, const char* tooLong, const char* valueLine) {
  return readTagAsText(claim, function, tag, out, maxDigits, {missing, tooLong, false, valueLine},
                       toHexText);
}

ecr_status readAmountText(const EcrCtxClaim& claim, const char* function, TlvTag tag, char* out,
                          const char* missing, const char* tooLong, const char* valueLine) {
  return readTagAsText(claim, function, tag, out, ECR_AMOUNT_SIZE - 1,
                       {missing, tooLong, false, valueLine}, toAmountText);
}

// A currency code is two BCD bytes, 0x09 0x85 for 985.
ecr_status readCurrencyLabel(const EcrCtxClaim& claim, const char* function, TlvTag tag, char* out,
                             const char* missing, const char* invalid, const char* valueLine) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(tag, value)) {
      logBusDebug("%s", missing);
      return ECR_NO_DATA;
    }
    if (value.size() != 2) {
      logBusError("%s", invalid);
      logBusErrorHex(value.data(), value.size());
      return ECR_ERROR;
    }
    std::string label = zq::app::utils::currencyCodeToCurrencyLabel(value);
    if (label.size() > ECR_CURRENCY_LABEL_SIZE - 1) label.clear();  // the caller's room
    logBusTrace(valueLine, value[0], value[1], label.c_str());
    std::memcpy(out, label.data(), label.size());
    out[label.size()] = '\0';
    return ECR_OK;
  });
}

ecr_status readCurrencyCode(const EcrCtxClaim& claim, const char* function, TlvTag tag, uint16_t* out,
                            const char* missing, const char* invalid, const char* valueLine) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(tag, value)) {
      logBusDebug("%s", missing);
      return ECR_NO_DATA;
    }
    if (value.size() != 2) {
      logBusError("%s", invalid);
      logBusErrorHex(value.data(), value.size());
      return ECR_ERROR;
    }
    const uint16_t code = static_cast<uint16_t>((value[0] << 8) | value[1]);
    logBusTrace(valueLine, static_cast<unsigned>(code));
    *out = code;
    return ECR_OK;
  });
}

// ---- Family C: raw buffers ----

ecr_status readAddressLine(EcrCtx_s* ctx, TlvTag tag, int line, uint8_t* buffer, size_t* length) {
  const ecr_status status = ecr_readTag(ctx, tag, buffer, length);
  if (status != ECR_OK) logBusDebug("Unable to get address line %d", line);
  return status;
}

// ---- Family E: fleet cards ----

// The value of one sub-tag of the fleet-card data; 5 when the data or the
// sub-tag is absent. The caller has run the guard.
ecr_status readFleetCardDataTag(ProtocolInterface& protocol, TlvTag subTag, Bytes& result) {
  logBusTrace("Read fleet card data, tag - %X", static_cast<unsigned>(subTag));
  Bytes data;
  if (!protocol.readTag(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, data)) {
    logBusDebug("Fleet card missing from context");
    return ECR_NO_DATA;
  }
  logDevTraceHex(data.data(), data.size());
  TlvItem item{};
  if (data.empty() ||
      tlv_find(data.data(), static_cast<int>(std::min<size_t>(data.size(), 0x7FFFFFFF)),
               static_cast<uint16_t>(subTag & 0xFFFFu), &item) != 1 ||
      item.value == nullptr) {
    return ECR_NO_DATA;
  }
  logDevTrace("Fleet card tag %X", static_cast<unsigned>(item.tag));
  logDevTraceHex(item.value, item.length);
  result.assign(item.value, item.value + item.length);
  return ECR_OK;
}

// Bit 0: a fleet card; bit 1: the fleet card wants a signature.
ecr_status getFleetCardFlags(ProtocolInterface& protocol, uint32_t& flags) {
  Bytes value;
  const ecr_status status = readFleetCardDataTag(protocol, TAG_FLEET_CARD_TAG_FLAGS, value);
  if (status != ECR_OK) return status;
  if (value.size() > 4) return ECR_NO_DATA;
  zq::app::utils::Optional<unsigned int> number = zq::app::utils::vectorToHexUint32(value);
  if (!number.isPresent()) return ECR_NO_DATA;
  flags = *number;
  return ECR_OK;
}

ecr_status readFleetCardFlag(const EcrCtxClaim& claim, const char* function, bool* out, uint32_t bit) {
  return guardedCall(function, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (out == nullptr) return refuseNull();
    uint32_t flags = 0;
    const ecr_status status = getFleetCardFlags(protocol, flags);
    if (status != ECR_OK) return status;
    *out = (flags & bit) != 0;
    return ECR_OK;
  });
}

}  // namespace

// ---- Family A: typed getters ----

ecr_status ecr_readTransactionType(EcrCtx_s* ctx, ecr_transactionType* type) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction type");
  return readEnumeration(claim, __func__, type, "Transaction type: %d",
                         [](ProtocolInterface& p) { return p.readTransactionType(); });
}

ecr_status ecr_readOriginalTransactionType(EcrCtx_s* ctx, ecr_transactionType* type) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read original transaction type");
  return readEnumeration(claim, __func__, type, "Original transaction type: %d",
                         [](ProtocolInterface& p) { return p.readOriginalTransactionType(); });
}

ecr_status ecr_readUsedCardReaderType(EcrCtx_s* ctx, CardReaderType* type) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read used card reader type");
  return readEnumeration(claim, __func__, type, "Used card reader: %d",
                         [](ProtocolInterface& p) { return p.getUsedReaderType(); });
}

ecr_status ecr_readAuthorizationType(EcrCtx_s* ctx, AuthorizationType* type) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read authorization type");
  return readEnumeration(claim, __func__, type, "Authorization type: %d",
                         [](ProtocolInterface& p) { return p.getAuthorizationType(); });
}

ecr_status ecr_readAuthorizationMethod(EcrCtx_s* ctx, AuthorizationMethod* method) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read authorization method");
  return readEnumeration(claim, __func__, method, "Authorization method: %d",
                         [](ProtocolInterface& p) { return p.getAuthorizationMethod(); });
}

ecr_status ecr_readEmvCryptogramType(EcrCtx_s* ctx, EmvCryptogramType* type) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read EMV cryptogram type");
  return readEnumeration(claim, __func__, type, "EMV cryptogram type: %d",
                         [](ProtocolInterface& p) { return p.getEmvCryptogramType(); });
}

ecr_status ecr_readIfTerminalMadePrinout(EcrCtx_s* ctx, bool* printed) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if terminal made printout");
  return readFlag(claim, __func__, printed, "Terminal did%s make printout",
                  [](ProtocolInterface& p) { return p.getDidTerminalMakePrintout(); });
}

ecr_status ecr_readIfMultilanguagePrintoutIsRequired(EcrCtx_s* ctx, bool* required) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if multilanguage printout is required");
  return readFlag(claim, __func__, required, "Multilanguage printout is%s required",
                  [](ProtocolInterface& p) { return p.getMultilanguagePrintout(); });
}

ecr_status ecr_readIfReversalWasManual(EcrCtx_s* ctx, bool* manual) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if transaction was a manual reversal");
  return readFlag(claim, __func__, manual, "Transaction was%s a manual reversal",
                  [](ProtocolInterface& p) { return p.getIsManualReversal(); });
}

ecr_status ecr_readIfTransactionWasReversal(EcrCtx_s* ctx, bool* reversal) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if transaction was a reversal");
  return readFlag(claim, __func__, reversal, "Transaction is%s a reversal",
                  [](ProtocolInterface& p) { return p.getIsReversal(); });
}

ecr_status ecr_readBatchStatus(EcrCtx_s* ctx, ecr_batchStatus* status) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read batch status from context");
  return readEnumeration(claim, __func__, status, "Batch status: %d",
                         [](ProtocolInterface& p) { return p.getBatchStatus(); });
}

ecr_status ecr_readTerminalStatus(EcrCtx_s* ctx, ecr_terminalStatus* status) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read terminal status from context");
  return readEnumeration(claim, __func__, status, "Terminal status: %d",
                         [](ProtocolInterface& p) { return p.readTerminalStatus(); });
}

// ---- Family B: single tags as text ----

ecr_status ecr_readTransactionDate(EcrCtx_s* ctx, char* date) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction date");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (date == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(TAG_TRANSACTION_DATE, value)) {
      logBusDebug("Transaction date missing from context");
      return ECR_NO_DATA;
    }
    if (value.size() != 3) {
      logBusError("Invalid transaction date");
      logBusErrorHex(value.data(), value.size());
      return ECR_ERROR;
    }
    // The terminal sends a two-digit year: 00 to 49 are this century, 50 to
    // 99 the last one.
    const unsigned century = value[0] < 0x50 ? 0x20 : 0x19;
    char text[32];
    std::snprintf(text, sizeof text, "%02X%02X-%02X-%02X", century, value[0], value[1], value[2]);
    logBusTrace("Set transaction date in format: %02X%02X-%02X-%02X", century, value[0], value[1],
                value[2]);
    std::memcpy(date, text, ECR_TRANSACTION_DATE_SIZE);
    return ECR_OK;
  });
}

ecr_status ecr_readTransactionTime(EcrCtx_s* ctx, char* time) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction time");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (time == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(TAG_TRANSACTION_TIME, value)) {
      logBusDebug("Transaction time missing from context");
      return ECR_NO_DATA;
    }
    if (value.size() != 3) {
      logBusError("Invalid transaction time");
      logBusErrorHex(value.data(), value.size());
      return ECR_ERROR;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X", value[0], value[1], value[2]);
    logBusTrace("Set transaction time in format: %02X:%02X:%02X", value[0], value[1], value[2]);
    std::memcpy(time, text, ECR_TRANSACTION_TIME_SIZE);
    return ECR_OK;
  });
}

ecr_status ecr_readTransactionCryptogram(EcrCtx_s* ctx, char* cryptogram) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction cryptogram");
  return readHexText(claim, __func__, TAG_AC, cryptogram, ECR_CRYPTOGRAM_SIZE - 1,
                     "Transaction cryptogram missing from context",
                     "Application Cryptogram %s too long", "Application cryptogram: %s");
}

ecr_status ecr_readTransactionCounter(EcrCtx_s* ctx, char* counter) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction counter");
  return readHexText(claim, __func__, TAG_ATC, counter, ECR_TRANSACTION_COUNTER_SIZE - 1,
                     "Transaction counter missing from context", "Transaction counter %s too long",
                     "Application Transaction Counter: %s");
}

ecr_status ecr_readTransactionTvr(EcrCtx_s* ctx, char* tvr) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read terminal verification results");
  return readHexText(claim, __func__, TAG_TVR, tvr, ECR_TVR_SIZE - 1,
                     "Terminal Verification Results missing from context",
                     "Terminal Verification Results %s too long", "TVR: %s");
}

ecr_status ecr_readTransactionTsi(EcrCtx_s* ctx, char* tsi) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction status information");
  return readHexText(claim, __func__, TAG_TSI, tsi, ECR_TSI_SIZE - 1,
                     "Transaction Status Information missing from context",
                     "Terminal Status Information %s too long", "TSI: %s");
}

ecr_status ecr_readTransactionAid(EcrCtx_s* ctx, char* aid) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read application identifier");
  return readHexText(claim, __func__, TAG_AID, aid, ECR_AID_SIZE - 1,
                     "Application Identifier missing from context",
                     "Application Identifier %s too long", "AID: %s");
}

ecr_status ecr_readTransactionAmount(EcrCtx_s* ctx, char* amount) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction amount");
  return readAmountText(claim, __func__, TAG_AMOUNT, amount, "Transaction Amount missing from context",
                        "Transaction Amount %s too long", "Transaction Amount: %s");
}

ecr_status ecr_readTransactionAmountInTerminalCurrency(EcrCtx_s* ctx, char* amount) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction amount in terminal currency");
  return readAmountText(claim, __func__, TAG_AMOUNT_IN_TERMINAL_CURRENCY, amount,
                        "Transaction Amount in terminal currency missing from context",
                        "Transaction Amount in terminal currency %s too long",
                        "Transaction Amount in terminal currency: %s");
}

ecr_status ecr_readTransactionCashback(EcrCtx_s* ctx, char* amount) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read cashback amount");
  return readAmountText(claim, __func__, TAG_CASHBACK_AMOUNT, amount,
                        "Cashback Amount missing from context", "Cashback Amount %s too long",
                        "Cashback Amount: %s");
}

ecr_status ecr_readAosa(EcrCtx_s* ctx, char* amount) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read available online spending amount");
  return readAmountText(claim, __func__, TAG_VLP_LIMIT, amount,
                        "Available Online Spending Amount missing from context",
                        "Available Online Spending Amount %s too long",
                        "Available Online Spending Amount: %s");
}

ecr_status ecr_readTransactionAmountOfTip(EcrCtx_s* ctx, char* amount) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read amount of tip");
  return readTagAsText(claim, __func__, TAG_AMOUNT_OF_TIP, amount, ECR_AMOUNT_SIZE - 1,
                       {"Amount of tip missing from context", "Amount of tip %s too long", false,
                        "Amount of tip: %s"},
                       toRawText);
}

// The caller's buffer is ECR_ADDITIONAL_PRINTOUT_DATA_SIZE bytes, as much
// text as the host itself can set and its NUL; a longer text from the
// terminal is cut to that room rather than written past it.
ecr_status ecr_readAdditionalPrintoutData(EcrCtx_s* ctx, char* data) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read additional printout data");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (data == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, value)) {
      logBusDebug("Additional printout data missing from context");
      return ECR_NO_DATA;
    }
    constexpr size_t kMaxData = ECR_ADDITIONAL_PRINTOUT_DATA_MAX_LEN;
    if (value.size() > kMaxData) {
      logBusWarn("Additional printout data of %u bytes cut to %u", asUnsigned(value.size()),
                 asUnsigned(kMaxData));
      value.resize(kMaxData);
    }
    const std::string text = asText(value);
    logBusTrace("Additional printout data: %s", text.c_str());
    std::memcpy(data, text.data(), text.size());
    data[text.size()] = '\0';
    return ECR_OK;
  });
}

ecr_status ecr_readTransactionCurrencyLabel(EcrCtx_s* ctx, char* label) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction currency label");
  return readCurrencyLabel(claim, __func__, TAG_TRANSACTION_CURRENCY, label,
                           "Transaction currency code missing from context",
                           "Transaction Currency Code invalid",
                           "Transaction currency code: %02X%02X, label: %s");
}

ecr_status ecr_readTerminalCurrencyLabel(EcrCtx_s* ctx, char* label) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read terminal currency label");
  return readCurrencyLabel(claim, __func__, TAG_TERMINAL_CURRENCY, label,
                           "Terminal currency code missing from context",
                           "Terminal Currency Code invalid",
                           "Terminal currency code: %02X%02X, label: %s");
}

ecr_status ecr_readTransactionCurrencyCode(EcrCtx_s* ctx, uint16_t* code) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction currency code");
  return readCurrencyCode(claim, __func__, TAG_TRANSACTION_CURRENCY, code,
                          "Transaction Currency Code missing from context",
                          "Transaction Currency Code invalid", "Transaction currency code: %04X");
}

ecr_status ecr_readTerminalCurrencyCode(EcrCtx_s* ctx, uint16_t* code) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read terminal currency code");
  return readCurrencyCode(claim, __func__, TAG_TERMINAL_CURRENCY, code,
                          "Terminal Currency Code missing from context",
                          "Terminal Currency Code invalid", "Terminal currency code: %04X");
}

// One digit character without a NUL. Only 0 to 9 make a digit; any other
// byte is refused so that the printouts fall back to their default instead
// of printing a punctuation mark as the number of decimals.
ecr_status ecr_readCurrencyExponent(EcrCtx_s* ctx, char* exponent) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read currency exponent");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (exponent == nullptr) return refuseNull();
    Bytes value;
    if (!protocol.readTag(TAG_CURRENCY_EXPONENT, value)) {
      logBusDebug("Currency Exponent missing from context");
      return ECR_NO_DATA;
    }
    if (value.size() != 1 || value[0] > 9) {
      logBusError("Invalid currency exponent: ");
      logBusErrorHex(value.data(), value.size());
      return ECR_ERROR;
    }
    const char digit = static_cast<char>('0' + value[0]);
    logBusTrace("Currency Exponent: %c", digit);
    *exponent = digit;
    return ECR_OK;
  });
}

// ---- Family C: raw buffers ----

ecr_status ecr_readTag(EcrCtx_s* ctx, TlvTag tag, uint8_t* buffer, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read tag 0x%08X", static_cast<unsigned>(tag));
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (!bufferUsable(buffer, length)) return refuseNull();
    Bytes value;
    if (!protocol.readTag(tag, value)) return ECR_NO_DATA;
    if (value.size() > *length) {
      logBusError("Insufficient buffer length, %u bytes needed, %u provided",
                  asUnsigned(value.size()), asUnsigned(*length));
      return ECR_INVALID_ARGUMENT;
    }
    if (!value.empty()) std::memcpy(buffer, value.data(), value.size());
    *length = value.size();
    logBusTrace("Tag value: %s", asText(value).c_str());
    return ECR_OK;
  });
}

ecr_status ecr_readTerminalId(EcrCtx_s* ctx, uint8_t* buffer, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Get Terminal ID");
  return guardedCall(__func__, claim, [&](ProtocolInterface&) -> ecr_status {
    const ecr_status status = ecr_readTag(ctx, TAG_TID, buffer, length);
    if (status != ECR_OK) logBusDebug("Terminal ID not available");
    return status;
  });
}

ecr_status ecr_readMerchantId(EcrCtx_s* ctx, uint8_t* buffer, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Get Merchant ID");
  return guardedCall(__func__, claim, [&](ProtocolInterface&) -> ecr_status {
    const ecr_status status = ecr_readTag(ctx, TAG_MID, buffer, length);
    if (status != ECR_OK) logBusDebug("Merchant ID not available");
    return status;
  });
}

// A failure on a later line leaves the earlier lines written: each line is a
// read of its own.
ecr_status ecr_readTerminalAddress(EcrCtx_s* ctx, uint8_t* line1, size_t* length1, uint8_t* line2,
                                   size_t* length2, uint8_t* line3, size_t* length3) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Get Terminal Address");
  return guardedCall(__func__, claim, [&](ProtocolInterface&) -> ecr_status {
    ecr_status status = readAddressLine(ctx, TAG_TERMINAL_ADDRESS_1, 1, line1, length1);
    if (status != ECR_OK) return status;
    status = readAddressLine(ctx, TAG_TERMINAL_ADDRESS_2, 2, line2, length2);
    if (status != ECR_OK) return status;
    status = readAddressLine(ctx, TAG_TERMINAL_ADDRESS_3, 3, line3, length3);
    if (status != ECR_OK) return status;
    const std::string text1(reinterpret_cast<const char*>(line1), *length1);
    const std::string text2(reinterpret_cast<const char*>(line2), *length2);
    const std::string text3(reinterpret_cast<const char*>(line3), *length3);
    logBusTrace("Terminal address: %s, %s, %s", text1.c_str(), text2.c_str(), text3.c_str());
    return ECR_OK;
  });
}

ecr_status ecr_readResultTags(EcrCtx_s* ctx, uint8_t* buffer, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read all result tags");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (!bufferUsable(buffer, length)) return refuseNull();
    zq::app::tlv::TlvCtx image;
    for (TlvTag tag : protocol.getMandatoryTransactionTags()) {
      Bytes value;
      if (!protocol.readTag(tag, value)) {
        logBusError("Mandatory tag 0x%08X missing, abort", static_cast<unsigned>(tag));
        return ECR_NO_DATA;
      }
      logBusTrace("Mandatory tag 0x%08X present", static_cast<unsigned>(tag));
      image.updateTag(tag, value);
    }
    for (TlvTag tag : protocol.getOptionalTransactionTags()) {
      Bytes value;
      if (!protocol.readTag(tag, value)) continue;
      logBusTrace("Optional tag 0x%08X present", static_cast<unsigned>(tag));
      image.updateTag(tag, value);
    }
    logDevDebug("Result tags:");
    image.dbgDump();
    Bytes raw;
    image.getRawData(raw);
    if (raw.size() > *length) {
      logBusError("Insufficient buffer length, %u bytes needed, %u provided", asUnsigned(raw.size()),
                  asUnsigned(*length));
      return ECR_INVALID_ARGUMENT;
    }
    if (!raw.empty()) std::memcpy(buffer, raw.data(), raw.size());
    *length = raw.size();
    return ECR_OK;
  });
}

// ---- Family D: reports ----

ecr_status ecr_readReportTitle(EcrCtx_s* ctx, uint8_t* title, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read report title");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (title == nullptr || length == nullptr) return refuseNull();
    const std::string text = protocol.getReportTitle();
    if (text.empty()) {
      logBusDebug("Report is empty");
      return ECR_EMPTY;
    }
    if (text.size() > *length) {
      logBusError("Provided buffer too short, %u bytes provided, %u needed", asUnsigned(*length),
                  asUnsigned(text.size()));
      return ECR_INVALID_ARGUMENT;
    }
    std::memcpy(title, text.data(), text.size());
    *length = text.size();
    logBusTrace("Report title: %s", text.c_str());
    return ECR_OK;
  });
}

// Every part of the entry is read before anything is written, so a corrupted
// entry or a name too long for the caller's buffer leaves all outputs as
// they were.
ecr_status ecr_readReportEntryValid(EcrCtx_s* ctx, size_t id, uint8_t* name, size_t* nameLength,
                                    uint32_t* count, int64_t* amount, bool* valid) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusDebug("Read report entry %d", static_cast<int>(id));
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (name == nullptr || nameLength == nullptr || count == nullptr || amount == nullptr)
      return refuseNull();
    // Ids count from 1; id 0 wraps to an index no entry has.
    const size_t index = id - 1;
    const std::string entryName = protocol.getReportEntryName(index);
    if (entryName.empty()) {
      logBusDebug("No entry with ID %d", static_cast<int>(id));
      return ECR_EMPTY;
    }
    if (entryName.size() > *nameLength) {
      logBusError("Provided buffer too short, %u bytes provided, %u needed",
                  asUnsigned(*nameLength), asUnsigned(entryName.size()));
      return ECR_INVALID_ARGUMENT;
    }
    zq::app::utils::Optional<uint32_t> entryCount = protocol.getReportTransactionCount(index);
    zq::app::utils::Optional<int64_t> entryAmount = protocol.getReportSummaryAmount(index);
    if (!entryCount.isPresent() || !entryAmount.isPresent()) {
      logBusError("Corrupted entry with ID %d", static_cast<int>(id));
      return ECR_EMPTY;
    }
    std::memcpy(name, entryName.data(), entryName.size());
    *nameLength = entryName.size();
    *count = *entryCount;
    *amount = *entryAmount;
    if (valid != nullptr) *valid = protocol.getReportSummaryAmountValid(index);
    logBusTrace("Report entry: %s %u (%" PRId64 ")", entryName.c_str(),
                static_cast<unsigned>(*entryCount), *entryAmount);
    return ECR_OK;
  });
}

ecr_status ecr_readReportEntry(EcrCtx_s* ctx, size_t id, uint8_t* name, size_t* nameLength,
                               uint32_t* count, int64_t* amount) {
  return ecr_readReportEntryValid(ctx, id, name, nameLength, count, amount, nullptr);
}

// ---- Family E: fleet cards ----

// A value longer than the buffer is cut to it without a message: the
// printouts read these fields into a fixed line.
ecr_status ecr_readFleetCardData(EcrCtx_s* ctx, TlvTag subTag, uint8_t* buffer, size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read fleet card data");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (!bufferUsable(buffer, length)) return refuseNull();
    Bytes value;
    const ecr_status status = readFleetCardDataTag(protocol, subTag, value);
    if (status != ECR_OK) return status;
    const size_t copied = std::min(value.size(), *length);
    if (copied != 0) std::memcpy(buffer, value.data(), copied);
    *length = copied;
    return ECR_OK;
  });
}

// Items count from 1. An item longer than the buffer is cut to it and still
// answers 0, with the length left at the buffer size.
ecr_status ecr_readFleetCardProductData(EcrCtx_s* ctx, uint8_t index, uint8_t* buffer,
                                        size_t* length) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read fleet card product data");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (!bufferUsable(buffer, length)) return refuseNull();
    Bytes list;
    if (!protocol.readTag(TAG_CONSTRUCTED_OUT_FLEET_CARD_PRODUCT_LIST, list)) {
      logBusDebug("Fleet card product list missing from context");
      return ECR_NO_DATA;
    }
    TlvItem item{};
    // The finder takes index 0 as the first item; there is no item 0.
    if (index == 0 || list.empty() ||
        tlv_find_n(list.data(), static_cast<int>(std::min<size_t>(list.size(), 0x7FFFFFFF)),
                   static_cast<uint16_t>(TAG_CONSTRUCTED_FLEET_CARD_SALE_ITEM), &item,
                   index) != 1 ||
        item.value == nullptr) {
      logBusDebug("Unable to get fleet card sale item, index %d", static_cast<int>(index));
      return ECR_NO_DATA;
    }
    if (item.length > *length) {
      logDevWarn("Too small buffer!");
      if (*length != 0) std::memcpy(buffer, item.value, *length);
      return ECR_OK;
    }
    if (item.length != 0) std::memcpy(buffer, item.value, item.length);
    *length = item.length;
    return ECR_OK;
  });
}

ecr_status ecr_readIfIsFleetCardIndicator(EcrCtx_s* ctx, bool* indicator) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if is fleet card indicator");
  logBusTrace("Read if fleet card indicator is present");
  return readFleetCardFlag(claim, __func__, indicator, 0x1);
}

ecr_status ecr_readIfIsFleetCardSignature(EcrCtx_s* ctx, bool* signature) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read if is fleet card signature");
  return readFleetCardFlag(claim, __func__, signature, 0x2);
}

// The names come as "id=name|id=name|..."; the first item with the id wins.
// An item without "=" names nothing and is passed over.
ecr_status ecr_readFleetCardProductName(EcrCtx_s* ctx, const char* id, char* output,
                                        size_t outputSize) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read fleet card product name");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (id == nullptr || output == nullptr || outputSize == 0) return refuseNull();
    Bytes value;
    const ecr_status status =
        readFleetCardDataTag(protocol, TAG_FLEET_CARD_TAG_PRODUCT_NAMES, value);
    if (status != ECR_OK) return status;
    const std::string wanted(id);
    const std::string names = asText(value);
    size_t start = 0;
    while (start <= names.size()) {
      size_t end = names.find('|', start);
      if (end == std::string::npos) end = names.size();
      const std::string item = names.substr(start, end - start);
      const bool last = end == names.size();
      start = end + 1;
      if (item.empty()) {
        // A "|" at the very end closes the list rather than opening an item.
        if (last) break;
        logDevError("Parse error!");
        continue;
      }
      const size_t equals = item.find('=');
      if (equals == std::string::npos) continue;
      if (item.compare(0, equals, wanted) != 0 || equals != wanted.size()) continue;
      const std::string name = item.substr(equals + 1);
      const size_t written = std::min(name.size(), outputSize - 1);
      std::memcpy(output, name.data(), written);
      output[written] = '\0';
      return ECR_OK;
    }
    return ECR_NO_DATA;
  });
}

// ---- Family F: transaction result ----

ecr_status ecr_readTransactionResult(EcrCtx_s* ctx, ecr_transactionResult* result) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  logBusTrace("Read transaction results");
  return guardedCall(__func__, claim, [&](ProtocolInterface& protocol) -> ecr_status {
    if (result == nullptr) return refuseNull();
    Bytes value;
    ecr_transactionResult converted = ECR_TRANSACTION_RESULT_0;
    bool known = false;
    if (protocol.readTag(TAG_TRANSACTION_RETURN_CODE, value)) {
      zq::app::utils::Optional<unsigned int> number = zq::app::utils::dataInVectorToUint32t(value);
      known = number.isPresent() &&
              zq::app::utils::convertUint32ToTransactionResult(*number, converted);
    }
    if (!known) {
      logBusError("Transaction result not available");
      return ECR_NO_DATA;
    }
    *result = converted;
    logBusTrace("Transaction result: %d", static_cast<int>(converted));
    return ECR_OK;
  });
}

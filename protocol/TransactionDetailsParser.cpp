#include "protocol/TransactionDetailsParser.h"

#include <algorithm>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

using Bytes = std::vector<unsigned char>;

Bytes textConverter(const std::string& text) { return utils::asciiToVector(text); }
Bytes bcdConverter(const std::string& text) { return utils::asciiToBcd(text); }
Bytes hexConverter(const std::string& text) { return utils::asciiToHex(text); }
Bytes currencyConverter(const std::string& text) {
  return utils::currencyLabelToCurrencyCode(text);
}

constexpr size_t kDateLength = 10;
constexpr size_t kTimeLength = 8;

const TagParsingData kCardRows[] = {
    {TAG_AUTHORIZATION_CODE, 0, textConverter},
    {TAG_SERVER_ERROR_MESSAGE, 0, textConverter},
    {TAG_MID, 0, textConverter},
    {TAG_MASKED_PAN, 0, textConverter},
    {TAG_TRANSACTION_DATE, 0, extractDate},
    {TAG_TRANSACTION_TIME, 0, extractTime},
    {TAG_APP_PREFERRED_NAME, 0, textConverter},
    {TAG_USED_READER, 0, textConverter},
    {TAG_TID, 0, textConverter},
    {TAG_AUTHORIZATION_MESSAGE_NUMBER, 0, textConverter},
    {TAG_AUTHORIZATION_TYPE, 0, textConverter},
    {TAG_AMOUNT, 0, bcdConverter},
    {TAG_AUTHORIZATION_METHOD, 0, textConverter},
    {TAG_ATC, 0, hexConverter},
    {TAG_AC, 0, hexConverter},
    {TAG_AID, 0, hexConverter},
    // The terminal puts a two-character marker before the reference number
    // and one before the TVR.
    {TAG_TRANSACTION_REFERENCE_NUMBER, 2, textConverter},
    {TAG_TVR, 1, hexConverter},
    {TAG_TSI, 0, hexConverter},
    {TAG_TRANSACTION_TITLE, 0, textConverter},
    {TAG_PRINTING_INDICATOR, 0, textConverter},
    {TAG_TRANSACTION_CURRENCY, 0, currencyConverter},
    {TAG_TERMINAL_CURRENCY, 0, currencyConverter},
    {TAG_AMOUNT_IN_TERMINAL_CURRENCY, 0, hexConverter},
    {TAG_EXCHANGE_RATE, 0, textConverter},
    {TAG_DCC_TEXT_1, 0, textConverter},
    {TAG_DCC_TEXT_2, 0, textConverter},
    {TAG_CASHBACK_AMOUNT, 0, bcdConverter},
    {TAG_VLP_LIMIT, 0, hexConverter},
    {TAG_CURRENCY_EXPONENT, 0, bcdConverter},
};

const TagParsingData kEvoucherRows[] = {
    {TAG_EV_ECR_TRANSACTION_TYPE, 0, textConverter},
    {TAG_EV_TERMINAL_PRINTING_INDICATOR, 0, textConverter},
    {TAG_EV_OPERATOR_NAME, 0, textConverter},
    {TAG_EV_COUPONS_VALUE_LABEL, 0, textConverter},
    {TAG_EV_SYSTEM_MESSAGES, 0, textConverter},
    {TAG_EV_COUPON_TYPE_ID, 0, textConverter},
    {TAG_EV_COUPON_SERIAL_NUMBER, 0, textConverter},
    {TAG_EV_COUPON_VALUE, 0, textConverter},
    {TAG_EV_COUPON_CODE, 0, textConverter},
    {TAG_EV_COUPON_PARAM1, 0, textConverter},
    {TAG_EV_COUPON_PARAM2, 0, textConverter},
    {TAG_EV_BARCODE, 0, textConverter},
    {TAG_EV_COUPON_PARAM4, 0, textConverter},
    {TAG_EV_COUPON_PARAM5, 0, textConverter},
    {TAG_EV_SELL_TYPE, 0, textConverter},
    {TAG_EV_COPY_INDICATOR, 0, textConverter},
    {TAG_EV_STAN, 0, textConverter},
    {TAG_EV_TRX_DATE_TIME, 0, textConverter},
    {TAG_EV_LOGIN_MODE, 0, textConverter},
    {TAG_EV_CASHIER_LOGIN, 0, textConverter},
    {TAG_EV_OPERATOR_ID, 0, textConverter},
    {TAG_EV_PAYMENT_MODE, 0, textConverter},
    {TAG_EV_COUPON_CONFIRMATION, 0, textConverter},
};

}  // namespace

std::vector<unsigned char> extractDate(const std::string& text) {
  if (text.size() != kDateLength) {
    logDevError("Unable to get transaction date from string %s", text.c_str());
    return {};
  }
  return utils::asciiToBcd(text.substr(2, 2) + text.substr(5, 2) + text.substr(8, 2));
}

std::vector<unsigned char> extractTime(const std::string& text) {
  if (text.size() != kTimeLength) {
    logDevError("Unable to get transaction time from string %s", text.c_str());
    return {};
  }
  return utils::asciiToBcd(text.substr(0, 2) + text.substr(3, 2) + text.substr(6, 2));
}

void TransactionDetailsParser::parseDetails() {
  if (handleRows(kCardRows, sizeof kCardRows / sizeof kCardRows[0])) handlePrivateTags();
}

bool TransactionDetailsParser::handleRows(const TagParsingData* rows, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!tryToHandleNewRegularTag(rows[i])) return false;
  }
  return true;
}

bool TransactionDetailsParser::tryToHandleNewRegularTag(const TagParsingData& row) {
  // The field's end is looked for from where the field begins, and only
  // then are the leading marker characters dropped, never more than the
  // field holds: an empty or short field must not swallow the ',' and push
  // every later field into the wrong tag.
  const size_t start = std::min(currentPosition, details.size());
  const size_t comma = details.find(',', start);
  const size_t end = comma == std::string::npos ? details.size() : comma;
  const size_t skip = std::min(row.skip, end - start);
  const std::string field = details.substr(start + skip, end - start - skip);
  if (!field.empty()) {
    const std::vector<unsigned char> value = row.converter(field);
    // A value that does not convert leaves the tag absent.
    if (value.empty()) {
      store.removeTag(row.tag);
    } else {
      store.updateTag(row.tag, value);
    }
  }
  if (comma == std::string::npos) {
    currentPosition = details.size();
    return false;
  }
  currentPosition = comma + 1;
  return true;
}

void TransactionDetailsParser::handlePrivateTags() {
  privateData = currentPosition < details.size() ? details.substr(currentPosition) : std::string();
  logDevDebug("Additional data: %s", privateData.c_str());
  if (privateData.empty()) return;
  const std::vector<unsigned char> bytes = utils::asciiToHex(privateData);
  if (bytes.empty()) return;
  store.parseTLVBuffer(bytes.data(), bytes.size());
}

void EvoucherTransactionDetailsParser::parseDetails() {
  handleRows(kEvoucherRows, sizeof kEvoucherRows / sizeof kEvoucherRows[0]);
}

}  // namespace zq::app::protocols

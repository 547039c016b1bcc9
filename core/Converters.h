// Conversions between the forms data takes in the library: ASCII text from
// the host and the terminal's fields, raw bytes of the TLV stores, packed BCD
// amounts and currency codes, hexadecimal text, and integers. Failures are
// values (an empty Optional, vector or text, or false) with the reason on
// the developer category; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Optional.h"
#include "zumbra_transaction_result.h"

namespace zq::app::utils {

// Each character to one byte and back, unchanged.
std::vector<unsigned char> asciiToVector(const std::string& text);
std::string vectorToAscii(const std::vector<unsigned char>& bytes);

// Decimal digits to a number modulo 256 (an overflow is logged as a warning
// and wraps); any non-digit, and the empty text, give 0.
uint8_t asciiToUint8(const std::string& text);

// Decimal digits to a number; the empty text gives 0. A non-digit, or a
// number too large for 64 bits, gives an empty result.
Optional<std::uint64_t> asciiToUint64(const std::string& text);

// Bytes holding decimal digits to a number; no bytes give 0. A non-digit, or
// a number too large for 32 bits, gives an empty result.
Optional<unsigned int> dataInVectorToUint32t(const std::vector<unsigned char>& bytes);

// Bytes as a big-endian unsigned number; leading zero bytes are accepted in
// any count, no bytes give 0, a number too large for the width is empty.
Optional<unsigned short> vectorToHexUint16(const std::vector<unsigned char>& bytes);
Optional<unsigned int> vectorToHexUint32(const std::vector<unsigned char>& bytes);
Optional<std::uint64_t> vectorToHexUint64(const std::vector<unsigned char>& bytes);

// Big-endian bytes without leading zero bytes; 0 gives the single byte 00.
std::vector<unsigned char> uint64ToVector(std::uint64_t value);

// Decimal text; the padded form fills on the left with `fill` up to `width`
// characters and never cuts a longer number.
std::string int64ToAscii(std::int64_t value);
std::string uint64ToAscii(std::uint64_t value);
std::string uint64ToAscii(std::uint64_t value, std::size_t width, char fill);

// Appends the number's decimal text, one byte per character, no terminator.
void addUint32ToDataVector(unsigned int value, std::vector<unsigned char>& data);
void addUint64ToDataVector(std::uint64_t value, std::vector<unsigned char>& data);
void addInt64ToDataVector(std::int64_t value, std::vector<unsigned char>& data);

// Packed BCD to digits without leading zeros; empty or all-zero input gives
// the empty text. A nibble above 9 prints as its two-digit decimal number.
std::string bcdToAscii(const std::vector<unsigned char>& bytes);

// Bytes to upper-case hexadecimal text. With dropLeadingZeros, leading zero
// bytes are skipped and the first non-zero byte loses its leading zero digit
// (00 0A 05 gives A05).
std::string hexToAscii(const std::vector<unsigned char>& bytes, bool dropLeadingZeros);
std::string hexToAscii(const std::vector<unsigned char>& bytes);

// Digit text to packed BCD, hexadecimal text to bytes; an odd count of digits
// gets a leading 0 nibble. An invalid character gives an empty vector.
std::vector<unsigned char> asciiToBcd(const std::string& text);
std::vector<unsigned char> asciiToHex(const std::string& text);

// The fields of a separated text. With max of 1 or more, the max-th field is
// the whole rest of the text; max 0 sets no limit. A separator at the very
// end adds no field, two in a row give an empty field.
std::vector<std::string> csvToFields(const std::string& text, char separator, std::size_t max);
std::vector<std::string> csvToFields(const std::string& text, char separator);

// BCD currency code to its 3-letter label and back, through the currency
// table; an unknown code or label gives the empty text or vector.
std::string currencyCodeToCurrencyLabel(const std::vector<unsigned char>& code);
std::vector<unsigned char> currencyLabelToCurrencyCode(const std::string& label);

// The terminal's transaction return code; only 0, 1, 2 and 7 are written to
// `out` (true), anything else leaves it unchanged (false).
bool convertUint32ToTransactionResult(const unsigned int& value, ecr_transactionResult& out);

}  // namespace zq::app::utils

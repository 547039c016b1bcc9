// CRC-16/UMTS (polynomial 0x8005, MSB first, no reflection, no final XOR)
// over the e-voucher data. The caller supplies the start value.
#pragma once

#include <cstddef>

namespace zq::app::utils {

// The CRC after one more byte.
unsigned short crc16(unsigned char byte, unsigned short crc);

// Runs crc16 over the bytes in order, storing the running value in crc; no
// bytes (or no buffer) leave crc unchanged.
void crc16_buf(const unsigned char* data, size_t length, unsigned short& crc);

}  // namespace zq::app::utils

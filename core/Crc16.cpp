#include "core/Crc16.h"

#include <array>
#include <cstdint>

namespace zq::app::utils {

namespace {

// Entry i is the CRC of byte i shifted in from a zero register.
constexpr std::array<std::uint16_t, 256> makeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t value = static_cast<std::uint16_t>(i << 8);
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 0x8000u) ? static_cast<std::uint16_t>((value << 1) ^ 0x8005u)
                                : static_cast<std::uint16_t>(value << 1);
    }
    table[i] = value;
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> crcTable = makeTable();
static_assert(crcTable[1] == 0x8005 && crcTable[2] == 0x800F && crcTable[3] == 0x000A,
              "MSB-first table of polynomial 0x8005");

}  // namespace

unsigned short crc16(unsigned char byte, unsigned short crc) {
  return static_cast<unsigned short>(static_cast<std::uint16_t>(crc << 8) ^
                                     crcTable[((crc >> 8) ^ byte) & 0xFFu]);
}

void crc16_buf(const unsigned char* data, size_t length, unsigned short& crc) {
  if (data == nullptr) {
    return;
  }
  for (size_t i = 0; i < length; ++i) {
    crc = crc16(data[i], crc);
  }
}

}  // namespace zq::app::utils

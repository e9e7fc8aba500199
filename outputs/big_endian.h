// 32-bit numbers stored most significant byte first, as ENGLISH.KVX holds
// them, whatever the byte order of the machine.
#pragma once

#include <cstdint>

namespace valmero {

inline void StoreBigEndian32(unsigned char* at, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  at[0] = static_cast<unsigned char>(bits >> 24);
  at[1] = static_cast<unsigned char>(bits >> 16);
  at[2] = static_cast<unsigned char>(bits >> 8);
  at[3] = static_cast<unsigned char>(bits);
}

inline int32_t LoadBigEndian32(const unsigned char* at) {
  const uint32_t bits = (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
                        (static_cast<uint32_t>(at[2]) << 8) | static_cast<uint32_t>(at[3]);
  return static_cast<int32_t>(bits);
}

}  // namespace valmero

// The temporary names themselves, the same on every system; creating the
// file is each system's own (temporary_file.cpp).
#include <cstring>

#include "platform/temporary_file.h"

namespace valmero {

namespace {

constexpr const char* MARK = ".vtmp";
constexpr std::size_t MARK_LENGTH = 5;
constexpr std::size_t SUFFIX_LENGTH = TEMPORARY_SUFFIX_LENGTH - MARK_LENGTH;
constexpr char DIGITS[] = "0123456789abcdefghijklmnopqrstuvwxyz";

TemporarySeeds g_seeds = nullptr;

bool IsSuffixChar(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string TemporaryNameFor(const char* destination, unsigned long long seed) {
  char suffix[SUFFIX_LENGTH + 1];
  for (std::size_t i = 0; i < SUFFIX_LENGTH; ++i) {
    suffix[i] = DIGITS[seed % 36];
    seed /= 36;
  }
  suffix[SUFFIX_LENGTH] = '\0';
  return std::string(destination) + MARK + suffix;
}

void SetTemporarySeeds(TemporarySeeds seeds) { g_seeds = seeds; }

std::string NextTemporaryName(const char* destination, unsigned long long ownSeed) {
  return TemporaryNameFor(destination, g_seeds != nullptr ? g_seeds() : ownSeed);
}

bool IsTemporaryName(const char* name) {
  std::size_t length = std::strlen(name);
  if (length <= MARK_LENGTH + SUFFIX_LENGTH) return false;
  const char* suffix = name + length - SUFFIX_LENGTH;
  if (std::strncmp(suffix - MARK_LENGTH, MARK, MARK_LENGTH) != 0) return false;
  for (std::size_t i = 0; i < SUFFIX_LENGTH; ++i) {
    if (!IsSuffixChar(suffix[i])) return false;
  }
  return true;
}

}  // namespace valmero

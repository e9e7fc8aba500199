// Comparing two files' bytes, for a copy that must be proven to hold its
// song before it is kept or moved.
#pragma once

#include <cstdint>

namespace valmero {

enum class BytesCompared {
  Ends,   // the first and the last 64 KB: enough to tell songs of one size and date apart
  Whole,  // every byte: what a damaged copy needs
};

// True when the regular files `a` and `b` are both `size` bytes long and
// equal in the part `how` says. False when either cannot be read.
bool SameBytes(const char* a, const char* b, uint64_t size, BytesCompared how);

}  // namespace valmero

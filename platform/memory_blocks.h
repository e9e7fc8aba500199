// Large blocks of memory straight from the system, with their pages present,
// for pools that hand out many small records.
#pragma once

#include <cstddef>

namespace valmero {

// A zeroed block of `size` bytes; nullptr when the system has none.
void* TakeMemoryBlock(std::size_t size);

// Gives back a block TakeMemoryBlock returned, with the same size.
void GiveBackMemoryBlock(void* block, std::size_t size);

}  // namespace valmero

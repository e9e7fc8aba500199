#include "platform/memory_blocks.h"

#include <windows.h>

namespace valmero {

// Committed at once: the pages are there when the pool fills the block.
void* TakeMemoryBlock(std::size_t size) {
  return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void GiveBackMemoryBlock(void* block, std::size_t) { ::VirtualFree(block, 0, MEM_RELEASE); }

}  // namespace valmero

#include "platform/memory_blocks.h"

#include <sys/mman.h>

namespace valmero {

// MAP_POPULATE: one call makes every page present, instead of one page fault
// per 4 KB as the pool fills the block.
void* TakeMemoryBlock(std::size_t size) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void GiveBackMemoryBlock(void* block, std::size_t size) { ::munmap(block, size); }

}  // namespace valmero

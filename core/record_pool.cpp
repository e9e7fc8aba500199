// The pool behind SongRecord's operator new and delete.
//
// A run holds every song of the collection in its own record. Taken one by
// one from malloc, 100,000 records are 100,000 allocations and, as the heap
// grows into fresh memory, a page fault for every 4 KB; the faults alone cost
// as much as reading a tenth of the tags. The pool takes blocks of 2 MB with
// their pages present from the system and hands out slots from them; freed
// slots are kept on a list for the next record. When the last record is
// freed (the song list is emptied at the start of every read and at the
// end), the blocks go back to the system, so that an idle program holds
// nothing.
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

#include "core/song_record.h"
#include "platform/memory_blocks.h"

// Under AddressSanitizer every record is its own allocation, so that a use
// after free or an overrun of a record is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define VALMERO_RECORDS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALMERO_RECORDS_FROM_HEAP 1
#endif
#endif

namespace valmero {

#ifndef VALMERO_RECORDS_FROM_HEAP
namespace {

constexpr std::size_t BLOCK_BYTES = std::size_t{2} << 20;
constexpr std::size_t SLOT_BYTES =
    (sizeof(SongRecord) + alignof(SongRecord) - 1) / alignof(SongRecord) * alignof(SongRecord);
static_assert(SLOT_BYTES >= sizeof(void*), "a free slot holds the link to the next one");

class CRecordPool {
 public:
  void* Take() {
    std::lock_guard<std::mutex> hold(m_mutex);
    void* slot = m_freeSlots;
    if (slot != nullptr) {
      m_freeSlots = *static_cast<void**>(slot);
    } else {
      if (m_next == nullptr || m_end - m_next < static_cast<std::ptrdiff_t>(SLOT_BYTES)) AddBlock();
      slot = m_next;
      m_next += SLOT_BYTES;
    }
    ++m_live;
    return slot;
  }

  std::size_t BlocksTaken() {
    std::lock_guard<std::mutex> hold(m_mutex);
    return m_taken;
  }

  void Give(void* slot) {
    std::lock_guard<std::mutex> hold(m_mutex);
    *static_cast<void**>(slot) = m_freeSlots;
    m_freeSlots = slot;
    if (--m_live == 0) ReleaseBlocks();
  }

 private:
  void AddBlock() {
    void* block = TakeMemoryBlock(BLOCK_BYTES);
    if (block == nullptr) throw std::bad_alloc();
    ++m_taken;
    m_blocks.push_back(block);
    m_next = static_cast<char*>(block);
    m_end = m_next + BLOCK_BYTES;
  }

  void ReleaseBlocks() {
    for (void* block : m_blocks) GiveBackMemoryBlock(block, BLOCK_BYTES);
    m_blocks.clear();
    m_freeSlots = nullptr;
    m_next = m_end = nullptr;
  }

  std::mutex m_mutex;
  std::vector<void*> m_blocks;
  void* m_freeSlots = nullptr;
  char* m_next = nullptr;
  char* m_end = nullptr;
  std::size_t m_live = 0;
  std::size_t m_taken = 0;
};

// Never destroyed: a record may be freed by a static destructor that runs
// after this file's statics would have been.
CRecordPool& Pool() {
  static CRecordPool* pool = new CRecordPool;
  return *pool;
}

}  // namespace
#endif

#ifdef VALMERO_RECORDS_FROM_HEAP
void* SongRecord::operator new(std::size_t size) { return ::operator new(size); }
void SongRecord::operator delete(void* record) noexcept { ::operator delete(record); }
std::size_t RecordBlocksTaken() { return 0; }
#else
void* SongRecord::operator new(std::size_t size) {
  if (size > SLOT_BYTES) throw std::bad_alloc();  // no record is larger; nothing derives from it
  return Pool().Take();
}

void SongRecord::operator delete(void* record) noexcept {
  if (record != nullptr) Pool().Give(record);
}

std::size_t RecordBlocksTaken() { return Pool().BlocksTaken(); }
#endif

}  // namespace valmero

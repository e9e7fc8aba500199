// Feeds arbitrary bytes to the ID3v1 reader as the whole contents of a song
// file. The file is an in-memory one reached by its /proc path, so every
// input goes through the real open, size check and read of the last block.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sources/id3v1_reader.h"

namespace {

struct MemoryFile {
  MemoryFile() {
    fd = ::memfd_create("id3v1-fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
  }
  void Fill(const uint8_t* data, std::size_t size) {
    if (::ftruncate(fd, 0) != 0 || (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
      std::abort();
    }
  }
  int fd;
  char path[64];
};

// True when the bytes of a text past `from` are still the scratch's zero fill.
bool ZeroFrom(const char* text, std::size_t from, std::size_t size) {
  for (std::size_t i = from; i < size; ++i) {
    if (text[i] != '\0') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static MemoryFile file;
  file.Fill(data, size);
  valmero::TagScratch scratch = {};
  int result = valmero::ReadId3v1Tag(file.path, scratch);

  // What a file holds decides the result; a field never takes more than its 30 bytes.
  bool tagged = size >= valmero::ID3V1_SIZE && std::memcmp(data + size - valmero::ID3V1_SIZE, "TAG", 3) == 0;
  if (result != (tagged ? 0 : 1)) std::abort();
  const valmero::TagFields& tag = scratch.m_tag;
  if (!ZeroFrom(tag.title, 30, sizeof tag.title) || !ZeroFrom(tag.singer, 30, sizeof tag.singer) ||
      !ZeroFrom(tag.album, 30, sizeof tag.album) || !ZeroFrom(tag.comment, 30, sizeof tag.comment)) {
    std::abort();
  }
  if (tagged && std::memcmp(tag.title, data + size - valmero::ID3V1_SIZE + 3, 30) != 0) std::abort();
  return 0;
}

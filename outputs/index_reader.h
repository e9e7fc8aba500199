// Reading and checking an ENGLISH.KVX image (format: outputs/index_file.h).
// Takes any bytes: every count and offset is checked before it is used, so
// it may be fed files from anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace valmero {

struct KvxSinger {
  std::string name;
  int32_t songCount = 0;
  int32_t id = 0;
};

struct KvxTitle {
  std::string title;
  int32_t groupIndex = 0;
  int32_t number = 0;
};

struct KvxContents {
  std::vector<KvxSinger> singers;
  std::vector<KvxTitle> titles;
};

// The first fault found: where in the file, and what is wrong there.
struct KvxFault {
  std::size_t offset = 0;
  std::string message;
};

// Reads the image and checks what the player relies on: the magic and the
// zero header word, the length the two counts give, each text terminated
// within its 24 bytes, each singer's id equal to its position and its count
// equal to the titles that point at it, each title's singer in range, and
// both tables in ascending order of their bytes (unsigned; equal neighbours
// allowed). The bytes after a text's NUL are not looked at, as the player
// does not. True when sound; otherwise false with the first fault, checking
// in file order and the singers' counts last. `contents` holds what was read.
bool ReadIndexImage(const unsigned char* data, std::size_t size, KvxContents& contents, KvxFault& fault);

// The whole file's length as a sound header of at least 16 bytes gives it;
// 0 when the header is not sound. Lets a reader stop after the bytes that
// matter instead of taking in whatever it was pointed at.
uint64_t KvxLengthFromHeader(const unsigned char* data, std::size_t size);

}  // namespace valmero

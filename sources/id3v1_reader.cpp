#include "sources/id3v1_reader.h"

#include <cerrno>
#include <cstring>

#include "log/activity_log.h"
#include "platform/file_reading.h"

namespace valmero {

namespace {

constexpr std::size_t TITLE_OFFSET = 3;
constexpr std::size_t ARTIST_OFFSET = 33;
constexpr std::size_t ALBUM_OFFSET = 63;
constexpr std::size_t YEAR_OFFSET = 93;
constexpr std::size_t COMMENT_OFFSET = 97;
constexpr std::size_t GENRE_OFFSET = 127;
constexpr std::size_t FIELD_SIZE = 30;

// Copies what the block holds of one field; a field cut by the end of the
// block keeps its remaining bytes as they were.
void CopyField(const unsigned char* block, std::size_t size, std::size_t offset, std::size_t length,
               void* field) {
  if (offset >= size) return;
  std::size_t available = size - offset < length ? size - offset : length;
  std::memcpy(field, block + offset, available);
}

// The last ID3V1_SIZE bytes of a file of `size` bytes in one read; the count
// of bytes delivered, 0 when the file is too short to hold a tag.
std::size_t ReadLastBlock(int fd, long long size, unsigned char (&block)[ID3V1_SIZE]) {
  if (size < static_cast<long long>(ID3V1_SIZE)) return 0;
  long long got = ReadFileAt(fd, block, ID3V1_SIZE, size - static_cast<long long>(ID3V1_SIZE));
  return got < 0 ? 0 : static_cast<std::size_t>(got);
}

// A short read (the file shrank under us) leaves the missing fields as they were.
void CopyId3v1Fields(const unsigned char* block, std::size_t size, TagScratch& scratch) {
  TagFields& tag = scratch.m_tag;
  CopyField(block, size, TITLE_OFFSET, FIELD_SIZE, tag.title);
  CopyField(block, size, ARTIST_OFFSET, FIELD_SIZE, tag.singer);
  CopyField(block, size, ALBUM_OFFSET, FIELD_SIZE, tag.album);
  CopyField(block, size, YEAR_OFFSET, YEAR_SIZE, tag.year);
  CopyField(block, size, COMMENT_OFFSET, FIELD_SIZE, tag.comment);
  CopyField(block, size, GENRE_OFFSET, 1, &scratch.m_nGenre);
}

}  // namespace

int ReadId3v1Tag(const char* path, TagScratch& scratch) {
  return ReadId3v1TagAt(CURRENT_FOLDER, path, path, scratch);
}

int ReadId3v1TagAt(int folderFd, const char* name, const char* path, TagScratch& scratch) {
  // A folder cannot be opened as a song, nor can anything else that is no file.
  long long size = 0;
  int fd = OpenFileForReading(folderFd, name, size);
  if (fd < 0) {
    TraceLastError("open the song for its tag");
    LogMessage("file error : CreateFile()\n");
    return -1;
  }
  unsigned char block[ID3V1_SIZE] = {};
  std::size_t got = ReadLastBlock(fd, size, block);
  CloseFile(fd);

  if (got < 3 || std::memcmp(block, "TAG", 3) != 0) {
    LogMessage("cannot read ID3V1 TAG : %s", path);
    return 1;
  }
  CopyId3v1Fields(block, got, scratch);
  LogMessage("read ID3V1 TAG : %s", path);
  return 0;
}

}  // namespace valmero

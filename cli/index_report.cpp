#include "cli/index_report.h"

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/index_file.h"
#include "outputs/index_reader.h"

namespace valmero {

namespace {

// Appends up to `limit` bytes of the file to `bytes`.
void ReadUpTo(std::FILE* file, uint64_t limit, std::vector<unsigned char>& bytes) {
  unsigned char chunk[64 * 1024];
  while (bytes.size() < limit) {
    uint64_t want = limit - bytes.size();
    std::size_t got = std::fread(chunk, 1, want < sizeof chunk ? static_cast<std::size_t>(want) : sizeof chunk, file);
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
}

// The header, and when it is sound the records it announces and one byte
// more (enough to tell that the file goes on): never more than the file
// itself claims to be, whatever it is.
bool ReadIndexBytes(const char* path, std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  ReadUpTo(file, KVX_HEADER_SIZE, bytes);
  const uint64_t length = KvxLengthFromHeader(bytes.data(), bytes.size());
  if (length > 0) ReadUpTo(file, length + 1, bytes);
  bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

// A text in double quotes, one line whatever bytes it holds. Bytes of 128
// and above are left as they are: they are the code page's letters.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char byte : text) {
    if (byte == '"' || byte == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(byte);
    } else if (byte < 0x20 || byte == 0x7f) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      quoted += escape;
    } else {
      quoted += static_cast<char>(byte);
    }
  }
  return quoted + "\"";
}

void PrintContents(const char* path, const KvxContents& contents, std::FILE* out) {
  std::fprintf(out, "%s: %zu singers, %zu titles\n", path, contents.singers.size(), contents.titles.size());
  // The titles of each singer, in the order of the title table.
  std::vector<std::vector<const KvxTitle*>> titlesOf(contents.singers.size());
  for (const KvxTitle& title : contents.titles) {
    titlesOf[static_cast<std::size_t>(title.groupIndex)].push_back(&title);
  }
  for (std::size_t i = 0; i < contents.singers.size(); ++i) {
    const KvxSinger& singer = contents.singers[i];
    std::fprintf(out, "singer %zu %s: %d %s\n", i, Quoted(singer.name).c_str(), singer.songCount,
                 singer.songCount == 1 ? "title" : "titles");
    for (const KvxTitle* title : titlesOf[i]) {
      std::fprintf(out, "  %11d  %s\n", title->number, Quoted(title->title).c_str());
    }
  }
}

}  // namespace

int RunInspect(const char* path, std::FILE* out, std::FILE* err) {
  std::vector<unsigned char> bytes;
  if (!ReadIndexBytes(path, bytes)) {
    std::fprintf(err, "valmero-cli: can not read \"%s\"\n", path);
    return 1;
  }
  KvxContents contents;
  KvxFault fault;
  if (!ReadIndexImage(bytes.data(), bytes.size(), contents, fault)) {
    std::fprintf(err, "valmero-cli: %s: fault at offset %zu: %s\n", path, fault.offset, fault.message.c_str());
    return 1;
  }
  PrintContents(path, contents, out);
  return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace valmero

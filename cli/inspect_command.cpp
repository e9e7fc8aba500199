#include "cli/inspect_command.h"

#include <string>
#include <vector>

#include "outputs/index_reader.h"

namespace valmero {

namespace {

bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  unsigned char chunk[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
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
  if (!ReadWholeFile(path, bytes)) {
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

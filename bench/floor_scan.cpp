// The floor of a download scan: what no program that reads the ID3v1 tags
// of a folder can avoid. Lists the folder once and reads the last 128 bytes
// of every MP3 file in it, nothing more (no sort, no records, no log).
// valmero-cli make --index keep over the same folder is measured against it.
//
//   floor_scan FOLDER        prints the count of files and of tags found
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <strings.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: floor_scan FOLDER\n");
    return 2;
  }
  DIR* dir = ::opendir(argv[1]);
  if (dir == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  int dirFd = ::dirfd(dir);
  long files = 0;
  long tags = 0;
  while (dirent* entry = ::readdir(dir)) {
    const char* dot = std::strrchr(entry->d_name, '.');
    if (dot == nullptr || ::strncasecmp(dot + 1, "mp3", 3) != 0) continue;
    int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info;
    unsigned char block[128];
    if (::fstat(fd, &info) == 0 && info.st_size >= 128 &&
        ::pread(fd, block, sizeof block, info.st_size - 128) == 128 && std::memcmp(block, "TAG", 3) == 0) {
      ++tags;
    }
    ::close(fd);
    ++files;
  }
  ::closedir(dir);
  std::printf("%ld files, %ld tags\n", files, tags);
  return 0;
}

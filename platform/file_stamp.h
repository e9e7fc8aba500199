// What tells a copy from its source without reading either: the size, the
// date of the last change and the permission bits of a regular file. A copy
// keeps its source's date, so equal stamps mean the copy is in place (the
// quick check rsync makes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace valmero {

struct FileStamp {
  uint64_t size = 0;
  int64_t modified = 0;  // nanoseconds since 1970, as fine as the file system keeps it
  unsigned mode = 0;     // permission bits; 0 where the system keeps none
};

// The stamp of the regular file at `path`, through links. False for anything
// else (missing, a folder, a pipe) and for a file this program may not read.
bool ReadFileStamp(const char* path, FileStamp& stamp);

struct StampedFile {
  std::string name;
  FileStamp stamp;
};

// The regular files directly in `folder` (a link is not one of them: it is
// no copy) whose names `wanted` takes, with their stamps, in the order the
// file system hands them out. False when the folder cannot be listed.
bool ListStampedFiles(const char* folder, bool (*wanted)(const std::string& name), std::vector<StampedFile>& files);

// True when a date set on a new file in `folder` reads back to the
// nanosecond; FAT keeps even seconds only. Tried with a temporary file that
// is removed at once; a folder where none can be made counts as exact.
bool FolderKeepsExactDates(const char* folder);

// Gives the file at `path` the date `modified`; false when it cannot.
bool SetFileDate(const char* path, int64_t modified);

// Gives the file at `path` the permission bits `mode`; false when it cannot
// (FAT keeps none).
bool SetFileMode(const char* path, unsigned mode);

// The permission bits a new copy of a file with `mode` gets: less the umask
// (POSIX); 0 where the system keeps none.
unsigned ModeOfNewCopy(unsigned mode);

}  // namespace valmero

// platform/: the only code that knows the operating system. Each header
// here has a POSIX body in platform/posix/ and a Win32 body in
// platform/win32/ of the same name (CMake builds one of them), or one
// portable body beside it. Functions answer bool or a descriptor and log
// nothing.
//
// This header: small file-system services.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/folder_listing.h"

namespace valmero {

// True when the file can be opened for reading. Never waits on a named pipe.
bool CanOpenForReading(const char* path);

// Opens a regular file for reading and returns its descriptor; -1 (errno set)
// when it cannot be opened or is not a regular file (a folder, a named pipe,
// a device). Never waits on a named pipe.
int OpenRegularForReading(const char* path);

// True when the folder can be opened for listing.
bool CanListFolder(const char* path);

// True when the program may make files in the folder: it is a folder, and
// neither its permissions, an immutable flag nor a read-only file system
// forbid it. Nothing is left behind (Windows, which keeps no such rights in
// a folder's attributes, makes a file that the system removes at once).
bool CanWriteInFolder(const char* path);

// True when the path names an existing folder (through links).
bool IsFolder(const char* path);

// True when something exists under the path (a dangling link counts).
bool PathExists(const char* path);

// The path of an existing file, found without regard to the case of its name,
// because songlists and collections are written by people who do not mind the
// case of a name: the path itself when it can
// be opened; otherwise the entry of its folder that comes first in listing
// order among those whose upper-cased name equals the upper-cased name asked
// for. Empty when there is neither.
std::string FindFileIgnoringCase(const char* path);

// FindFileIgnoringCase for loops over the songs of one collection: a folder
// is listed once, at its first name that does not open as formed, instead of
// once per such name (which made a collection of lower-case companions
// quadratic in its size). A name found in the listing is still opened; when
// that fails, the folder changed since and is listed again.
class CFileFinder {
 public:
  std::string Find(const char* path);

 private:
  const std::vector<KeyedEntry>& ListingOf(const std::string& folder);

  std::unordered_map<std::string, std::vector<KeyedEntry>> m_folders;
};

// Writes the whole buffer, going on after short writes and interruptions.
// False when a write fails (errno tells why).
bool WriteAll(int fd, const void* data, std::size_t size);

// Closes a descriptor that a function of the platform opened.
void CloseFile(int fd);

// Puts the file's data on the disk. False when it cannot.
bool SyncFile(int fd);

// Renames `from` over `to`, replacing a file of that name. False (errno or
// the last error set) when it cannot.
bool RenameReplacing(const char* from, const char* to);

// True when both paths name one existing folder.
bool IsSameFolder(const char* a, const char* b);

// Removes a file; what became of it is not looked at.
void RemoveFile(const char* path);

// Creates one directory level. False when it exists already or cannot be made.
bool MakeDirectory(const char* path);

// The folder part of a path: everything before its last separator; empty
// without one.
std::string FolderOf(const char* path);

}  // namespace valmero

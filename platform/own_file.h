// A file the program keeps open as its own for a long time (the activity
// log): never reached through a symbolic link, never a pipe or a device, and
// claimed against other programs with an advisory lock that the system
// releases when the program ends in any way.
#pragma once

namespace valmero {

// Opens `path` for appending as a regular file the program may write. A
// symbolic link, a named pipe, a device or a file without the owner's right
// to write found under that name is removed and replaced by a new empty
// regular file (0644 less the umask); what a link led to is never touched.
// Never waits on a named pipe. The descriptor, or -1 (errno set).
int OpenOwnFileForAppending(const char* path);

enum class FileLockResult { Held, InUse, Unavailable };

// Takes the exclusive lock of an open file without waiting. Unavailable when
// the file system keeps no locks.
FileLockResult LockOpenFile(int fd);

// True while the open file still has a name (it was not removed, nor had
// another file renamed over it).
bool IsStillLinked(int fd);

// True when `path` names the open file `fd` itself.
bool PathNamesOpenFile(const char* path, int fd);

// Empties an open file. False when that fails.
bool EmptyOpenFile(int fd);

}  // namespace valmero

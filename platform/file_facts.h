// What the check and the song book ask of files they do not open: kinds,
// sizes, free space, where a link leads. Answered by the standard library,
// alike on every system; a question that cannot be answered says false.
#pragma once

#include <cstdint>
#include <string>

namespace valmero {

// True when the path names a regular file (through links).
bool IsRegularFile(const std::string& path);

// The size of the file (through links) into `size`; false when it cannot be told.
bool SizeOfFile(const std::string& path, uint64_t& size);

// The bytes free for the program where `path` is, or would be made: at its
// nearest folder that exists. False when it cannot be told.
bool FreeSpaceNear(const std::string& path, uint64_t& available);

// The folder of the file a symbolic link leads to, every link followed;
// empty when the path is no link or leads nowhere.
std::string FolderOfLinkedFile(const std::string& path);

// The folder part of a path: "" for a bare name.
std::string ParentFolderOf(const std::string& path);

}  // namespace valmero

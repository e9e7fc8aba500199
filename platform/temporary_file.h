// Files written beside their final name and renamed into place when
// complete. Their names are the final name, ".vtmp" and six letters or
// digits, so that a run that finds one in its target folder knows it for the
// leftover of a run that died.
#pragma once

#include <cstddef>
#include <string>

namespace valmero {

// The length of what a temporary name adds to its final name.
constexpr std::size_t TEMPORARY_SUFFIX_LENGTH = 11;

// Creates a new file beside `destination` for writing, with O_EXCL so that
// no other file is ever overwritten, with the permission bits `mode` less
// the umask. Its descriptor (and its path in temporaryPath), or -1 (errno set).
int CreateTemporaryBeside(const char* destination, unsigned mode, std::string& temporaryPath);

// True for a name CreateTemporaryBeside makes (a name, not a path).
bool IsTemporaryName(const char* name);

// `destination` followed by ".vtmp" and six letters or digits drawn from
// `seed`: the name each system's CreateTemporaryBeside tries.
std::string TemporaryNameFor(const char* destination, unsigned long long seed);

// Where the seeds of temporary names come from. A test sets its own to make
// names clash; nullptr gives the program's own (time, process, a count).
using TemporarySeeds = unsigned long long (*)();
void SetTemporarySeeds(TemporarySeeds seeds);

// The name CreateTemporaryBeside tries next: from the seeds set, or else
// from `ownSeed`.
std::string NextTemporaryName(const char* destination, unsigned long long ownSeed);

}  // namespace valmero

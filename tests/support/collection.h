// Song collections made in temporary folders: MP3 files with and without an
// ID3v1 tag, and a whole folder tree read back to see that nothing changed.
#pragma once

#include <string>

#include "support/cli_runner.h"

namespace valmero::testing {

// Some audio bytes followed by an ID3v1 tag with these texts (each at most 30 bytes).
std::string TaggedMp3(const std::string& title, const std::string& singer);
// Audio bytes without a tag.
std::string UntaggedMp3();

// Every file below `folder` by its path relative to it, with its contents.
Files ReadTree(const std::string& folder);

}  // namespace valmero::testing

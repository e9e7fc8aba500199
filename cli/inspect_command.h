// valmero-cli inspect: checks an ENGLISH.KVX and prints its contents.
#pragma once

#include <cstdio>

namespace valmero {

// 0 when the file is sound, 1 with the first fault found.
int RunInspect(const char* path, std::FILE* out, std::FILE* err);

}  // namespace valmero

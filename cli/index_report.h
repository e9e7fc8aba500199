// valmero-cli inspect: checks an ENGLISH.KVX and prints its contents.
#pragma once

#include <cstdio>

namespace valmero {

// Reads the file at `path`, checks it (outputs/index_reader.h) and, when it
// is sound, prints every singer with its titles and numbers to `out`; 0.
// Otherwise the first fault and its offset go to `err`; 1. Texts are printed
// as bytes, with control characters, quotes and backslashes escaped.
int RunInspect(const char* path, std::FILE* out, std::FILE* err);

}  // namespace valmero

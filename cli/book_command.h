// valmero-cli book, and the book that `make --book FILE` writes after its run.
#pragma once

#include <cstdio>

#include "book/song_book.h"
#include "cli/cli_options.h"

namespace valmero {

// The title and code page the request names, or the defaults.
BookSettings BookSettingsOf(const CliRequest& request);

// Reads the source as a make with the same options would, without writing
// anything or touching the log, and writes the book. 0 when written; 1 when
// the source cannot be read or the book cannot be written; 2 for settings
// that cannot make a book. The reason goes to `err`.
int RunBookCommand(const CliRequest& request, const char* startDir, std::FILE* err);

}  // namespace valmero

// The song book of a source: the source read as MAKE would read it with the
// same options (same songs, same numbers), then the book written. Nothing
// else is written and the activity log gets no line, also when the program
// has started its log (the desktop program).
#pragma once

#include <cstddef>
#include <string>

#include "book/song_book.h"
#include "run/song_preview.h"

namespace valmero {

enum class SourceBookResult { Written, UnreadableSource, NotWritten };

// startDir: where products.cp lies. `outcome` says what the book lists and
// leaves out, and warns of a code page the texts do not fit.
SourceBookResult WriteSourceBook(const char* startDir, const std::string& source, const RunPlan& plan,
                                 const BookSettings& settings, const std::string& outPath, BookOutcome& outcome,
                                 std::string& error);

}  // namespace valmero

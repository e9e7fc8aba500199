// What the desktop dialog's paths and boxes ask of a check or a song book,
// the same for the wxWidgets and the Windows program.
#pragma once

#include <string>

#include "run/converter.h"
#include "run/song_preview.h"
#include "run/source_check.h"

namespace valmero {

// A check request: the run re-reads the marks and keeps what the SCDG.CFG
// boxes' clicks stored in the options.
CheckRequest CheckRequestForDialog(const std::string& source, const std::string& target, const MakeMarks& marks,
                                   const RunOptions& options);

// The songs and numbers a MAKE with the boxes as they are would give.
PreviewRequest BookRequestForDialog(const std::string& source, const MakeMarks& marks, const RunOptions& options);

// Writes a check's report to `path`, aside and then renamed into place.
// False when it cannot.
bool SaveCheckReport(const std::string& path, const std::string& report);

}  // namespace valmero

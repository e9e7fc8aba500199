// What a run passes over or cannot do, told to the host as it happens, so
// that a front end can count it and a dry run can report it. Hearing a note
// changes nothing: the run goes on and logs exactly as it would without one.
#pragma once

namespace valmero {

enum class RunNoteCode {
  SongOfOtherKind,    // a download file of another kind than the run's (file = its name)
  SongPathTooLong,    // a download file whose path would not fit (file = its name)
  SongNoInformation,  // neither tag nor catalogue entry: taken with empty texts (file)
  LineWithoutNumber,  // a songlist line whose number field is 0 (line, text = the number field)
  LineMissingMp3,     // the line's .mp3 file is not there (line, file = the path looked for)
  LineMissingMcg,     // the line's .mcg file is not there (line, file)
  LineTaken,          // a songlist line became a song (line, file = its .mp3 file, text = its title)
  ListEnded,          // a line without separator ended the list (line, text = the line read)
  ListFailed,         // a line with more than two separators failed the run (line, text)
  FileCopied,         // file = source, text = destination
  CopyFailed,         // file = source, text = destination
  FileInPlace,        // the target held it already (file = source, text = destination)
  FileMoved,          // the target held it under another number (file = source, text = destination)
};

struct RunNote {
  RunNoteCode code;
  const char* file = "";
  int line = 0;  // the songlist line as the reader counts it (pieces of 259 characters)
  const char* text = "";
};

// True for the notes of a song the source reader passes over.
inline bool IsDroppedSong(RunNoteCode code) {
  return code == RunNoteCode::SongOfOtherKind || code == RunNoteCode::SongPathTooLong ||
         code == RunNoteCode::LineWithoutNumber || code == RunNoteCode::LineMissingMp3 ||
         code == RunNoteCode::LineMissingMcg;
}

// True for the notes of the copying stage, one per file.
inline bool IsCopyNote(RunNoteCode code) {
  return code == RunNoteCode::FileCopied || code == RunNoteCode::CopyFailed || code == RunNoteCode::FileInPlace ||
         code == RunNoteCode::FileMoved;
}

}  // namespace valmero

// An in-memory song folder for the songlist fuzzer. Each numbered line of a
// songlist looks for its song files: an open, and for a name not found as
// written a listing of the folder. On this machine those calls are most of
// the time of a run, so the fuzzer links with --wrap for open, close,
// opendir, readdir and closedir: calls for the folder below are answered
// from memory and all others go to the system. The reader and the real
// case-blind lookup in platform/posix/files.cpp run unchanged.
#pragma once

namespace valmero::fuzz {

// The folder's path; nothing of that name exists on disk.
constexpr const char* MEMORY_FOLDER = "/valmero-fuzz-songs";

}  // namespace valmero::fuzz

// Writes a file beside its final name and renames it into place only when it
// is complete, so that a failed write never leaves a truncated file under the
// final name nor destroys the previous good one.
#pragma once

#include <cstddef>
#include <string>

namespace valmero {

class CAtomicFile {
 public:
  CAtomicFile() = default;
  CAtomicFile(const CAtomicFile&) = delete;
  CAtomicFile& operator=(const CAtomicFile&) = delete;
  // An open file that was never committed is removed.
  ~CAtomicFile();

  // Creates a temporary file in the folder of finalPath. False when it
  // cannot be created (missing folder, no right to write, bad path).
  bool Create(const char* finalPath);

  // Buffers and writes; a failure is remembered and reported by Commit.
  bool Write(const void* data, std::size_t size);

  // Flushes, syncs, closes and renames over the final name. False (and the
  // temporary file removed, the old file untouched) when anything failed.
  bool Commit();

  // Closes and removes the temporary file.
  void Abandon();

 private:
  bool Flush();

  int m_fd = -1;
  bool m_failed = false;
  std::string m_finalPath;
  std::string m_temporaryPath;
  char m_buffer[64 * 1024];
  std::size_t m_buffered = 0;
};

}  // namespace valmero

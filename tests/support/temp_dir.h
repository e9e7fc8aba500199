// Temporary folders and files for tests, and reading the activity log back.
#pragma once

#include <string>
#include <vector>

#include "platform/path_separator.h"

namespace valmero::testing {

// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;

  const std::string& Path() const { return m_path; }
  // Path(), the path separator and name.
  std::string operator/(const std::string& name) const { return m_path + PATH_SEPARATOR + name; }

 private:
  std::string m_path;
};

// Changes the current directory for the life of the object.
class CChangeDir {
 public:
  explicit CChangeDir(const std::string& path);
  ~CChangeDir();

 private:
  std::string m_previous;
};

// A path written with '/' in the platform's own separator.
inline std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = PATH_SEPARATOR;
  }
  return path;
}

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// Names in a folder, sorted.
std::vector<std::string> ListNames(const std::string& folder);

// Starts a log in `folder` (the current directory is changed there for the
// call) with a fixed clock, so every line reads "* 2026:01:02 03:04:05 - ".
void StartTestLog(const std::string& folder);
// The messages of the log file in `folder`, time stamps (of any time) and CR LF removed.
std::vector<std::string> LogMessages(const std::string& folder);
// The same for a log file anywhere.
std::vector<std::string> LogFileMessages(const std::string& path);

}  // namespace valmero::testing

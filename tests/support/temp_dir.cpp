#include "support/temp_dir.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/song_record.h"
#include "log/activity_log.h"

namespace valmero::testing {

CTempDir::CTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/valmero-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

CTempDir::~CTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

CChangeDir::CChangeDir(const std::string& path) {
  char previous[4096];
  if (::getcwd(previous, sizeof previous) != nullptr) m_previous = previous;
  if (::chdir(path.c_str()) != 0) throw std::runtime_error("chdir failed: " + path);
}

CChangeDir::~CChangeDir() {
  if (!m_previous.empty()) (void)::chdir(m_previous.c_str());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::vector<std::string> ListNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {
std::tm FixedTime() {
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 0;
  time.tm_mday = 2;
  time.tm_hour = 3;
  time.tm_min = 4;
  time.tm_sec = 5;
  return time;
}
}  // namespace

// "* 2026:01:02 03:04:05 - ": any time, so that lines of the real clock read the same.
bool HasTimeStamp(const std::string& line) {
  const std::string shape = "* dddd:dd:dd dd:dd:dd - ";
  if (line.size() < shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    bool digit = line[i] >= '0' && line[i] <= '9';
    if (shape[i] == 'd' ? !digit : line[i] != shape[i]) return false;
  }
  return true;
}

void StartTestLog(const std::string& folder) {
  SetLogClock(&FixedTime);
  CChangeDir here(folder);
  char startDir[PATH_SIZE];
  StartActivityLog(startDir);
}

std::vector<std::string> LogMessages(const std::string& folder) { return LogFileMessages(folder + "/mirqlog.txt"); }

std::vector<std::string> LogFileMessages(const std::string& path) {
  std::string text = ReadFile(path);
  std::vector<std::string> messages;
  const std::string prefix = "* 2026:01:02 03:04:05 - ";  // its length
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    messages.push_back(HasTimeStamp(line) ? line.substr(prefix.size()) : line);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return messages;
}

}  // namespace valmero::testing

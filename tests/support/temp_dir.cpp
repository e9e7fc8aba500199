#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/song_record.h"
#include "log/activity_log.h"
#include "platform/path_separator.h"

namespace valmero::testing {

CTempDir::CTempDir() {
  // temp_directory_path honours TMPDIR (TEMP on Windows).
  static std::mt19937_64 random{std::random_device{}()};
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
    std::string candidate = (base / ("valmero-test-" + std::to_string(random() % 1000000000))).string();
    if (std::filesystem::create_directory(candidate, error)) m_path = candidate;
  }
  if (m_path.empty()) throw std::runtime_error("cannot make a temporary folder");
}

CTempDir::~CTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

CChangeDir::CChangeDir(const std::string& path) {
  std::error_code error;
  m_previous = std::filesystem::current_path(error).string();
  std::filesystem::current_path(path, error);
  if (error) throw std::runtime_error("cannot change to " + path);
}

CChangeDir::~CChangeDir() {
  std::error_code ignored;
  if (!m_previous.empty()) std::filesystem::current_path(m_previous, ignored);
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

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

std::vector<std::string> ListNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    names.push_back(entry->path().filename().string());
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

std::vector<std::string> LogMessages(const std::string& folder) { return LogFileMessages(folder + VALMERO_SEP "mirqlog.txt"); }

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

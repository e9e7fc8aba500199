// A throw-away folder with a few song files for fuzzers whose input names
// songs: numbered lines then find their files and reach the code after the
// lookup. It lies in memory (/dev/shm when there is one) so that the lookups
// stay cheap, and goes away when the fuzzer exits.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace valmero {

class CFuzzSongFolder {
 public:
  CFuzzSongFolder() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/valmero-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    m_path = pattern;
    // Plain names, names in other cases (found by the case-blind lookup), a
    // song without its companion and a companion without its song.
    for (const char* name : {"1.mp3", "1.mcg", "2.MP3", "2.Mcg", "12.mp3", "12.mcg", "007.mp3", "007.mcg",
                             "3.mp3", "4.mcg", "-5.mp3", "-5.mcg"}) {
      m_names.push_back(name);
      Touch(m_path + "/" + name);
    }
  }
  ~CFuzzSongFolder() {
    for (const std::string& name : m_names) ::unlink((m_path + "/" + name).c_str());
    ::rmdir(m_path.c_str());
  }

  const std::string& Path() const { return m_path; }

 private:
  static void Touch(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    ::close(fd);
  }

  std::string m_path;
  std::vector<std::string> m_names;
};

}  // namespace valmero

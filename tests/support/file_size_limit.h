// Makes every write past a size fail with EFBIG for the life of the object:
// the one disk-full-like failure a test can cause on any file system without
// privileges. SIGXFSZ is ignored meanwhile so the process is not killed.
// Windows has no such limit: the tests that use it are skipped there.
#pragma once

#include "support/skip.h"

#ifdef _WIN32
#define SKIP_WITHOUT_FILE_SIZE_LIMIT() SKIP_ON_WINDOWS("a write cannot be made to fail without privileges")
namespace valmero::testing {
class CFileSizeLimit {
 public:
  explicit CFileSizeLimit(unsigned long long) {}
};
}  // namespace valmero::testing
#else
#define SKIP_WITHOUT_FILE_SIZE_LIMIT() (void)0
#include <sys/resource.h>

#include <csignal>

namespace valmero::testing {

class CFileSizeLimit {
 public:
  explicit CFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = m_previous;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~CFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
  }
  CFileSizeLimit(const CFileSizeLimit&) = delete;
  CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

 private:
  struct rlimit m_previous {};
  void (*m_previousHandler)(int) = SIG_DFL;
};

}  // namespace valmero::testing
#endif

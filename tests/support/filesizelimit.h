// A real "no room" failure without filling a disk: a file size limit
// (RLIMIT_FSIZE) for as long as it lives, with SIGXFSZ ignored, so that a
// write past the limit fails with EFBIG instead of ending the process. Root
// ignores folder permissions, but not this limit.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace lotwise::test {

class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool set() const { return m_set; }

private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = nullptr;
  bool m_set = false;
};

}  // namespace lotwise::test

// Real permission failures while the tests run as root: for as long as it
// lives, the calling thread checks file permissions as an ordinary user
// (setfsuid), so a read-only folder refuses a write with EACCES. Root keeps
// its other powers and gets the file ones back at the end. Run as an
// ordinary user already, it changes nothing.
#pragma once

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

namespace lotwise::test {

class Unprivileged {
public:
  static constexpr uid_t kNobody = 65534;

  Unprivileged() {
    if (geteuid() != 0) {
      m_active = true;
      return;
    }
    setfsgid(kNobody);
    setfsuid(kNobody);
    // setfsuid answers the previous id; asking again tells whether it took.
    m_active = setfsuid(kNobody) == int(kNobody);
    m_dropped = true;
  }
  ~Unprivileged() {
    if (m_dropped) {
      setfsuid(0);
      setfsgid(0);
    }
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

  // False when the permissions of an ordinary user could not be taken on:
  // the test then skips what needs them.
  bool active() const { return m_active; }

private:
  bool m_active = false;
  bool m_dropped = false;
};

}  // namespace lotwise::test

// Skips the rest of the test when the scope could not drop root's powers.
#define LOTWISE_REQUIRE_UNPRIVILEGED(scope) \
  if (!(scope).active())                    \
  GTEST_SKIP() << "cannot check permissions as an ordinary user here"

// What the fuzz targets share: a check that turns a broken promise into a
// crash libFuzzer records, and the failure number of a call.
#pragma once

#include "platform/error.h"

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "check failed: %s at %s:%d\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

namespace lotwise::fuzz {

// Only platform::Error is an expected failure; anything else escapes and
// libFuzzer reports it as a crash.
template <typename Call>
int errorOf(Call&& call) {
  try {
    call();
  } catch (const platform::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace lotwise::fuzz

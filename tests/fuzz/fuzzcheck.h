// What the fuzz targets share: a check that turns a broken promise into a
// crash libFuzzer records, and the failure number of a call.
#pragma once

#include "../support/errorof.h"

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
using lotwise::test::errorOf;

}  // namespace lotwise::fuzz

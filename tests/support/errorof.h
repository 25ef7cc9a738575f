// The failure number a call raises, 0 when it returns normally.
#pragma once

#include "platform/error.h"

namespace lotwise::test {

template <typename Call>
int errorOf(Call&& call) {
  try {
    call();
  } catch (const platform::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace lotwise::test

// A program folder with whole data files in it: a window built on it finds
// nothing to warn about.
#pragma once

#include "support/appdir.h"
#include "support/fixtures.h"

namespace lotwise::test {

class DataFolder : public AppDir {
public:
  DataFolder() {
    write("words.wdb", wordsFile());
    write("dictionary.wdb", dictionaryFile());
  }
};

}  // namespace lotwise::test

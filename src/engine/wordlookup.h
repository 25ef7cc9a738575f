// The word of a word code, looked up in the word list file.
#pragma once

#include <QString>

namespace engine {

// Reads the whole file at every call, so that a change saved by the editor
// counts at once. Fields are trimmed of spaces and the code compared
// exactly; the last matching record wins. A missing file gives "" and is
// not created; a file that cannot be read gives what was found so far. Both
// set *troubled, if given, so that the caller can tell the user once.
QString lookupWord(const QString& wordsPath, const QString& code, bool* troubled = nullptr);

}  // namespace engine

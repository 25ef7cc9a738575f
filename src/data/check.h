// Whether the two data files hold what the program needs, in words for the
// user: a file that falls short gives blank or wrong readings that look like
// real ones, so the window warns about it.
#pragma once

#include "datafile.h"

#include <QString>
#include <optional>

namespace data {

// What keeps a data file from serving, in words that follow its path: "is
// missing", "cannot be read: Permission denied", "lacks code 0011", ...
// Nothing when it holds what the program needs: the word list each of the
// 16 codes 0000 to 1111 once, the dictionary each of the 256 ordered pairs
// of codes once (its codes compared as read, as its lookup compares them).
// Takes time linear in the file's size.
std::optional<QString> wordListProblem(const DataFile& file);
std::optional<QString> dictionaryProblem(const DataFile& file);

// The one warning about both files, or "" when both serve: each file that
// falls short, what is wrong with it, and the remedies that exist at this
// moment. shippedFolder holds the files the program was installed with,
// when those in use are copies of them; it is empty when they are the only
// copies, which reinstalling puts back.
QString dataFilesWarning(DataFiles& files, const QString& shippedFolder);

}  // namespace data

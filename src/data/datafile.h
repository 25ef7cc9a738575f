// A data file as one reading takes it: its whole text, or what kept it from
// being read. Each reading opens the file at most once.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace data {

// The largest data files that are read at all. A sound word list is 16
// records of a code and one short word that must fit a king's label: some
// 300 bytes, and 16 words of 64 KiB each would still fit under 1 MiB. A
// sound dictionary is 256 rows whose meanings may run over many lines: the
// shipped one is under 50 KiB, and 16 MiB leaves each row 64 KiB. Anything
// larger is not one of these files, and reading it whole, many times over,
// would freeze the window.
inline constexpr qint64 kMaxWordListBytes = qint64(1) << 20;
inline constexpr qint64 kMaxDictionaryBytes = qint64(16) << 20;

// The longest field, word or meaning, either file may hold: 65,536
// characters, some ten thousand words, where the longest shipped meaning has
// under 300 characters. Qt's text boxes lay out a line in time that grows
// faster than its length: a meaning of a million characters froze the
// editor for a minute, one of this size takes a fraction of a second.
inline constexpr qsizetype kMaxFieldChars = qsizetype(64) * 1024;

struct DataFile {
  QString path;
  QString text;
  // What kept the file from being read, in words that follow its path: "is
  // missing", "cannot be read: Permission denied", "is too large to read:
  // ...", "has a record too large to be sound: ...".
  std::optional<QString> problem;
  // The file is there but refused for its size, or the size of a record.
  bool tooLarge = false;
  // What tells a later save whether the file still holds these bytes
  // (fingerprintOf); empty when nothing was read.
  QByteArray fingerprint;
  // The system refused to let it be read: the file's permissions, or its folder's.
  bool refused = false;
};

// Reads the file once, decoded, through platform::readWholeFile: never
// more than the file's largest sound size, whatever the file system says.
DataFile readWordListFile(const QString& path);
DataFile readDictionaryFile(const QString& path);

// The readings of the two files, each made at the first call and kept.
class DataFiles {
public:
  DataFiles(QString wordsPath, QString dictionaryPath);

  const DataFile& words();
  const DataFile& dictionary();

private:
  QString m_wordsPath, m_dictionaryPath;
  std::optional<DataFile> m_words, m_dictionary;
};

}  // namespace data

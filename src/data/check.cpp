#include "check.h"

#include "records.h"
#include "platform/dirlookup.h"
#include "util/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <functional>

namespace data {
namespace {

QString codeText(int value) { return QString::number(value, 2).rightJustified(4, u'0'); }

// The value of a word code of four 0s and 1s, or -1 for anything else.
int codeValue(QStringView text) {
  if (text.size() != 4)
    return -1;
  int value = 0;
  for (QChar c : text) {
    if (c != u'0' && c != u'1')
      return -1;
    value = value * 2 + (c == u'1');
  }
  return value;
}

QString unreadableRecord(int record, const QString& why) {
  return QStringLiteral("has a record that cannot be read: record %1 %2").arg(record).arg(why);
}

std::optional<QString> flawOf(const RecordReader& reader, int record) {
  switch (reader.lastFlaw()) {
    case RecordReader::Flaw::UnclosedQuote:
      return unreadableRecord(record, QStringLiteral("opens a quote that is never closed"));
    case RecordReader::Flaw::TextAfterQuote:
      return unreadableRecord(record, QStringLiteral("has a quote out of place"));
    case RecordReader::Flaw::CutShort:
      return unreadableRecord(record, QStringLiteral("is cut short by the end of the file"));
    case RecordReader::Flaw::None:
      break;
  }
  return std::nullopt;
}

// What is wrong with the counts of keys found: the keys missing, then the
// keys found more than once, each named by its first.
template <size_t N>
std::optional<QString> countProblem(const std::array<int, N>& seen, const std::function<QString(int)>& name,
                                    const QString& what, const QString& whats) {
  int missing = 0, twice = 0, firstMissing = -1, firstTwice = -1;
  for (int key = 0; key < int(N); ++key) {
    if (seen[key] == 0 && missing++ == 0)
      firstMissing = key;
    if (seen[key] > 1 && twice++ == 0)
      firstTwice = key;
  }
  QStringList parts;
  if (missing == 1)
    parts << QStringLiteral("lacks %1 %2").arg(what, name(firstMissing));
  else if (missing > 1)
    parts << QStringLiteral("lacks %1 %2, the first %3").arg(missing).arg(whats, name(firstMissing));
  if (twice == 1)
    parts << QStringLiteral("has %1 %2 more than once").arg(what, name(firstTwice));
  else if (twice > 1)
    parts << QStringLiteral("has %1 %2 more than once, the first %3").arg(twice).arg(whats, name(firstTwice));
  if (parts.isEmpty())
    return std::nullopt;
  return parts.join(QStringLiteral(", and "));
}

// Goes through every record of a file and counts its keys: keyOf gives a record's
// key, or -1 when the record does not begin with what the file is keyed by.
template <size_t N>
std::optional<QString> recordsProblem(const DataFile& file, int fields,
                                      const std::function<int(const QStringList&)>& keyOf, const QString& badKey,
                                      const std::function<QString(int)>& name, const QString& what,
                                      const QString& whats) {
  if (file.problem)
    return file.problem;
  RecordReader reader(file.text);
  if (reader.atEnd())
    return QStringLiteral("is empty");
  std::array<int, N> seen{};
  for (int record = 1; !reader.atEnd(); ++record) {
    const QStringList values = reader.readRecord(fields);
    if (std::optional<QString> flaw = flawOf(reader, record))
      return flaw;
    const int key = keyOf(values);
    if (key < 0)
      return unreadableRecord(record, badKey);
    ++seen[key];
  }
  return countProblem(seen, name, what, whats);
}

}  // namespace

std::optional<QString> wordListProblem(const DataFile& file) {
  // The lookup trims the code before it compares.
  const auto keyOf = [](const QStringList& record) { return codeValue(util::trimSpaces(record.at(0))); };
  return recordsProblem<kWordRecords>(file, kWordFields, keyOf,
                                      QStringLiteral("does not begin with a code of four 0s and 1s"), codeText,
                                      QStringLiteral("code"), QStringLiteral("codes"));
}

std::optional<QString> dictionaryProblem(const DataFile& file) {
  // The meanings report compares both codes as read, spaces and all.
  const auto keyOf = [](const QStringList& row) {
    const int code1 = codeValue(row.at(0)), code2 = codeValue(row.at(1));
    return code1 < 0 || code2 < 0 ? -1 : code1 * 16 + code2;
  };
  const auto pair = [](int key) {
    return QStringLiteral("for codes %1 and %2").arg(codeText(key / 16), codeText(key % 16));
  };
  return recordsProblem<kDictionaryRows>(file, kDictionaryFields, keyOf,
                                         QStringLiteral("does not begin with two codes of four 0s and 1s"), pair,
                                         QStringLiteral("the row"), QStringLiteral("rows"));
}

namespace {

// The problem of another copy of a file (its backup, the one shipped).
std::optional<QString> wordListProblemAt(const QString& path) { return wordListProblem(readWordListFile(path)); }
std::optional<QString> dictionaryProblemAt(const QString& path) { return dictionaryProblem(readDictionaryFile(path)); }

// One data file, as the advice about it needs it.
struct Advised {
  QString kind;  // "word list", "dictionary"
  QString path;
  std::optional<QString> (*problemAt)(const QString& path);
  bool refused;  // the permission to read it was refused
};

// A path as the shell takes it, quoted where it holds more than plain characters.
QString shellWord(const QString& path) {
  for (const QChar c : path)
    if (!c.isLetterOrNumber() && !QStringLiteral("/._-+,:@%=").contains(c))
      return u'\'' + QString(path).replace(QStringLiteral("'"), QStringLiteral("'\\''")) + u'\'';
  return path;
}

// What the user can do about one data file that falls short. A refused
// permission is mended where it was refused, and nothing is replaced. Else
// only the copies that can serve at this moment are offered: its backup when
// it reads as sound; reinstalling where that puts back the file itself (the
// program's own folder); else the copy it was installed with, which the next
// start copies in once the user's copy is out of the way, when that copy
// reads as sound. A folder in the file's place is moved away first. A user's
// copy that holds text may hold their only edits: the advice says so before
// any step that would replace it.
QString remedy(const Advised& file, const QString& shippedFolder) {
  const QFileInfo info(file.path);
  const QFileInfo folder(info.absolutePath());
  // Refused even a look at the file, it is the folder that keeps it closed.
  if (file.refused && !platform::canSee(file.path))
    return QStringLiteral(
               "Lotwise has no permission to look into its folder. To mend it, give yourself that "
               "permission with the command:\nchmod u+rwx %1")
        .arg(shellWord(folder.filePath()));
  if (file.refused)
    return QStringLiteral(
               "Lotwise has no permission to read it. To mend it, give yourself permission to read and "
               "write it with the command:\nchmod u+rw %1")
        .arg(shellWord(file.path));
  const QString backup = file.path + QStringLiteral(".bak");
  QStringList ways;
  if (!file.problemAt(backup))
    ways << QStringLiteral("put its backup %1, from the same folder, in its place").arg(QFileInfo(backup).fileName());
  if (shippedFolder.isEmpty()) {
    ways << QStringLiteral("reinstall Lotwise");
  } else {
    const bool gone = !info.exists() && !info.isSymLink();
    const QString restart = gone || info.isDir() ? QStringLiteral("start Lotwise again")
                                                 : QStringLiteral("rename it (or delete it) and start Lotwise again");
    const QString shipped = QDir(shippedFolder).filePath(info.fileName());
    if (const std::optional<QString> problem = file.problemAt(shipped))
      ways << QStringLiteral("reinstall Lotwise, then %1 (the %2 it was installed with, %3, %4)")
                  .arg(restart, file.kind, shipped, *problem);
    else
      ways << QStringLiteral("%1, which then copies in the %2 it was installed with, from %3")
                  .arg(restart, file.kind, shippedFolder);
  }
  const QString offered = ways.join(QStringLiteral(", or "));
  if (info.isDir())
    return QStringLiteral("To mend it, move the folder out of the way (rename it), then %1.").arg(offered);
  QString text = QStringLiteral("To mend it, %1.").arg(offered);
  if (info.isFile() && info.size() > 0)
    text.prepend(
        QStringLiteral("It may hold edits of your own: rename it first to keep them, rather than delete or "
                       "replace it. "));
  return text;
}

}  // namespace

QString dataFilesWarning(DataFiles& files, const QString& shippedFolder) {
  QStringList lines;
  auto add = [&](const QString& kind, const DataFile& file, const std::optional<QString>& problem,
                 std::optional<QString> (*problemAt)(const QString&)) {
    if (problem)
      lines << QStringLiteral("The %1 %2 %3. %4")
                   .arg(kind, file.path, *problem, remedy({kind, file.path, problemAt, file.refused}, shippedFolder));
  };
  add(QStringLiteral("word list"), files.words(), wordListProblem(files.words()), wordListProblemAt);
  add(QStringLiteral("dictionary"), files.dictionary(), dictionaryProblem(files.dictionary()), dictionaryProblemAt);
  if (lines.isEmpty())
    return QString();
  lines.prepend(lines.size() == 1 ? QStringLiteral("Lotwise cannot use one of its data files: the words and meanings "
                                                   "it shows would be blank or wrong.")
                                  : QStringLiteral("Lotwise cannot use its data files: the words and meanings it "
                                                   "shows would be blank or wrong."));
  return lines.join(QStringLiteral("\n\n"));
}

}  // namespace data

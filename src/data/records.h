// The two data files, words.wdb and dictionary.wdb: records of quoted,
// comma-separated fields, one record per line, Windows-1252 text.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "platform/error.h"

namespace data {

inline constexpr int kWordFields = 2;        // Binary Code, Word
inline constexpr int kDictionaryFields = 4;  // Code 1, Code 2, Words, Meaning
inline constexpr int kWordRecords = 16;
inline constexpr int kDictionaryRows = 256;

inline const QString kWordsFile = QStringLiteral("words.wdb");
inline const QString kDictionaryFile = QStringLiteral("dictionary.wdb");

// Reads fields by the file's reading rules from a text already in memory:
// spaces before a field are skipped; a quoted field runs to the next double
// quote, commas and line breaks included; an unquoted one to the next comma
// or line end (CR LF, CR or LF) with trailing spaces dropped. A record is the
// next n fields and may span lines. Values are always text.
//
// Where a file strays from the form, reading stays total and takes linear
// time: text between a closing quote and the next separator is dropped; a
// quote that never closes takes the rest of the text; blank lines between
// records are skipped, while inside a record a blank line is an empty field;
// a record cut short by the end of the text gets empty fields.
class RecordReader {
public:
  explicit RecordReader(QString text);

  // True when only spaces and line ends remain.
  bool atEnd() const;
  // The next field; "" at the end of the text.
  QString readField();
  // The next `fields` fields (1 or more, else platform::Error); moves on by
  // at least one character whenever atEnd() is false.
  QStringList readRecord(int fields);
  // Characters consumed so far.
  qsizetype position() const;

  // Where the last record read strayed from the form so far that its fields
  // may not be what was written: a quote that never closes took the rest of
  // the text; text other than spaces stood between a closing quote and the
  // separator (a quote lost or added shifts the fields that way); or the
  // text ended before the record's last field.
  enum class Flaw : std::uint8_t { None, UnclosedQuote, TextAfterQuote, CutShort };
  Flaw lastFlaw() const { return m_flaw; }

private:
  void skipSpaces();
  // False when the text ended before a separator.
  bool skipSeparator();

  QString m_text;
  qsizetype m_pos = 0;
  Flaw m_flaw = Flaw::None;
  bool m_endedWithText = false;  // the last field ran into the end of the text
};

// A value as the text form stores it: spaces at both ends removed, every
// line break written as CR LF, and each double quote, which the form cannot
// hold, written as a single quote so that the later fields keep their place.
QString fieldText(const QString& value);

// The text form of one record: every field trimmed of spaces and quoted,
// commas between them, CR LF after the last.
QString recordText(const QStringList& fields);

// The bytes of a whole file of these records, in the text form.
QByteArray fileBytes(const QList<QStringList>& records);

// Rewrites a whole file in the text form, and its backup (path + ".bak")
// with the content the file had before. Either both change, or, when any
// step fails, neither does: the file and an earlier backup keep every byte.
// A missing file is not created, and nothing is written in a run that
// writes nothing (writeRefusal). Another copy of the program saving the same
// file holds its lock: after a short wait, the save fails and says so.
// Returns the failure, if any.
std::optional<platform::Error> saveFile(const QString& path, const QList<QStringList>& records);

// What tells whether a file still holds the bytes it held when they were
// read: a hash of them (a size and a time would miss a second save within
// the same tick of the clock).
QByteArray fingerprintOf(QByteArrayView bytes);

struct SaveOutcome {
  std::optional<platform::Error> failure;
  // The file no longer held what the caller read from it: nothing was
  // written. found is the fingerprint of what it holds now.
  bool changedOnDisk = false;
  QByteArray found;
  // After a save, the fingerprint of what the file holds now.
  QByteArray written;
};

// saveFile, but only while the file holds the content whose fingerprint is
// expected. Copies of the program saving one file take turns, so that none
// writes between another's check and its save.
SaveOutcome saveFileIfUnchanged(const QString& path, const QList<QStringList>& records, const QByteArray& expected);

}  // namespace data

// What a running enumeration shows: the combinations in the results box and
// the count in the outcome label. Rewriting the whole results text at every
// combination would make a long run quadratic, so the text grows in a buffer
// here and the two controls are brought up to date just before the window
// handles any event, and when the enumeration ends. A handler that runs
// nested in the enumeration therefore always sees the current texts.
//
// The text grows until the box or the memory can take no more; then the
// combination is refused, and the enumeration ends as if stopped.
#pragma once

#include "app/resultwords.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <cstdint>

class QLabel;
class QLineEdit;

class EnumerationOutput : public QObject {
  Q_OBJECT
public:
  enum class Full : std::uint8_t { No, Box, Memory };

  // available: bytes the system can still give, or -1 when unknown.
  EnumerationOutput(QLineEdit* results, QLabel* outcomes, std::function<qint64()> available);
  ~EnumerationOutput() override;  // brings the controls up to date

  // A combination was found: the label is to read count of total, or keep
  // its caption when total is null (the total could not be built). False
  // when the text cannot take the combination: nothing changes, and full()
  // says why.
  bool found(qint32 count, const QString* total, QStringView combination) {
    const qsizetype adding = combination.size() + (m_text.isEmpty() ? 0 : 1);
    if (adding > m_room && !makeRoom(adding))
      return false;
    if (!m_text.isEmpty())
      m_text.append(QLatin1Char(' '));
    m_text.append(combination);
    m_room -= adding;
    m_separators += adding - combination.size();
    if (m_symbolsSeparate)
      m_separators += app::separatorsIn(combination);
    ++m_listed;
    if (total) {
      m_count = count;
      m_total = total;
    }
    m_dirty = true;
    return true;
  }
  // The combinations are made of these symbols; when none of them is a blank
  // or a comma, the combinations need not be searched for separators.
  void madeOf(QStringView symbols) { m_symbolsSeparate = app::separatorsIn(symbols) > 0; }
  // Room for the combinations still to come, when they can be foreseen.
  void reserve(qsizetype characters);

  // Memory ran out elsewhere in the enumeration.
  void ranOutOfMemory() { refuse(Full::Memory); }

  Full full() const { return m_full; }
  qint64 listed() const { return m_listed; }   // combinations appended
  qsizetype limit() const { return m_limit; }  // most characters the box holds

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void flush();
  void takeTextBack();
  bool makeRoom(qsizetype adding);
  qsizetype affordable(qsizetype wanted) const;
  void refuse(Full why);

  QLineEdit* m_results;
  QLabel* m_outcomes;
  std::function<qint64()> m_available;
  QString m_text;
  // Characters that can be appended in place, with the box not sharing the
  // text; 0 whenever that is not known.
  qsizetype m_room = 0;
  qsizetype m_limit;
  qsizetype m_separators = 0;
  qint64 m_listed = 0;
  qint32 m_count = 0;
  const QString* m_total = nullptr;
  Full m_full = Full::No;
  bool m_symbolsSeparate = true;
  bool m_dirty = false;
  bool m_flushing = false;
  // Set aside while the text is large and given back when memory runs out,
  // so that the run can still complete and say what happened.
  std::unique_ptr<char[]> m_reserve;
};

// What a running enumeration shows: the combinations in the results box and
// the count in the outcome label. Rewriting the whole results text at every
// combination would make a long run quadratic, so the text grows in a buffer
// here and the two controls are brought up to date just before the window
// handles any event, and when the enumeration ends. A handler that runs
// nested in the enumeration therefore always sees the current texts.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;

class EnumerationOutput : public QObject {
  Q_OBJECT
public:
  EnumerationOutput(QLineEdit* results, QLabel* outcomes);
  ~EnumerationOutput() override;  // brings the controls up to date

  // A combination was found: the label is to read count of total, or keep
  // its caption when total is null (the total could not be built).
  void found(qint32 count, const QString* total, QStringView combination) {
    if (total) {
      m_count = count;
      m_total = total;
    }
    if (!m_text.isDetached())
      takeTextBack();
    if (!m_text.isEmpty())
      m_text.append(QLatin1Char(' '));
    m_text.append(combination);
    m_dirty = true;
  }
  // Room for the combinations still to come, when they can be foreseen.
  void reserve(qsizetype characters);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void flush();
  void takeTextBack();

  QLineEdit* m_results;
  QLabel* m_outcomes;
  QString m_text;
  qint32 m_count = 0;
  const QString* m_total = nullptr;
  bool m_dirty = false;
  bool m_flushing = false;
};

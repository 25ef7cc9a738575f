#include "enumerationoutput.h"

#include "engine/outcome.h"
#include "platform/resumenext.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <limits>
#include <new>

namespace {

// The text grows in doublings, never by less than this many characters.
constexpr qsizetype kLeastGrowth = qsizetype(1) << 16;
// Growing by gigabytes while the system has no room for them would bring the
// out-of-memory killer long before an allocation fails. So beyond a small
// size the text takes no more than half of the memory the system can still
// give, after leaving it this much.
constexpr qsizetype kUncheckedCharacters = qsizetype(8) << 20;
constexpr qint64 kLeaveFree = qint64(256) << 20;
// Set aside, once the text is large, for the steps that follow a run that
// ran out of memory.
constexpr std::size_t kReserveBytes = std::size_t(8) << 20;

// The longest text a QString holds.
constexpr qsizetype kLongestString =
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QString::maxSize();
#else
    (std::numeric_limits<qsizetype>::max() - 64) / qsizetype(sizeof(QChar)) - 1;
#endif

}  // namespace

EnumerationOutput::EnumerationOutput(QLineEdit* results, QLabel* outcomes, std::function<qint64()> available)
    : m_results(results),
      m_outcomes(outcomes),
      m_available(std::move(available)),
      m_text(results->text()),
      m_limit(std::min<qsizetype>(results->maxLength(), kLongestString)),
      m_separators(app::separatorsIn(m_text)) {
  // A handler that writes the results box while the enumeration waits sets
  // the text that later combinations are appended to.
  connect(m_results, &QLineEdit::textChanged, this, [this] {
    if (!m_flushing) {
      app::withdrawSeparators();
      m_text = m_results->text();
      m_separators = app::separatorsIn(m_text);
      m_room = 0;
      m_dirty = false;
    }
  });
  QCoreApplication::instance()->installEventFilter(this);
}

EnumerationOutput::~EnumerationOutput() {
  QCoreApplication::instance()->removeEventFilter(this);
  // Out of memory, the controls keep what they showed last.
  platform::resumeNext([this] { flush(); });
  app::withdrawSeparators();
}

void EnumerationOutput::reserve(qsizetype characters) {
  characters = affordable(std::min(characters, m_limit));
  if (characters <= m_text.capacity())
    return;
  // Out of memory, the text grows as it goes instead.
  platform::resumeNext([&] { m_text.reserve(characters); });
  m_room = 0;
}

qsizetype EnumerationOutput::affordable(qsizetype wanted) const {
  if (wanted <= kUncheckedCharacters)
    return wanted;
  const qint64 available = m_available ? m_available() : -1;
  if (available < 0)
    return wanted;
  const qint64 spare = std::max<qint64>(0, (available - kLeaveFree) / 2 / qint64(sizeof(QChar)));
  const qint64 held = std::max(m_text.capacity(), m_text.size());
  return std::min<qint64>(wanted, std::max<qint64>(kUncheckedCharacters, held + spare));
}

void EnumerationOutput::flush() {
  if (!m_dirty || m_flushing)
    return;
  m_flushing = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{m_flushing};
  m_dirty = false;
  if (m_total)
    m_outcomes->setText(engine::outcomeText(m_count, *m_total));
  m_total = nullptr;
  // The box shares the buffer: no copy, however long the text.
  m_results->setText(m_text);
  m_room = 0;
  if (m_results->text().constData() == m_text.constData())
    app::vouchSeparators(m_text, m_separators);
}

void EnumerationOutput::takeTextBack() {
  // Between events nothing reads the box, so it lets go of the shared text
  // and the buffer grows in place; the next flush shares it again.
  // (Not clear(): that records the removal of every character for undo.)
  m_flushing = true;
  m_results->setText(QString());
  m_flushing = false;
  m_dirty = true;
}

bool EnumerationOutput::makeRoom(qsizetype adding) {
  app::withdrawSeparators();
  if (!m_text.isNull() && !m_text.isDetached())
    takeTextBack();
  const qsizetype size = m_text.size();
  if (adding > m_limit - size) {
    refuse(Full::Box);
    return false;
  }
  if (m_text.isDetached() && m_text.data_ptr().freeSpaceAtEnd() >= adding) {
    m_room = m_text.data_ptr().freeSpaceAtEnd();
    return true;
  }

  // Doubling keeps appending at amortised constant cost; a large block grows
  // by remapping its pages, without a copy.
  if (!m_reserve && m_full == Full::No && size > kUncheckedCharacters)
    m_reserve.reset(new (std::nothrow) char[kReserveBytes]);
  const qsizetype capacity = affordable(std::min(m_limit, size + std::max({adding, size, kLeastGrowth})));
  if (capacity - size < adding) {
    refuse(Full::Memory);
    return false;
  }
  try {
    m_text.reserve(capacity);
  } catch (const std::bad_alloc&) {
    refuse(Full::Memory);
    return false;
  }
  m_room = m_text.data_ptr().freeSpaceAtEnd();
  return true;
}

void EnumerationOutput::refuse(Full why) {
  m_full = why;
  m_room = 0;
  if (why == Full::Memory)
    m_reserve.reset();
}

bool EnumerationOutput::eventFilter(QObject* watched, QEvent* event) {
  if (m_dirty) {
    try {
      flush();
    } catch (const std::bad_alloc&) {
      m_dirty = true;  // tried again at the next event
    }
  }
  return QObject::eventFilter(watched, event);
}

#include "htmlfilter.h"

#include <QList>
#include <array>

namespace platform {

namespace {

// The formatting a meaning may use, and what the page's own lines use: bold
// and italic headings, line breaks. Anything else is dropped and its text
// kept, most of it because Qt's engine either opens a file for it or lets it
// nest without bound:
// - img, link, object, embed, iframe, input: name a file (an image, a style
//   sheet) that the engine opens, a pipe included, and then waits on;
// - table, tr, td, div, blockquote, dl, pre, h1 to h6, span, center, body,
//   html, head: nest without bound; deep tables crash the layout outright,
//   and body and table carry a background image;
// - every other tag: nothing a meaning needs, and one more thing to trust.
// Lists and the kept formatting stay, but only kMaxHtmlDepth deep.
constexpr std::array kKept{
    QLatin1StringView("a"),      QLatin1StringView("b"),    QLatin1StringView("big"), QLatin1StringView("br"),
    QLatin1StringView("em"),     QLatin1StringView("font"), QLatin1StringView("i"),   QLatin1StringView("li"),
    QLatin1StringView("ol"),     QLatin1StringView("p"),    QLatin1StringView("s"),   QLatin1StringView("small"),
    QLatin1StringView("strong"), QLatin1StringView("sub"),  QLatin1StringView("sup"), QLatin1StringView("u"),
    QLatin1StringView("ul"),
};
constexpr int kNotKept = -1;

// Dropped with everything up to their closing tag: a style sheet's @import
// and url() name files, and the content of script and title was never
// meant to be read as text.
constexpr std::array kDroppedWithContent{QLatin1StringView("style"), QLatin1StringView("script"),
                                         QLatin1StringView("title")};

int keptIndex(QStringView name) {
  for (int k = 0; k < int(kKept.size()); ++k)
    if (name.compare(kKept[k], Qt::CaseInsensitive) == 0)
      return k;
  return kNotKept;
}

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isHexDigit(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

bool allOf(QStringView text, bool (*test)(QChar)) {
  for (QChar c : text)
    if (!test(c))
      return false;
  return true;
}

// A colour as Qt reads it: "#" and hex digits, or a name.
bool isColour(QStringView value) {
  if (value.startsWith(u'#'))
    return value.size() >= 4 && value.size() <= 13 && allOf(value.mid(1), isHexDigit);
  return !value.isEmpty() && value.size() <= 32 && allOf(value, isAsciiLetter);
}

// 1 to 7, or a step up or down from the base size.
bool isFontSize(QStringView value) {
  if (value.startsWith(u'+') || value.startsWith(u'-'))
    value = value.mid(1);
  return value.size() == 1 && value.at(0) >= u'0' && value.at(0) <= u'9';
}

bool isAnchorName(QStringView value) {
  return !value.isEmpty() && value.size() <= 64 && allOf(value, [](QChar c) {
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.' || c == u':';
  });
}

bool isAlignment(QStringView value) {
  for (const char* kind : {"left", "right", "center", "justify"})
    if (value.compare(QLatin1StringView(kind), Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

// Only attributes that cannot name a file: src, background, style (url()),
// and any href that leaves the page never get through.
bool keepAttribute(QLatin1StringView element, QStringView key, QStringView value) {
  if (element == QLatin1StringView("font")) {
    if (key.compare(QLatin1StringView("color"), Qt::CaseInsensitive) == 0)
      return isColour(value);
    if (key.compare(QLatin1StringView("size"), Qt::CaseInsensitive) == 0)
      return isFontSize(value);
  } else if (element == QLatin1StringView("p")) {
    if (key.compare(QLatin1StringView("align"), Qt::CaseInsensitive) == 0)
      return isAlignment(value);
  } else if (element == QLatin1StringView("a")) {
    if (key.compare(QLatin1StringView("name"), Qt::CaseInsensitive) == 0)
      return isAnchorName(value);
    if (key.compare(QLatin1StringView("href"), Qt::CaseInsensitive) == 0)
      return value.startsWith(u'#') && isAnchorName(value.mid(1));
  }
  return false;
}

class Filter {
public:
  explicit Filter(QStringView page) : m_in(page) { m_out.reserve(page.size() + page.size() / 8); }

  QString run() {
    while (m_pos < m_in.size()) {
      const qsizetype open = m_in.indexOf(u'<', m_pos);
      const qsizetype textEnd = open < 0 ? m_in.size() : open;
      m_out += m_in.mid(m_pos, textEnd - m_pos);
      m_pos = textEnd;
      if (m_pos < m_in.size())
        markup();
    }
    while (!m_open.isEmpty())
      closeTop();
    return m_out;
  }

private:
  QChar at(qsizetype i) const { return i < m_in.size() ? m_in.at(i) : QChar(); }

  // Moves past the next match, or to the end when there is none.
  void skipPast(QStringView what) {
    const qsizetype found = m_in.indexOf(what, m_pos, Qt::CaseInsensitive);
    m_pos = found < 0 ? m_in.size() : found + what.size();
  }

  // At a "<".
  void markup() {
    const QChar next = at(m_pos + 1);
    if (next == u'!' && at(m_pos + 2) == u'-' && at(m_pos + 3) == u'-') {
      m_pos += 4;
      skipPast(u"-->");
    } else if (next == u'!' || next == u'?') {
      skipPast(u">");
    } else if (isAsciiLetter(next)) {
      ++m_pos;
      openTag();
    } else if (next == u'/' && (isAsciiLetter(at(m_pos + 2)) || at(m_pos + 2) == u'>')) {
      m_pos += 2;
      const QStringView name = tagName();
      skipPast(u">");
      closeTag(keptIndex(name));
    } else {
      // Qt would read a tag even after "< ": as text, it stays text.
      m_out += QLatin1StringView("&lt;");
      ++m_pos;
    }
  }

  QStringView tagName() {
    const qsizetype start = m_pos;
    while (m_pos < m_in.size() && !isSpace(m_in.at(m_pos)) && m_in.at(m_pos) != u'>' && m_in.at(m_pos) != u'/')
      ++m_pos;
    return m_in.mid(start, m_pos - start);
  }

  void openTag() {
    const QStringView name = tagName();
    const int kept = keptIndex(name);
    QString attributes;
    bool selfClosed = false, ended = false;
    while (m_pos < m_in.size()) {
      const QChar c = m_in.at(m_pos);
      if (isSpace(c)) {
        ++m_pos;
      } else if (c == u'>') {
        ++m_pos;
        ended = true;
        break;
      } else if (c == u'/') {
        ++m_pos;
        selfClosed = at(m_pos) == u'>';
      } else {
        const qsizetype keyStart = m_pos;
        while (m_pos < m_in.size() && !isSpace(m_in.at(m_pos)) && m_in.at(m_pos) != u'>' && m_in.at(m_pos) != u'/' &&
               m_in.at(m_pos) != u'=')
          ++m_pos;
        const QStringView key = m_in.mid(keyStart, m_pos - keyStart);
        while (m_pos < m_in.size() && isSpace(m_in.at(m_pos)))
          ++m_pos;
        QStringView value;
        if (at(m_pos) == u'=') {
          ++m_pos;
          while (m_pos < m_in.size() && isSpace(m_in.at(m_pos)))
            ++m_pos;
          value = attributeValue();
        }
        if (kept != kNotKept && !key.isEmpty() && keepAttribute(kKept[kept], key, value)) {
          attributes += QLatin1Char(' ') + key.toString().toLower() + QLatin1String("=\"");
          attributes += value;
          attributes += QLatin1Char('"');
        }
      }
    }
    // A tag left open at the end of the page takes the rest with it, as Qt
    // would take it.
    if (!ended)
      return;
    for (QLatin1StringView dropped : kDroppedWithContent)
      if (name.compare(dropped, Qt::CaseInsensitive) == 0) {
        skipPast(QString(QLatin1String("</") + dropped));
        skipPast(u">");
        return;
      }
    if (kept != kNotKept)
      openKept(kept, attributes, selfClosed);
  }

  QStringView attributeValue() {
    const QChar quote = at(m_pos);
    if (quote == u'"' || quote == u'\'') {
      const qsizetype start = m_pos + 1;
      const qsizetype end = m_in.indexOf(quote, start);
      m_pos = end < 0 ? m_in.size() : end + 1;
      return m_in.mid(start, (end < 0 ? m_in.size() : end) - start);
    }
    const qsizetype start = m_pos;
    while (m_pos < m_in.size() && !isSpace(m_in.at(m_pos)) && m_in.at(m_pos) != u'>')
      ++m_pos;
    return m_in.mid(start, m_pos - start);
  }

  void openKept(int kept, const QString& attributes, bool selfClosed) {
    const QLatin1StringView name = kKept[kept];
    if (name == QLatin1StringView("br")) {
      m_out += QLatin1String("<br>");
      return;
    }
    if (m_open.size() >= kMaxHtmlDepth) {
      if (!selfClosed)
        ++m_flattened[kept];
      return;
    }
    // A new item or paragraph ends the one before, as in any browser.
    if (!m_open.isEmpty() && m_open.last() == kept &&
        (name == QLatin1StringView("li") || name == QLatin1StringView("p")))
      closeTop();
    m_out += QLatin1Char('<') + name + attributes + QLatin1Char('>');
    if (selfClosed)
      m_out += QLatin1String("</") + name + QLatin1Char('>');
    else
      m_open.append(kept);
  }

  // Closes the innermost open element of the kind, and all inside it. A
  // closing tag that matches no open element goes, "</>" on the heading line
  // among them: Qt ignores those.
  void closeTag(int kept) {
    if (kept == kNotKept || kKept[kept] == QLatin1StringView("br"))
      return;
    if (m_flattened[kept] > 0) {
      --m_flattened[kept];
      return;
    }
    const qsizetype at = m_open.lastIndexOf(kept);
    if (at < 0)
      return;
    while (m_open.size() > at)
      closeTop();
  }

  void closeTop() {
    m_out += QLatin1String("</") + kKept[m_open.last()] + QLatin1Char('>');
    m_open.removeLast();
  }

  QStringView m_in;
  qsizetype m_pos = 0;
  QString m_out;
  QList<int> m_open;                                  // the kept elements open, innermost last
  std::array<qsizetype, kKept.size()> m_flattened{};  // opened past the depth and not yet closed
};

}  // namespace

QString harmlessHtml(QStringView page) { return Filter(page).run(); }

}  // namespace platform

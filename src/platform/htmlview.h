// The embedded HTML view: shows a page written by the program, and nothing
// else. The page holds dictionary text as it stands, markup included, so it
// may name any file: a style sheet, an image, an @import or a link to a
// pipe or to /dev/zero would hang the window or fill the memory, and deep
// nesting freezes or crashes Qt's text engine. The view renders a filtered
// copy of the page (htmlfilter.h), fetches nothing even so, and a click on
// a link goes nowhere.
#pragma once

#include <QTextBrowser>
#include <QUrl>

namespace platform {

class HtmlView : public QTextBrowser {
  Q_OBJECT
public:
  explicit HtmlView(QWidget* parent = nullptr);

  // Shows the text as the page at path, without reading the file: another
  // copy of the program may have written it since. The document is given
  // the text's harmless copy; the file keeps its bytes.
  void showPage(const QString& path, const QString& text);
  // The path last shown, "" before the first page.
  const QString& currentPath() const { return m_path; }

protected:
  QVariant loadResource(int type, const QUrl& name) override;

private:
  QString m_path;
  QUrl m_url;
  QString m_text;
};

}  // namespace platform

#include "htmlview.h"

#include "htmlfilter.h"

#include <QImage>
#include <QTextDocument>

namespace platform {

HtmlView::HtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

void HtmlView::showPage(const QString& path, const QString& text) {
  m_path = path;
  m_url = QUrl::fromLocalFile(path);
  // Hidden, the view still lays the page out: the copy is made either way.
  m_text = harmlessHtml(text);
  if (source() == m_url)
    reload();
  else
    setSource(m_url, QTextDocument::HtmlResource);
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::HtmlResource)
    return name == m_url ? QVariant(m_text) : QVariant(QByteArray());
  // The page's copy names no file; this stays as a second wall. Something
  // in place of each, never nothing: given nothing, or an image that is not
  // one, the document goes and reads the file itself. It keeps the first
  // answer for a name whatever kind it asked for, so a style sheet gets the
  // blank image too: an image named by an @import as well finds an image.
  QImage blank(1, 1, QImage::Format_ARGB32);
  blank.fill(Qt::transparent);
  return blank;
}

}  // namespace platform

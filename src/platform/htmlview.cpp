#include "htmlview.h"

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
  m_text = text;
  if (source() == m_url)
    reload();
  else
    setSource(m_url, QTextDocument::HtmlResource);
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::HtmlResource && name == m_url)
    return m_text;
  // Something in place of each, never nothing: given nothing, or an image
  // that is not one, the document goes and reads the file itself.
  if (type == QTextDocument::ImageResource) {
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
  }
  return QByteArray();
}

}  // namespace platform

#include "htmlview.h"

#include "textfile.h"

#include <QTextDocument>
#include <QUrl>

namespace platform {

HtmlView::HtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

void HtmlView::navigate(const QString& path) {
  const QUrl url = QUrl::fromLocalFile(path);
  m_path = path;
  if (source() == url)
    reload();
  else
    setSource(url, QTextDocument::HtmlResource);
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
    try {
      return readTextFile(name.toLocalFile());
    } catch (const std::exception&) {
      return QString();  // a page that cannot be read shows empty
    }
  }
  return QTextBrowser::loadResource(type, name);
}

}  // namespace platform

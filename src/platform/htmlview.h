// The embedded HTML view: shows a local page written by the program.
#pragma once

#include <QTextBrowser>

namespace platform {

class HtmlView : public QTextBrowser {
  Q_OBJECT
public:
  explicit HtmlView(QWidget* parent = nullptr);

  // Shows the file's current content, also when it is the page on show.
  void navigate(const QString& path);
  // The path last navigated to, "" before the first navigation.
  QString currentPath() const { return m_path; }

protected:
  // Pages carry no charset: they are decoded as the program wrote them.
  QVariant loadResource(int type, const QUrl& name) override;

private:
  QString m_path;
};

}  // namespace platform

#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

// The dynamic property that marks a control, and its values.
constexpr char kKind[] = "lotwiseAccessibleKind";
enum Kind : std::uint8_t { Caption = 1, PlainText, Decorative };

// A read-only text: the caption of a label or the text of a line edit.
class ReadOnlyText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
  ReadOnlyText(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface)
      return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text which) const override {
    return which == QAccessible::Value ? content() : QAccessibleWidget::text(which);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.passwordEdit = false;
    return state;
  }

  // Nothing can be selected and there is no caret to move.
  void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  void scrollToSubstring(int, int) override {}

  QString text(int startOffset, int endOffset) const override {
    const QString all = content();
    const qsizetype end = endOffset < 0 || endOffset > all.size() ? all.size() : endOffset;
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, end);
    return all.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(content().size()); }

  QRect characterRect(int offset) const override {
    const QString all = content();
    const QWidget* w = widget();
    if (offset < 0 || offset >= all.size() || !w->isVisible())
      return {};
    // One line drawn in the widget's font where its alignment puts it.
    const QFontMetrics metrics(w->font());
    const QRect line = QStyle::alignedRect(w->layoutDirection(), alignment(),
                                           QSize(metrics.horizontalAdvance(all), metrics.height()), w->contentsRect());
    const QRect glyph(line.left() + metrics.horizontalAdvance(all.left(offset)), line.top(),
                      metrics.horizontalAdvance(all.at(offset)), line.height());
    return QRect(w->mapToGlobal(glyph.topLeft()), glyph.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    if (!widget()->isVisible())
      return -1;  // also spares a walk through a hidden box's megabytes
    const QString all = content();
    for (int i = 0; i < all.size(); ++i)
      if (characterRect(i).contains(point))
        return i;
    return -1;
  }
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = offset;
    return {};
  }

private:
  QString content() const {
    if (const auto* label = qobject_cast<const QLabel*>(widget()))
      return label->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(widget()))
      return box->text();
    return {};
  }
  Qt::Alignment alignment() const {
    if (const auto* label = qobject_cast<const QLabel*>(widget()))
      return label->alignment();
    if (const auto* box = qobject_cast<const QLineEdit*>(widget()))
      return box->alignment();
    return Qt::AlignLeft | Qt::AlignVCenter;
  }
};

// A drawing offered as empty space.
class Filler : public QAccessibleWidget {
public:
  explicit Filler(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Whitespace) {}
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget)
    return nullptr;
  switch (widget->property(kKind).toInt()) {
    case Caption:
      return new ReadOnlyText(widget, QAccessible::StaticText);
    case PlainText:
      return new ReadOnlyText(widget, QAccessible::EditableText);
    case Decorative:
      return new Filler(widget);
    default:
      return nullptr;
  }
}

bool isOurs(QAccessibleInterface* iface) { return dynamic_cast<ReadOnlyText*>(iface) || dynamic_cast<Filler*>(iface); }

void mark(QWidget* widget, Kind kind) {
  // Installed factories are asked before Qt's own; installing twice is a
  // no-op.
  QAccessible::installFactory(interfaceFor);
  widget->setProperty(kKind, kind);
  // Building the control (a label's caption, a box's echo mode) announces
  // the change, and Qt makes and keeps its own interface for it even with no
  // tool listening: that one goes, and the next question makes ours.
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
  if (iface && !isOurs(iface))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

}  // namespace

void readCaptionAsText(QLabel* label) { mark(label, Caption); }
void readAsPlainText(QLineEdit* box) { mark(box, PlainText); }
void markDecorative(QWidget* widget) { mark(widget, Decorative); }

}  // namespace platform

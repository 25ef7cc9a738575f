#include "focusring.h"

#include "accessibility.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QFocusFrame>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr int kBand = kFocusRingWidth;

const QWidget* faceOf(const QWidget* control) {
  const auto* area = qobject_cast<const QAbstractScrollArea*>(control);
  return area ? area->viewport() : control;
}

QColor backgroundOf(const QWidget* widget) { return widget->palette().color(widget->backgroundRole()); }

// Whether the band along one side of the control must lie inside it: the
// strip just outside that side, with a pixel of air, leaves the container
// or reaches another control.
bool inward(const QWidget* control, const QRect& strip) {
  const QWidget* container = control->parentWidget();
  if (!container->rect().contains(strip))
    return true;
  for (const QObject* child : container->children()) {
    const auto* other = qobject_cast<const QWidget*>(child);
    // Decorations and bands take no mouse and show no text of their own.
    if (other && other != control && other->isVisible() && !other->isWindow() &&
        !other->testAttribute(Qt::WA_TransparentForMouseEvents) && other->geometry().intersects(strip))
      return true;
  }
  return false;
}

// Draws the band of a QFocusFrame (the frame reaches kBand beyond its
// control on every side) and keeps it above the control.
class BandStyle : public QProxyStyle {
public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
      return kBand;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_FocusFrame_AboveWidget)
      return 1;
    if (hint == SH_FocusFrame_Mask) {
      // Only the band's own pixels: the control under it repaints alone.
      if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(answer)) {
        const QRect all = option->rect;
        mask->region = QRegion(all) - QRegion(all.adjusted(3 * kBand, 3 * kBand, -3 * kBand, -3 * kBand));
      }
      return 1;
    }
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* frame = qobject_cast<const QFocusFrame*>(widget);
    if (element != CE_FocusFrame || !frame || !frame->widget() || !frame->widget()->parentWidget()) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    const QWidget* control = frame->widget();
    const QColor outer = ringColourOn(backgroundOf(control->parentWidget()));
    const QColor inner = ringColourOn(backgroundOf(faceOf(control)));
    const QRect g = control->geometry();
    const QRect r = option->rect.adjusted(kBand, kBand, -kBand, -kBand);  // the control, in the frame
    // Each side: the strip outside it in the container, and where the band
    // goes in the frame, outside or inside (two stripes, inward from the edge).
    const struct {
      QRect strip, outside, edge, inside;
    } sides[] = {
        {QRect(g.left() - kBand, g.top() - kBand - 1, g.width() + 2 * kBand, kBand + 1),
         QRect(r.left() - kBand, r.top() - kBand, r.width() + 2 * kBand, kBand),
         QRect(r.left(), r.top(), r.width(), kBand), QRect(r.left(), r.top() + kBand, r.width(), kBand)},
        {QRect(g.left() - kBand, g.bottom() + 1, g.width() + 2 * kBand, kBand + 1),
         QRect(r.left() - kBand, r.bottom() + 1, r.width() + 2 * kBand, kBand),
         QRect(r.left(), r.bottom() + 1 - kBand, r.width(), kBand),
         QRect(r.left(), r.bottom() + 1 - 2 * kBand, r.width(), kBand)},
        {QRect(g.left() - kBand - 1, g.top() - kBand, kBand + 1, g.height() + 2 * kBand),
         QRect(r.left() - kBand, r.top() - kBand, kBand, r.height() + 2 * kBand),
         QRect(r.left(), r.top(), kBand, r.height()), QRect(r.left() + kBand, r.top(), kBand, r.height())},
        {QRect(g.right() + 1, g.top() - kBand, kBand + 1, g.height() + 2 * kBand),
         QRect(r.right() + 1, r.top() - kBand, kBand, r.height() + 2 * kBand),
         QRect(r.right() + 1 - kBand, r.top(), kBand, r.height()),
         QRect(r.right() + 1 - 2 * kBand, r.top(), kBand, r.height())},
    };
    for (const auto& side : sides) {
      if (!inward(control, side.strip)) {
        painter->fillRect(side.outside, outer);
      } else {
        painter->fillRect(side.inside, inner);
        painter->fillRect(side.edge, outer);
      }
    }
  }
};

// Follows the focus within one window and hands the control that holds it
// to a QFocusFrame, which tracks its moves and resizes and those of its
// containers.
class FocusRing : public QObject {
public:
  explicit FocusRing(QWidget* window) : QObject(window), m_window(window) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) { follow(now); });
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The container can grow past a band that lay inside at its edge.
    if (m_frame && watched == m_container && event->type() == QEvent::Resize)
      m_frame->update();
    return false;
  }

private:
  void follow(QWidget* now) {
    QWidget* target = now && now->window() == m_window && now->parentWidget() ? now : nullptr;
    if (!m_frame) {
      if (!target)
        return;
      m_frame = new QFocusFrame(m_window);
      m_frame->setObjectName("focusRing");
      m_style = new BandStyle;
      m_style->setParent(m_frame);
      m_frame->setStyle(m_style);
      markDecorative(m_frame);
    }
    if (m_container)
      m_container->removeEventFilter(this);
    m_container = target ? target->parentWidget() : nullptr;
    if (m_container)
      m_container->installEventFilter(this);
    m_frame->setWidget(target);
    m_frame->update();
  }

  QWidget* m_window;
  QPointer<QFocusFrame> m_frame;
  QPointer<QWidget> m_container;
  BandStyle* m_style = nullptr;
};

}  // namespace

void showFocusRing(QWidget* window) { new FocusRing(window); }

namespace {

double channel(double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); }

}  // namespace

double luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ringColourOn(const QColor& background) {
  const QColor yellow(0xFF, 0xFF, 0x00);
  return contrast(background, yellow) > contrast(background, Qt::black) ? yellow : QColor(Qt::black);
}

}  // namespace platform

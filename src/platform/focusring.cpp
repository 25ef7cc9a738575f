#include "focusring.h"

#include "accessibility.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The band itself: a transparent widget that paints only its edges, raised
// over the focused control's siblings and never in the way of the mouse.
class Ring : public QWidget {
public:
  explicit Ring(QWidget* parent) : QWidget(parent) {
    setObjectName("focusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    markDecorative(this);
  }

  void setColour(const QColor& colour) {
    if (colour != m_colour) {
      m_colour = colour;
      update();
    }
  }

protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    const int w = width(), h = height(), band = kFocusRingWidth;
    painter.fillRect(0, 0, w, band, m_colour);
    painter.fillRect(0, h - band, w, band, m_colour);
    painter.fillRect(0, band, band, h - 2 * band, m_colour);
    painter.fillRect(w - band, band, band, h - 2 * band, m_colour);
  }

private:
  QColor m_colour = Qt::black;
};

// Follows the focus within one window and keeps the ring on the control
// that holds it, through moves, resizes and the layout.
class FocusRing : public QObject {
public:
  explicit FocusRing(QWidget* window) : QObject(window), m_window(window) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) { follow(now); });
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_target) {
      switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
          place();
          break;
        default:
          break;
      }
    }
    return false;
  }

private:
  void follow(QWidget* now) {
    if (m_target)
      m_target->removeEventFilter(this);
    m_target = now && now->window() == m_window ? now : nullptr;
    if (m_target)
      m_target->installEventFilter(this);
    place();
  }

  void place() {
    QWidget* container = m_target ? m_target->parentWidget() : nullptr;
    if (!container || !m_target->isVisible()) {
      if (m_ring)
        m_ring->hide();
      return;
    }
    if (!m_ring)
      m_ring = new Ring(container);
    else if (m_ring->parentWidget() != container)
      m_ring->setParent(container);
    const int band = kFocusRingWidth;
    const QRect outside = m_target->geometry().adjusted(-band, -band, band, band);
    const QRect ring = outside & container->rect();
    // Outside the control the band lies on the container's background; a
    // control that reaches its container's edge is ringed within itself.
    const QWidget* under = ring == outside ? container : m_target.data();
    m_ring->setColour(ringColourOn(under->palette().color(under->backgroundRole())));
    m_ring->setGeometry(ring);
    m_ring->raise();
    m_ring->show();
  }

  QWidget* m_window;
  QPointer<QWidget> m_target;
  QPointer<Ring> m_ring;
};

double channel(double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); }

}  // namespace

void showFocusRing(QWidget* window) { new FocusRing(window); }

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

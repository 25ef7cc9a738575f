// Small helpers for building a window from its design.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace platform {

// Sets one colour of a widget's own palette; the colour read back from the
// palette is the one last set.
inline void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

// Colours come in pairs. A box whose design fixes its background also fixes
// its text, in the design's default black; one whose design fixes its text
// sits on the design's default white. A dark desktop palette would otherwise
// put its light text on the design's light background, or its dark
// background under the design's dark text.
inline void setBoxColours(QWidget* box, const QColor& background, const QColor& text = Qt::black) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Text, text);
  box->setPalette(palette);
}

// Gives a widget the name of its control in the design.
template <typename T>
T* named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace platform

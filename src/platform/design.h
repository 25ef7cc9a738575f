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

// Gives a widget the name of its control in the design.
template <typename T>
T* named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace platform

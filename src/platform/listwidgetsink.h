// Lets SplitFields fill a list box directly.
#pragma once

#include "util/splitfields.h"

class QListWidget;

namespace platform {

class ListWidgetSink : public util::ListSink {
public:
  explicit ListWidgetSink(QListWidget* list) : m_list(list) {}
  void AddItem(const QString& item) override;

private:
  QListWidget* m_list;
};

}  // namespace platform

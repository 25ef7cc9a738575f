#include "listwidgetsink.h"

#include <QListWidget>

namespace platform {

void ListWidgetSink::AddItem(const QString& item) { m_list->addItem(item); }

}  // namespace platform

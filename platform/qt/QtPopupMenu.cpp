#include "platform/qt/QtPopupMenu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace korvane::platform::qt {

int QtPopupMenu::TrackAtPointer(const std::vector<MenuItem>& items)
{
    const QPoint pointer = QCursor::pos();
    return TrackAt(items, {pointer.x(), pointer.y()});
}

int QtPopupMenu::TrackAt(const std::vector<MenuItem>& items, ScreenPoint point)
{
    QMenu menu;
    for (const MenuItem& item : items)
        menu.addAction(QString::fromStdString(item.text))->setData(item.command);
    // QMenu places its left edge at the point it is given; shift it so that
    // its right edge meets the point instead.
    const QAction* chosen = menu.exec(QPoint(point.x - menu.sizeHint().width(), point.y));
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace korvane::platform::qt

#include "platform/qt/QtPopupMenu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace korvane::platform::qt {

int QtPopupMenu::TrackAtPointer(const std::vector<MenuItem>& items)
{
    QMenu menu;
    for (const MenuItem& item : items)
        menu.addAction(QString::fromStdString(item.text))->setData(item.command);
    // QMenu places its left edge at the point it is given; shift it so that
    // its right edge meets the pointer instead.
    const QPoint pointer = QCursor::pos();
    const QAction* chosen = menu.exec(QPoint(pointer.x() - menu.sizeHint().width(), pointer.y()));
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace korvane::platform::qt

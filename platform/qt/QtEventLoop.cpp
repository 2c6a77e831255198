#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>

namespace korvane::platform::qt {

void QtEventLoop::ProcessEvents()
{
    QCoreApplication::processEvents();
}

}  // namespace korvane::platform::qt

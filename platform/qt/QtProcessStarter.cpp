#include "platform/qt/QtProcessStarter.h"

#include <QProcess>

#include "platform/qt/QtFileSystem.h"

namespace korvane::platform::qt {

bool QtProcessStarter::Start(const std::string& path)
{
    if (path.empty()) return false;
    return QProcess::startDetached(QtFileSystem::NativePath(path), {});
}

}  // namespace korvane::platform::qt

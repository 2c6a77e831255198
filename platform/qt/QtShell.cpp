#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>

#include "platform/qt/QtFileSystem.h"

namespace korvane::platform::qt {

QUrl QtShell::UrlFor(const std::string& target)
{
    const QUrl url(QString::fromStdString(target), QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QFileInfo(QtFileSystem::NativePath(target)).absoluteFilePath());
}

bool QtShell::Open(const std::string& target)
{
    if (target.empty()) return false;
    return QDesktopServices::openUrl(UrlFor(target));
}

}  // namespace korvane::platform::qt

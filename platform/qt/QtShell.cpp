#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>

#include "platform/LinkTarget.h"
#include "platform/qt/QtFileSystem.h"

namespace korvane::platform::qt {

QUrl QtShell::UrlFor(const std::string& target)
{
    const LinkTarget link = InterpretLink(
        target, [](const std::string& path) { return QFileInfo::exists(QtFileSystem::NativePath(path)); });
    switch (link.kind) {
        case LinkTarget::Kind::LocalPath:
            return QUrl::fromLocalFile(QFileInfo(QtFileSystem::NativePath(link.text)).absoluteFilePath());
        case LinkTarget::Kind::WebAddress:
            return QUrl::fromEncoded(QByteArray::fromStdString(link.text), QUrl::StrictMode);
        case LinkTarget::Kind::None:
            break;
    }
    return {};
}

bool QtShell::Open(const std::string& target)
{
    const QUrl url = UrlFor(target);
    if (!url.isValid() || url.isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace korvane::platform::qt

#include "platform/qt/QtResourceLookup.h"

#include <QFile>
#include <QFileInfo>

namespace korvane::platform::qt {

QString QtResourceLookup::ResourcePath(const std::string& ResourceID, const std::string& ResourceType)
{
    return QStringLiteral(":/") + QString::fromStdString(ResourceType) + QLatin1Char('/') +
           QString::fromStdString(ResourceID);
}

std::vector<std::uint8_t> QtResourceLookup::ResourceData(const std::string& ResourceID,
                                                         const std::string& ResourceType) const
{
    const QString path = ResourcePath(ResourceID, ResourceType);
    QFile resource(path);
    // Resource folders open like files; only a file is a resource.
    if (!QFileInfo(path).isFile() || !resource.open(QIODevice::ReadOnly))
        throw ResourceNotFoundError(ResourceID, ResourceType);
    const QByteArray bytes = resource.readAll();
    return {bytes.begin(), bytes.end()};
}

}  // namespace korvane::platform::qt

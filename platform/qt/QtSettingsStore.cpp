#include "platform/qt/QtSettingsStore.h"

#include <memory>

#include <QSettings>

namespace korvane::platform::qt {
namespace {

QString Key(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

std::unique_ptr<QSettings> Open(const QString& iniFile, const std::string& application)
{
    if (!iniFile.isEmpty()) return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    const QString name = QString::fromStdString(application);
    return std::make_unique<QSettings>(name, name);
}

}  // namespace

std::string QtSettingsStore::GetSetting(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& fallback) const
{
    const auto settings = Open(iniFile_, application);
    const QVariant value = settings->value(Key(section, key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void QtSettingsStore::SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                                  const std::string& value)
{
    const auto settings = Open(iniFile_, application);
    settings->setValue(Key(section, key), QString::fromStdString(value));
    settings->sync();
}

}  // namespace korvane::platform::qt

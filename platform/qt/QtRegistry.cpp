#include "platform/qt/QtRegistry.h"

#include <algorithm>
#include <map>
#include <optional>

#include <QFileInfo>
#include <QLibraryInfo>

namespace korvane::platform::qt {
namespace {

const QString kSysInfoKey = QStringLiteral("software/microsoft/shared tools/msinfo");
const QString kSysInfoValue = QStringLiteral("path");

// QSettings writes key paths with "/" where the registry has "\".
QString GroupOf(const std::string& keyPath)
{
    return QString::fromStdString(keyPath).replace('\\', '/');
}

// The registry ignores the case of value names; they are kept folded so
// lookups can too.
QString Folded(const std::string& valueName)
{
    return QString::fromStdString(valueName).toLower();
}

// The string values of one key, read when it is opened.
class SnapshotKey final : public RegistryKey {
public:
    explicit SnapshotKey(std::map<QString, QByteArray> values) : values_(std::move(values)) {}

    bool QueryValue(const std::string& valueName, std::span<std::uint8_t> buffer, std::uint32_t& type,
                    std::uint32_t& length) const override
    {
        const auto found = values_.find(Folded(valueName));
        if (found == values_.end()) return false;
        // A string value comes with its terminating zero, as the registry gives it.
        const QByteArray& text = found->second;
        const std::size_t size = static_cast<std::size_t>(text.size()) + 1;
        if (size > buffer.size()) return false;
        std::copy(text.begin(), text.end(), buffer.begin());
        buffer[size - 1] = 0;
        type = REG_SZ;
        length = static_cast<std::uint32_t>(size);
        return true;
    }

private:
    std::map<QString, QByteArray> values_;
};

std::optional<QString> FirstInstalled(const std::vector<QString>& programs)
{
    for (const QString& program : programs) {
        const QFileInfo info(program);
        if (info.isFile() && info.isExecutable()) return program;
    }
    return std::nullopt;
}

}  // namespace

QtRegistry::QtRegistry()
#ifdef Q_OS_WIN
    : source_(QStringLiteral("HKEY_LOCAL_MACHINE")), format_(QSettings::NativeFormat)
#else
    : QtRegistry(QLibraryInfo::path(QLibraryInfo::SettingsPath) + QStringLiteral("/korvane/registry.ini"),
                 SystemInfoPrograms())
#endif
{
}

QtRegistry::QtRegistry(QString iniFile, std::vector<QString> sysInfoPrograms)
    : source_(std::move(iniFile)), format_(QSettings::IniFormat), sysInfoPrograms_(std::move(sysInfoPrograms))
{
}

std::vector<QString> QtRegistry::SystemInfoPrograms()
{
    return {QStringLiteral("/usr/bin/hardinfo"), QStringLiteral("/usr/bin/kinfocenter"),
            QStringLiteral("/usr/bin/gnome-system-monitor"), QStringLiteral("/usr/bin/mate-system-monitor")};
}

std::unique_ptr<RegistryKey> QtRegistry::OpenKey(HKEY root, const std::string& subKey) const
{
    if (root != HKEY_LOCAL_MACHINE) return nullptr;
    QSettings settings(source_, format_);
    settings.beginGroup(GroupOf(subKey));
    bool found = !settings.childGroups().isEmpty();
    std::map<QString, QByteArray> values;
    for (const QString& name : settings.childKeys()) {
        found = true;
        const QVariant value = settings.value(name);
        if (value.typeId() == QMetaType::QString) values[name.toLower()] = value.toString().toUtf8();
    }
    if (GroupOf(subKey).compare(kSysInfoKey, Qt::CaseInsensitive) == 0 && !values.contains(kSysInfoValue)) {
        if (const auto program = FirstInstalled(sysInfoPrograms_)) {
            values[kSysInfoValue] = program->toUtf8();
            found = true;
        }
    }
    if (!found) return nullptr;
    return std::make_unique<SnapshotKey>(std::move(values));
}

}  // namespace korvane::platform::qt

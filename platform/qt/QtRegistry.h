// The machine-wide registry, read only.
//
// On Windows this is the real registry under HKEY_LOCAL_MACHINE, read through
// QSettings' native format. Other systems have no registry, so the same
// lookups read a configuration file in the system configuration folder:
// korvane/registry.ini in Qt's settings folder, which is
// /etc/xdg/korvane/registry.ini on Debian. Each key path is a section and
// each value an entry, all of them strings:
//
//   [SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   PATH=/usr/bin/hardinfo
//
// When the file does not set "SOFTWARE\Microsoft\Shared Tools\MSINFO" /
// "PATH", that value is the first installed program of a short list of
// system-information tools of Linux desktops, so that the About box's
// "System Info..." button starts one; with none installed the lookup fails.
//
// Only HKEY_LOCAL_MACHINE is known. Value names match without regard to case,
// as in the registry; in the file, key paths match as written. Values that
// are not strings read as missing.
#pragma once

#include <vector>

#include <QSettings>
#include <QString>

#include "platform/Registry.h"

namespace korvane::platform::qt {

class QtRegistry final : public Registry {
public:
    // The registry of this system, as described above.
    QtRegistry();
    // A configuration-file registry read from `iniFile`, whose System
    // Information program is the first of `sysInfoPrograms` that is an
    // executable file.
    QtRegistry(QString iniFile, std::vector<QString> sysInfoPrograms);

    std::unique_ptr<RegistryKey> OpenKey(HKEY root, const std::string& subKey) const override;

    // The tools tried, in order, on systems without a registry.
    static std::vector<QString> SystemInfoPrograms();

private:
    QString source_;
    QSettings::Format format_;
    std::vector<QString> sysInfoPrograms_;
};

}  // namespace korvane::platform::qt

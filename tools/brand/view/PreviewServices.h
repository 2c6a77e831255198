// The platform as the program has it on its first start in a folder holding
// a given branding record: the real pictures, fonts and files, the record
// served from memory, no saved settings, and timers that never fire so the
// window stays as it was drawn first.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Services.h"
#include "platform/Windows1252.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtPictureLoader.h"
#include "platform/qt/QtPointer.h"
#include "platform/qt/QtPopupMenu.h"
#include "platform/qt/QtProcessStarter.h"
#include "platform/qt/QtRegistry.h"
#include "platform/qt/QtResourceLookup.h"
#include "platform/qt/QtShell.h"

namespace korvane::brand {

// The folder's files, with its "4.dat" replaced by the record's bytes.
class RecordFileSystem final : public platform::FileSystem {
public:
    RecordFileSystem(std::string folder, std::vector<std::uint8_t> record);
    std::string ProgramFolder() const override { return m_Files.ProgramFolder(); }
    bool Matches(const std::string& path) const override;
    std::uint64_t FileLength(const std::string& path) const override;
    void DeleteFile(const std::string& path) override;
    std::vector<std::uint8_t> OpenAndRead(const std::string& path, std::size_t maxBytes) override;

private:
    bool IsRecord(const std::string& path) const;

    platform::qt::QtFileSystem m_Files;
    std::vector<std::uint8_t> m_Record;
};

// A first start: nothing saved yet, and what the window saves is forgotten.
class FirstStartSettings final : public platform::SettingsStore {
public:
    std::string GetSetting(const std::string&, const std::string&, const std::string&,
                           const std::string& fallback) const override
    {
        return fallback;
    }
    void SaveSetting(const std::string&, const std::string&, const std::string&, const std::string&) override {}
};

class StillTimerFactory final : public platform::TimerFactory {
public:
    std::unique_ptr<platform::Timer> CreateTimer() override;
};

// Needs a QApplication for as long as the services are used.
class PreviewServices {
public:
    PreviewServices(std::string folder, std::vector<std::uint8_t> record);
    PreviewServices(const PreviewServices&) = delete;
    PreviewServices& operator=(const PreviewServices&) = delete;

    platform::Services services();

private:
    FirstStartSettings m_Settings;
    platform::qt::QtMessageBox m_Messages;
    RecordFileSystem m_Files;
    platform::Windows1252 m_Encoding;
    platform::qt::QtPointer m_Pointer;
    StillTimerFactory m_Timers;
    platform::qt::QtEventLoop m_Events;
    platform::qt::QtPictureLoader m_Pictures;
    platform::qt::QtPopupMenu m_Menus;
    platform::qt::QtShell m_Shell;
    platform::qt::QtProcessStarter m_Processes;
    platform::qt::QtRegistry m_Registry;
    platform::qt::QtResourceLookup m_Resources;
};

}  // namespace korvane::brand

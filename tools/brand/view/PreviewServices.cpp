#include "tools/brand/view/PreviewServices.h"

#include "app/mSetup.h"
#include "app/mUtils.h"

namespace korvane::brand {

namespace {

class StillTimer final : public platform::Timer {
public:
    void SetInterval(int milliseconds) override { m_Interval = milliseconds; }
    int Interval() const override { return m_Interval; }
    void SetEnabled(bool enabled) override { m_Enabled = enabled; }
    bool Enabled() const override { return m_Enabled; }
    void OnTick(std::function<void()>) override {}

private:
    int m_Interval = 0;
    bool m_Enabled = false;
};

}  // namespace

RecordFileSystem::RecordFileSystem(std::string folder, std::vector<std::uint8_t> record)
    : m_Files(std::move(folder)), m_Record(std::move(record))
{
}

bool RecordFileSystem::IsRecord(const std::string& path) const
{
    std::string folder = ProgramFolder();
    return path == app::AddBackslash(folder) + app::kBrandingFile;
}

bool RecordFileSystem::Matches(const std::string& path) const
{
    return IsRecord(path) || m_Files.Matches(path);
}

std::uint64_t RecordFileSystem::FileLength(const std::string& path) const
{
    return IsRecord(path) ? m_Record.size() : m_Files.FileLength(path);
}

// Nothing of the distributor's folder is ever changed.
void RecordFileSystem::DeleteFile(const std::string&) {}

std::vector<std::uint8_t> RecordFileSystem::OpenAndRead(const std::string& path, std::size_t maxBytes)
{
    if (!IsRecord(path)) return {};
    return {m_Record.begin(), m_Record.begin() + static_cast<std::ptrdiff_t>(std::min(maxBytes, m_Record.size()))};
}

std::unique_ptr<platform::Timer> StillTimerFactory::CreateTimer()
{
    return std::make_unique<StillTimer>();
}

PreviewServices::PreviewServices(std::string folder, std::vector<std::uint8_t> record)
    : m_Files(std::move(folder), std::move(record))
{
}

platform::Services PreviewServices::services()
{
    return {m_Settings, m_Messages, m_Files, m_Encoding,  m_Pointer,  m_Timers,   m_Events,
            m_Pictures, m_Menus,    m_Shell, m_Processes, m_Registry, m_Resources};
}

}  // namespace korvane::brand

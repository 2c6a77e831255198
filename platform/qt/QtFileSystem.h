// Files through Qt's file layer; "\" in a path is read as a separator.
#pragma once

#include <QString>

#include "platform/FileSystem.h"

namespace korvane::platform::qt {

class QtFileSystem final : public FileSystem {
public:
    // The program folder is the folder of the executable.
    QtFileSystem() = default;
    // A program folder of the caller's choosing, for isolated runs.
    explicit QtFileSystem(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    std::string ProgramFolder() const override;
    bool Matches(const std::string& path) const override;
    std::uint64_t FileLength(const std::string& path) const override;
    void DeleteFile(const std::string& path) override;
    std::vector<std::uint8_t> OpenAndRead(const std::string& path, std::size_t maxBytes) override;

    // `path` with each "\" turned into the platform's separator.
    static QString NativePath(const std::string& path);

private:
    std::string programFolder_;
};

}  // namespace korvane::platform::qt

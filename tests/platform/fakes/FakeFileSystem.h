// An in-memory file system with Windows-style paths and switchable faults.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/FileSystem.h"

namespace korvane::platform::fakes {

class FakeFileSystem final : public FileSystem {
public:
    std::string ProgramFolder() const override { return programFolder; }
    bool Matches(const std::string& path) const override { return files.contains(path) || folders.contains(path); }
    std::uint64_t FileLength(const std::string& path) const override
    {
        const auto found = files.find(path);
        if (found == files.end()) Fail(std::errc::no_such_file_or_directory);
        return found->second.size();
    }
    void DeleteFile(const std::string& path) override
    {
        if (readOnly || !files.contains(path)) Fail(std::errc::permission_denied);
        files.erase(path);
        deleted.push_back(path);
    }
    std::vector<std::uint8_t> OpenAndRead(const std::string& path, std::size_t maxBytes) override
    {
        opened.push_back(path);
        if (folders.contains(path)) Fail(std::errc::is_a_directory);
        const auto found = files.find(path);
        if (found != files.end()) {
            const std::size_t size = std::min(maxBytes, found->second.size());
            return {found->second.begin(), found->second.begin() + static_cast<std::ptrdiff_t>(size)};
        }
        if (readOnly) Fail(std::errc::read_only_file_system);
        files[path] = {};
        return {};
    }

    std::string programFolder = "C:\\Program Files\\Korvane";
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> folders;
    bool readOnly = false;
    std::vector<std::string> opened;
    std::vector<std::string> deleted;

private:
    [[noreturn]] static void Fail(std::errc code) { throw std::system_error(std::make_error_code(code)); }
};

}  // namespace korvane::platform::fakes

#include "platform/qt/QtFileSystem.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/files/NativePath.h"

namespace korvane::platform::qt {
namespace {

[[noreturn]] void Fail(std::errc code, const std::string& what, const std::string& path)
{
    throw std::system_error(std::make_error_code(code), what + " " + path);
}

}  // namespace

QString QtFileSystem::NativePath(const std::string& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(korvane::platform::NativePath(path).string()));
}

std::string QtFileSystem::ProgramFolder() const
{
    if (!programFolder_.empty()) return programFolder_;
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

bool QtFileSystem::Matches(const std::string& path) const
{
    return QFileInfo::exists(NativePath(path));
}

std::uint64_t QtFileSystem::FileLength(const std::string& path) const
{
    const QFileInfo info(NativePath(path));
    if (!info.exists()) Fail(std::errc::no_such_file_or_directory, "cannot examine", path);
    return static_cast<std::uint64_t>(info.size());
}

void QtFileSystem::DeleteFile(const std::string& path)
{
    if (!QFile::remove(NativePath(path))) Fail(std::errc::permission_denied, "cannot delete", path);
}

std::vector<std::uint8_t> QtFileSystem::OpenAndRead(const std::string& path, std::size_t maxBytes)
{
    QFile file(NativePath(path));
    // Read and write as the binary mode asks, falling back to reading alone
    // for a file that is there but read-only.
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        Fail(std::errc::permission_denied, "cannot open", path);
    }
    if (QFileInfo(file).isDir()) Fail(std::errc::is_a_directory, "cannot read", path);
    // Qt sets aside room for the whole count before reading: ask for no more
    // than the file holds.
    const auto limit = static_cast<qint64>(std::min<std::uint64_t>(maxBytes, std::numeric_limits<qint64>::max()));
    const QByteArray bytes = file.read(std::min(limit, file.size()));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace korvane::platform::qt

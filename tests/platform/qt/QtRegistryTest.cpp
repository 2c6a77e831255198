#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/QtRegistry.h"

namespace korvane::platform::qt {
namespace {

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// The string a key's value reads as, or nothing when key or value is missing.
std::optional<std::string> Read(const Registry& registry, const std::string& key, const std::string& value,
                                std::size_t bufferSize = 1024)
{
    const auto opened = registry.OpenKey(HKEY_LOCAL_MACHINE, key);
    if (!opened) return std::nullopt;
    std::vector<std::uint8_t> buffer(bufferSize, 0xCC);
    std::uint32_t type = 0;
    std::uint32_t length = 0;
    if (!opened->QueryValue(value, buffer, type, length)) return std::nullopt;
    EXPECT_EQ(type, REG_SZ);
    EXPECT_GE(length, 1U);
    EXPECT_EQ(buffer[length - 1], 0) << "strings come with their terminating zero";
    return std::string(buffer.begin(), buffer.begin() + length - 1);
}

class QtRegistryTest : public ::testing::Test {
protected:
    QString File(const QString& name, const QByteArray& bytes, bool executable = false)
    {
        QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(QtRegistryTest, ReadsKeysAndValuesFromTheFile)
{
    const QString ini = File(QStringLiteral("registry.ini"),
                             "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=/opt/tools/sysinfo\n"
                             "[SOFTWARE\\Microsoft\\Shared Tools Location]\nMSINFO=/opt/tools\nEmpty=\n");
    const QtRegistry registry(ini, {});
    EXPECT_EQ(Read(registry, kInfoKey, "PATH"), "/opt/tools/sysinfo");
    EXPECT_EQ(Read(registry, kInfoKey, "path"), "/opt/tools/sysinfo") << "value names ignore case";
    EXPECT_EQ(Read(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"), "/opt/tools");
    EXPECT_EQ(Read(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "Empty"), "");
    EXPECT_EQ(Read(registry, kInfoKey, "Other"), std::nullopt);
    EXPECT_EQ(registry.OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nobody"), nullptr);
    EXPECT_EQ(registry.OpenKey(0x80000001, kInfoKey), nullptr) << "only the machine-wide root is known";
}

TEST_F(QtRegistryTest, ValueLongerThanTheBufferFails)
{
    const QString ini = File(QStringLiteral("registry.ini"), "[K]\nV=abcd\n");
    const QtRegistry registry(ini, {});
    EXPECT_EQ(Read(registry, "K", "V", 5), "abcd");
    EXPECT_EQ(Read(registry, "K", "V", 4), std::nullopt);
}

TEST_F(QtRegistryTest, SystemInformationFallsBackToAnInstalledTool)
{
    const QString missing = dir_.filePath(QStringLiteral("not-installed"));
    const QString plain = File(QStringLiteral("not-executable"), "");
    const QString tool = File(QStringLiteral("sysinfo-tool"), "#!/bin/sh\n", true);
    const QString later = File(QStringLiteral("second-tool"), "#!/bin/sh\n", true);
    const QString noFile = dir_.filePath(QStringLiteral("absent.ini"));

    EXPECT_EQ(Read(QtRegistry(noFile, {missing, plain, tool, later}), kInfoKey, "PATH"), tool.toStdString());
    EXPECT_EQ(QtRegistry(noFile, {missing, plain}).OpenKey(HKEY_LOCAL_MACHINE, kInfoKey), nullptr);
    EXPECT_EQ(Read(QtRegistry(noFile, {tool}), "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"), std::nullopt);

    const QString set = File(QStringLiteral("set.ini"), "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=/x\n");
    EXPECT_EQ(Read(QtRegistry(set, {tool}), kInfoKey, "PATH"), "/x") << "the file's own value wins";
}

TEST(QtRegistry, SystemInfoProgramsAreAbsolutePaths)
{
    for (const QString& program : QtRegistry::SystemInfoPrograms())
        EXPECT_TRUE(program.startsWith('/'));
}

}  // namespace
}  // namespace korvane::platform::qt

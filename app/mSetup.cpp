#include "app/mSetup.h"

#include <exception>
#include <optional>

#include "app/mFileFound.h"
#include "app/mUtils.h"

namespace korvane::app {
namespace {

std::string Decoded(const platform::TextEncoding& encoding, const std::string& stored)
{
    const std::string plain = DecodeText(stored);
    return encoding.ToUtf8(std::span(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()));
}

// The record on disk, or nothing when the defaults apply.
std::optional<BrandingRecord> ReadRecordFile(platform::FileSystem& files, const std::string& path)
{
    bool useDefaults = !FileExists(files, path);
    if (!useDefaults && files.FileLength(path) == 0) {
        files.DeleteFile(path);
        useDefaults = true;
    }
    // Opening creates a missing file, so an empty record stays behind. Only
    // the record is read, however long the file.
    const std::vector<std::uint8_t> bytes = files.OpenAndRead(path, kLongestBrandingRecord);
    if (useDefaults) return std::nullopt;
    return ParseBrandingRecord(bytes);
}

Branding WithDefaults()
{
    Branding branding;
    branding.Record = DefaultBrandingRecord();
    branding.DisplayCompany = branding.Record.CompanyText;
    branding.DisplayTitle = branding.Record.TitleText;
    branding.DisplayLink = branding.Record.LinkTarget;
    return branding;
}

}  // namespace

BrandingRecord DefaultBrandingRecord()
{
    BrandingRecord record;
    record.CompanyText = "(Your company name && link or small banner here)";
    record.TitleText = "Korvane";
    record.LinkTarget = "";
    record.ShowPicture = 0;
    record.ShowAnimation = 0;
    record.BannerFile = "";
    record.CompanyFontSize = 17;
    record.TitleFontSize = 8;
    record.FontName = "Tahoma";
    return record;
}

Branding ReadBranding(platform::FileSystem& files, const platform::TextEncoding& encoding)
{
    const std::string folder = files.ProgramFolder();
    std::optional<BrandingRecord> record;
    try {
        record = ReadRecordFile(files, folder + "\\" + kBrandingFile);
    } catch (const std::exception&) {
        return WithDefaults();
    }
    if (!record) return WithDefaults();

    Branding branding;
    branding.Record = *record;
    branding.DisplayCompany = Decoded(encoding, record->CompanyText);
    branding.DisplayTitle = Decoded(encoding, record->TitleText);
    branding.DisplayLink = Decoded(encoding, record->LinkTarget);
    std::string bannerFolder = folder;
    branding.BannerPath = AddBackslash(bannerFolder) + Decoded(encoding, record->BannerFile);
    return branding;
}

}  // namespace korvane::app

// Reading the branding record at start-up and the display values derived
// from it. They are set once and read by the windows.
#pragma once

#include <string>

#include "app/BrandingRecord.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

namespace korvane::app {

// The application's fixed title, used for message boxes whatever the record says.
inline constexpr const char* kAppTitle = "Korvane";
// The record's file name in the program's folder.
inline constexpr const char* kBrandingFile = "4.dat";

struct Branding {
    BrandingRecord Record;
    // UTF-8 texts for the windows.
    std::string DisplayCompany;
    std::string DisplayTitle;
    std::string DisplayLink;
    // Program folder and banner file; empty with the defaults.
    std::string BannerPath;

    bool ShowPicture() const { return Record.ShowPicture != 0; }
    bool ShowAnimation() const { return Record.ShowAnimation != 0; }
};

// The record's fields when there is no record to read.
BrandingRecord DefaultBrandingRecord();

// Reads "4.dat" beside the program. A missing record is left behind empty,
// an empty one is deleted and made again; both give the defaults. A record
// that cannot be opened, created or read gives the defaults too, so the
// program still starts.
Branding ReadBranding(platform::FileSystem& files, const platform::TextEncoding& encoding);

}  // namespace korvane::app

#include "tools/brand/view/BrandCheck.h"

#include <exception>

#include <QFileInfo>
#include <QLabel>

#include "app/mUtils.h"
#include "controls/gif_viewer/ucGIFViewer.h"
#include "imaging/gif/cGIF.h"
#include "platform/LinkTarget.h"
#include "platform/files/FileReading.h"
#include "platform/files/NativePath.h"
#include "platform/qt/QtFileSystem.h"
#include "tools/support/GifInput.h"

namespace korvane::brand {

namespace {

using app::Branding;

std::string Size(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

const std::string kBannerArea = Size(app::kBannerWidth, app::kBannerHeight);

// Stored text that decodes to nothing although it holds more than its key.
void CheckDecoding(const Branding& branding, std::vector<Finding>& findings)
{
    const std::pair<const char*, const std::string*> fields[] = {{"company", &branding.Record.CompanyText},
                                                                 {"title", &branding.Record.TitleText},
                                                                 {"link", &branding.Record.LinkTarget},
                                                                 {"banner-file", &branding.Record.BannerFile}};
    for (const auto& [name, stored] : fields) {
        if (stored->size() > 4 && app::DecodeText(*stored).empty())
            findings.push_back({name,
                                "the stored text does not decode (a character below its key code), so the "
                                "window shows it empty"});
    }
}

// The size the window shows a label's text at.
std::string PointsShown(std::int16_t points, const char* designSize)
{
    return app::FontSizeAccepted(points) ? std::to_string(points) : designSize;
}

void CheckFontSize(const char* field, std::int16_t points, const char* designSize, std::vector<Finding>& findings)
{
    if (!app::FontSizeAccepted(points))
        findings.push_back({field, std::to_string(points) + " points is refused by the window (it takes 1 to " +
                                       "2048); the design size of " + designSize + " points shows instead"});
}

// Measured on the window's own label: its font, its room and its word wrap.
void CheckTextFits(const char* field, const QLabel* label, const std::string& points, std::vector<Finding>& findings)
{
    if (label == nullptr || label->text().isEmpty()) return;
    const QRect room = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 1 << 20),
                                                           Qt::TextWordWrap | Qt::AlignHCenter, label->text());
    if (needed.width() <= room.width() && needed.height() <= room.height()) return;
    findings.push_back({field, "the text needs " + Size(needed.width(), needed.height()) + " pixels at " + points +
                                   " points, its label has " + Size(room.width(), room.height()) + ": it is cut off"});
}

void CheckPicture(const platform::Services& services, const Branding& branding, std::vector<Finding>& findings)
{
    const gdi::StdPicture picture = services.pictures.LoadPicture(branding.BannerPath);
    if (!picture) {
        findings.push_back({"banner-file", "not a picture the window can show (BMP, PNG, JPEG, GIF, ICO ...)"});
        return;
    }
    const int w = picture->Width();
    const int h = picture->Height();
    if (w > app::kBannerWidth || h > app::kBannerHeight) {
        findings.push_back({"banner-file", "the picture is " + Size(w, h) + ", larger than the banner area " +
                                               kBannerArea + ": it spills over the title line and the background"});
    } else if (w < app::kBannerWidth || h < app::kBannerHeight) {
        findings.push_back({"banner-file", "the picture is " + Size(w, h) + ", smaller than the banner area " +
                                               kBannerArea + ": the company text shows beside it"});
    }
}

void CheckAnimation(const Branding& branding, const app::fMain& window, std::vector<Finding>& findings)
{
    imaging::cGIF gif;
    try {
        if (!gif.LoadFromStream(tools::ReadGifBytes(branding.BannerPath).span())) throw std::runtime_error("");
    } catch (const std::exception& e) {
        findings.push_back({"banner-file", std::string("not a GIF the window can play: ") + e.what()});
        return;
    }
    if (gif.FramesCount() == 0) {
        findings.push_back({"banner-file", "the GIF holds no frame: the banner shows only its back colour"});
        return;
    }
    auto* viewer = window.findChild<controls::ucGIFViewer*>("ucGIF");
    if (viewer != nullptr && !viewer->GIFLoaded()) {
        findings.push_back({"banner-file", "the GIF cannot be played: its logical screen of " +
                                               Size(gif.ScreenWidth(), gif.ScreenHeight()) +
                                               " pixels is more than the viewer can draw"});
        return;
    }
    if (gif.ScreenWidth() > app::kBannerWidth || gif.ScreenHeight() > app::kBannerHeight) {
        findings.push_back({"banner-file", "the GIF is " + Size(gif.ScreenWidth(), gif.ScreenHeight()) +
                                               ", larger than the banner area " + kBannerArea +
                                               ": its frames will be shrunk to fit"});
    }
}

void CheckBanner(const platform::Services& services, const Branding& branding, const app::fMain& window,
                 std::vector<Finding>& findings)
{
    if (!branding.ShowPicture() && !branding.ShowAnimation()) return;
    if (branding.Record.BannerFile.empty() || app::DecodeText(branding.Record.BannerFile).empty()) {
        findings.push_back({"banner-file", "no file is named, yet show-picture or show-animation asks for one"});
        return;
    }
    try {
        platform::ReadWholeFile(branding.BannerPath);
    } catch (const std::exception& e) {
        findings.push_back({"banner-file", platform::NativePath(branding.BannerPath).string() + ": " + e.what()});
        return;
    }
    if (branding.ShowPicture()) CheckPicture(services, branding, findings);
    if (branding.ShowAnimation()) CheckAnimation(branding, window, findings);
}

// How a click on the banner will read the link, by the shell's own rule.
Finding DescribeLink(const Branding& branding)
{
    const platform::LinkTarget target = platform::InterpretLink(branding.DisplayLink, [](const std::string& path) {
        return QFileInfo::exists(platform::qt::QtFileSystem::NativePath(path));
    });
    if (target.kind == platform::LinkTarget::Kind::None)
        return {"link", "none: a click on the banner opens nothing", false};
    return {"link", "a click on the banner opens the " + platform::DescribeLinkTarget(target), false};
}

}  // namespace

std::vector<Finding> CheckBranding(const platform::Services& services, const app::fMain& window)
{
    const Branding& branding = window.CurrentBranding();
    std::vector<Finding> findings;
    CheckDecoding(branding, findings);
    CheckFontSize("company-font-size", branding.Record.CompanyFontSize, "17.25", findings);
    CheckFontSize("title-font-size", branding.Record.TitleFontSize, "8.25", findings);
    // The animated banner covers the company text.
    if (!branding.ShowAnimation()) {
        CheckTextFits("company", window.findChild<QLabel*>("lblName_0"),
                      PointsShown(branding.Record.CompanyFontSize, "17.25"), findings);
    }
    CheckTextFits("title", window.findChild<QLabel*>("lblName_1"), PointsShown(branding.Record.TitleFontSize, "8.25"),
                  findings);
    CheckBanner(services, branding, window, findings);
    findings.push_back(DescribeLink(branding));
    return findings;
}

}  // namespace korvane::brand

// korvane-brand check and preview: one record for each finding, and a
// preview that is the program's own window, pixel for pixel.
#include <cstdio>
#include <fstream>
#include <set>
#include <sys/wait.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/BrandingRecord.h"
#include "app/mStartup.h"
#include "platform/Windows1252.h"
#include "platform/qt/QtServices.h"
#include "tests/platform/fakes/FakeSettingsStore.h"
#include "tests/support/GifBuilder.h"
#include "tests/support/QtTestApp.h"
#include "tools/brand/BrandSource.h"
#include "tools/brand/view/BrandCheck.h"
#include "tools/brand/view/PreviewServices.h"

namespace korvane::brand {
namespace {

namespace gifs = test_support;

class BrandViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        korvane::test_support::TestApp();
        app::PrepareApplication();
        ASSERT_TRUE(folder_.isValid());
    }

    std::string Path(const std::string& name) const
    {
        return folder_.filePath(QString::fromStdString(name)).toStdString();
    }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteText(const std::string& name, const std::string& text) { std::ofstream(Path(name)) << text; }
    void WritePicture(const std::string& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QString::fromStdString(Path(name))));
    }

    // The fields of the problems found for this record.
    std::set<std::string> Problems(const std::vector<std::uint8_t>& record, std::string* messages = nullptr)
    {
        PreviewServices services(folder_.path().toStdString(), record);
        const auto window = app::Main(services.services());
        std::set<std::string> fields;
        for (const Finding& f : CheckBranding(services.services(), *window)) {
            if (f.problem) fields.insert(f.field);
            if (messages != nullptr) *messages += f.field + ": " + f.message + "\n";
        }
        return fields;
    }
    std::set<std::string> ProblemsOfIni(const std::string& ini, std::string* messages = nullptr)
    {
        WriteText("brand.ini", ini);
        return Problems(LoadRecordBytes(Path("brand.ini")), messages);
    }

    QTemporaryDir folder_;
};

gifs::GifRecipe Gif(int width, int height, int frames)
{
    gifs::GifRecipe recipe;
    recipe.Width = width;
    recipe.Height = height;
    recipe.Palette = gifs::TestPalette();
    for (int f = 0; f < frames; ++f)
        recipe.Frames.push_back(gifs::SolidFrame(0, 0, 2, 2, f % 3));
    return recipe;
}

TEST_F(BrandViewTest, EachFindingNamesItsField)
{
    WritePicture("wide.png", 500, 60);
    WritePicture("small.png", 100, 30);
    WritePicture("exact.png", 375, 60);
    Write("big.gif", gifs::EncodeGif(Gif(750, 120, 2)));
    Write("fits.gif", gifs::EncodeGif(Gif(375, 60, 2)));
    Write("huge.gif", gifs::EncodeGif(Gif(32767, 32767, 2)));
    WriteText("text.gif", "not a picture at all");
    const struct {
        const char* ini;
        std::set<std::string> problems;
        const char* says;
    } cases[] = {
        {"company = ACME\ntitle = Acme BMI\n", {}, "no problem"},
        {"company = ACME Healthcare Solutions and Sons of the Northern Provinces Limited\n", {"company"}, "cut off"},
        {"title = An exceedingly long title line\n", {"title"}, "cut off"},
        {"company-font-size = 0\n", {"company-font-size"}, "refused"},
        {"show-picture = 1\nbanner-file = missing.png\n", {"banner-file"}, "No such file or directory"},
        {"show-picture = 1\nbanner-file = text.gif\n", {"banner-file"}, "not a picture"},
        {"show-picture = 1\nbanner-file = wide.png\n", {"banner-file"}, "500 x 60, larger"},
        {"show-picture = 1\nbanner-file = small.png\n", {"banner-file"}, "100 x 30, smaller"},
        {"show-picture = 1\nbanner-file = exact.png\n", {}, "no problem"},
        {"show-animation = 1\nbanner-file = text.gif\n", {"banner-file"}, "header is"},
        {"show-animation = 1\nbanner-file = huge.gif\n", {"banner-file"}, "cannot be played"},
        {"show-animation = 1\nbanner-file = big.gif\n", {"banner-file"}, "shrunk"},
        {"show-animation = 1\nbanner-file = fits.gif\n", {}, "no problem"},
        {"link = www.acme.example\n", {}, "http://www.acme.example"},
    };
    for (const auto& c : cases) {
        std::string messages;
        EXPECT_EQ(ProblemsOfIni(c.ini, &messages), c.problems) << c.ini << messages;
        if (!c.problems.empty() || std::string(c.says) != "no problem") {
            EXPECT_NE(messages.find(c.says), std::string::npos) << c.ini << messages;
        }
    }

    // A stored title with a character below its key code decodes to nothing.
    WriteText("empty.ini", "");
    app::BrandingRecord record = app::ParseBrandingRecord(LoadRecordBytes(Path("empty.ini")));
    record.TitleText = std::string("   ") + '\x10' + " ";
    EXPECT_EQ(Problems(app::SerializeBrandingRecord(record)), std::set<std::string>{"title"});
}

// The preview is drawn by the program's own window: pixel-equal to the window
// the program shows with the same record in its folder, both off screen.
TEST_F(BrandViewTest, PreviewIsTheProgramsWindow)
{
    Write("banner.gif", gifs::EncodeGif(Gif(375, 60, 3)));
    WriteText("brand.ini",
              "company = ACME && Sons\ntitle = Acme\ntitle-font-size = 9\nshow-animation = 1\n"
              "banner-file = banner.gif\n");
    const std::string tool = KORVANE_BRAND_TOOL;
    const std::string png = Path("preview.png");
    ASSERT_EQ(std::system((tool + " build " + Path("brand.ini") + " " + Path("4.dat")).c_str()), 0);
    ASSERT_EQ(std::system((tool + " preview " + Path("4.dat") + " " + png + " 2>/dev/null").c_str()), 0);

    platform::fakes::FakeSettingsStore settings;  // a first start: nothing saved
    platform::qt::QtServices qt;
    platform::qt::QtFileSystem files(folder_.path().toStdString());
    platform::Services services = qt.services();
    platform::Services program{
        settings,          services.messages, files,          services.encoding, services.pointer,   services.timers,
        services.events,   services.pictures, services.menus, services.shell,    services.processes, services.registry,
        services.resources};
    const auto window = app::Main(program);
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage preview = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(preview.size(), shown.size());
    EXPECT_TRUE(preview == shown);
}

}  // namespace
}  // namespace korvane::brand

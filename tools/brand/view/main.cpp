// korvane-brand-view: the part of korvane-brand that needs the program's
// window, started by korvane-brand for "check" and "preview" so that build
// and dump start without Qt. It always draws off screen.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include <QApplication>
#include <QBuffer>

#include "app/mStartup.h"
#include "tools/brand/BrandSource.h"
#include "tools/brand/view/BrandCheck.h"
#include "tools/brand/view/BrandPreview.h"
#include "tools/brand/view/PreviewServices.h"
#include "tools/support/ToolFiles.h"
#include "tools/support/ToolMain.h"

namespace {

namespace brand = korvane::brand;
namespace tools = korvane::tools;

constexpr const char* kHelp = R"(Usage:
  korvane-brand check RECORD|INI [--folder DIR] [--json]
  korvane-brand preview RECORD|INI OUT.png [--folder DIR] [--scale 1|2] [--frame N]

See korvane-brand --help.
)";

struct Options {
    std::string file;
    std::string folder;
    std::string out;
    bool json = false;
    int scale = 1;
    int frame = 1;
};

// The QApplication must exist before any window and after the scale is set.
struct Application {
    explicit Application(int scale)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
        app = std::make_unique<QApplication>(argc, argv);
        korvane::app::PrepareApplication();
    }
    int argc = 1;
    char name[20] = "korvane-brand-view";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

std::string FolderOf(const Options& options)
{
    return options.folder.empty() ? brand::DefaultBannerFolder(options.file) : options.folder;
}

int Check(const Options& options)
{
    std::vector<std::uint8_t> record = brand::LoadRecordBytes(options.file);
    const Application application(1);
    brand::PreviewServices services(FolderOf(options), std::move(record));
    const auto window = korvane::app::Main(services.services());
    const std::vector<brand::Finding> findings = brand::CheckBranding(services.services(), *window);
    bool problem = false;
    nlohmann::json list = nlohmann::json::array();
    std::string text;
    for (const brand::Finding& f : findings) {
        problem = problem || f.problem;
        list.push_back({{"field", f.field}, {"message", f.message}, {"problem", f.problem}});
        text += f.field + ": " + f.message + "\n";
    }
    if (options.json) {
        text = nlohmann::json{{"file", options.file}, {"ok", !problem}, {"findings", list}}.dump(4) + "\n";
    } else if (!problem) {
        text += "no problems found\n";
    }
    std::fputs(text.c_str(), stdout);
    return problem ? tools::kExitFailure : 0;
}

int Preview(const Options& options)
{
    std::vector<std::uint8_t> record = brand::LoadRecordBytes(options.file);
    const Application application(options.scale);
    brand::PreviewServices services(FolderOf(options), std::move(record));
    const auto window = korvane::app::Main(services.services());
    const QImage image = brand::DrawMainWindow(*window, options.frame);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw tools::FileError(options.out, "the window could not be drawn");
    tools::WriteOutput(options.out,
                       {reinterpret_cast<const std::uint8_t*>(png.constData()), static_cast<std::size_t>(png.size())});
    return 0;
}

int Run(int argc, char** argv)
{
    CLI::App app("Check and preview Korvane branding records", "korvane-brand");
    app.require_subcommand(1, 1);
    Options check;
    CLI::App* checkCommand = app.add_subcommand("check", "report what would show broken");
    checkCommand->add_option("RECORD", check.file)->required();
    checkCommand->add_option("--folder", check.folder);
    checkCommand->add_flag("--json", check.json);
    Options preview;
    CLI::App* previewCommand = app.add_subcommand("preview", "draw the main window into a PNG file");
    previewCommand->add_option("RECORD", preview.file)->required();
    previewCommand->add_option("OUT", preview.out)->required();
    previewCommand->add_option("--folder", preview.folder);
    previewCommand->add_option("--scale", preview.scale)->check(CLI::IsMember({1, 2}));
    previewCommand->add_option("--frame", preview.frame)->check(CLI::Range(1, std::numeric_limits<int>::max()));
    return tools::RunToolMain(app, kHelp, argc, argv,
                              [&] { return checkCommand->parsed() ? Check(check) : Preview(preview); });
}

}  // namespace

int main(int argc, char** argv)
{
    return tools::GuardedMain("korvane-brand", [&] { return Run(argc, argv); });
}

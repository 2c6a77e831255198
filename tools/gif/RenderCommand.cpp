// korvane-gif render: plays a GIF through the viewer's own playback engine,
// tick by tick, and writes the composed canvas after each tick.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "controls/gif_viewer/GIFPlayer.h"
#include "controls/gif_viewer/ManualFrameTimer.h"
#include "controls/gif_viewer/MemoryControlSurface.h"
#include "tools/gif/Commands.h"

namespace korvane::tools {

namespace {

constexpr const char* kUsage = "render FILE DIR [--ticks N] [--back-colour RRGGBB]";

struct RenderOptions {
    std::string file;
    std::filesystem::path dir;
    std::optional<long> ticks;
    gdi::OLE_COLOR backColour = controls::DefaultBackColor;
};

long ParseTicks(const std::string& text)
{
    std::size_t used = 0;
    long ticks = 0;
    try {
        ticks = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || ticks < 1) throw CommandError("--ticks wants a whole number of at least 1");
    return ticks;
}

// RRGGBB as the viewer's colour value, red + green x 256 + blue x 65536.
gdi::OLE_COLOR ParseColour(const std::string& text)
{
    // Only the digits: stoul alone would also take a sign, spaces or "0x".
    const auto isHexDigit = [](unsigned char c) { return std::isxdigit(c) != 0; };
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), isHexDigit))
        throw CommandError("--back-colour wants six hex digits RRGGBB");
    const unsigned long rgb = std::stoul(text, nullptr, 16);
    return static_cast<gdi::OLE_COLOR>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

RenderOptions ParseOptions(const Arguments& args)
{
    RenderOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--ticks" && hasValue) {
            options.ticks = ParseTicks(args[++i]);
        } else if (args[i] == "--back-colour" && hasValue) {
            options.backColour = ParseColour(args[++i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    RequireArgumentCount(positional, 2, 2, kUsage);
    options.file = positional[0];
    options.dir = positional[1];
    return options;
}

void WriteCanvas(const gdi::StdPicture& canvas, const std::filesystem::path& path)
{
    std::vector<char> rgb;
    rgb.reserve(canvas->Argb32().size() * 3);
    for (const std::uint32_t pixel : canvas->Argb32()) {
        rgb.insert(rgb.end(),
                   {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8), static_cast<char>(pixel)});
    }
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << canvas->Width() << " " << canvas->Height() << "\n255\n";
    out.write(rgb.data(), static_cast<std::streamsize>(rgb.size()));
    out.close();
    if (!out) throw CommandError("cannot write " + path.string());
}

// The tool loads from files only.
class NoResources : public controls::ResourceLookup {
public:
    std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                           const std::string& ResourceType) const override
    {
        throw controls::ResourceNotFoundError(ResourceID, ResourceType);
    }
};

// Plays the document tick by tick: the load composes frame 1 (the first
// tick, with AutoPlay off), NextFrame every later one.
class Renderer {
public:
    explicit Renderer(const RenderOptions& options) : m_Options(options)
    {
        m_Player.SetGIFFrameRenderedHandler([this](std::int16_t Frame) { m_Frame = Frame; });
        m_Player.SetBackColor(options.backColour);
    }

    void Run()
    {
        if (!m_Player.LoadFromFile(m_Options.file)) throw CommandError("cannot load " + m_Options.file + " as a GIF");
        // The client area is the logical screen, so the paint is 1:1.
        m_Surface.SetSize(m_Player.GIFWidth(), m_Player.GIFHeight());
        m_Player.Resize();
        const long ticks = m_Options.ticks.value_or(m_Player.GIFFrames());
        for (long tick = 1; tick <= ticks; ++tick) {
            if (tick > 1) m_Player.NextFrame();
            Report(tick);
        }
    }

private:
    void Report(long tick)
    {
        const gdi::StdPicture canvas = m_Player.GIFCurrentFrameImage();
        // The surfaces refuse a logical screen of no pixels or past their size limit: nothing was composed.
        if (!canvas) {
            throw CommandError("cannot compose " + m_Options.file + ": its logical screen is empty or too large");
        }
        char name[32];
        std::snprintf(name, sizeof name, "%03ld.canvas.ppm", tick);
        WriteCanvas(canvas, m_Options.dir / name);
        std::printf("tick %ld: frame %d, %d ms\n", tick, m_Frame, m_Timer.Interval());
    }

    const RenderOptions& m_Options;
    controls::MemoryControlSurface m_Surface{1, 1};
    controls::ManualFrameTimer m_Timer;
    NoResources m_Resources;
    controls::GIFPlayer m_Player{m_Surface, m_Timer, m_Resources};
    int m_Frame = 0;
};

}  // namespace

int RunRender(const Arguments& args)
{
    const RenderOptions options = ParseOptions(args);
    std::error_code ec;
    std::filesystem::create_directories(options.dir, ec);
    if (ec) throw CommandError("cannot create " + options.dir.string() + ": " + ec.message());
    Renderer(options).Run();
    return 0;
}

}  // namespace korvane::tools

// korvane-gif render: plays a GIF through the viewer's own playback engine,
// tick by tick, and writes the composed canvas after each tick.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "controls/gif_viewer/GIFPlayer.h"
#include "controls/gif_viewer/ManualFrameTimer.h"
#include "controls/gif_viewer/MemoryControlSurface.h"
#include "tools/gif/Commands.h"
#include "tools/support/GifInput.h"
#include "tools/support/ToolFiles.h"
#include "tools/support/ToolMain.h"

namespace korvane::tools {

namespace {

// RRGGBB as the viewer's colour value, red + green x 256 + blue x 65536.
gdi::OLE_COLOR ParseColour(const std::string& text)
{
    // Only the digits: stoul alone would also take a sign, spaces or "0x".
    const auto isHexDigit = [](unsigned char c) { return std::isxdigit(c) != 0; };
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), isHexDigit))
        throw UsageError("--back-colour wants six hex digits RRGGBB");
    const unsigned long rgb = std::stoul(text, nullptr, 16);
    return static_cast<gdi::OLE_COLOR>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

void WriteCanvas(const gdi::StdPicture& canvas, const std::filesystem::path& path)
{
    const std::string header =
        "P6\n" + std::to_string(canvas->Width()) + " " + std::to_string(canvas->Height()) + "\n255\n";
    std::vector<std::uint8_t> ppm(header.begin(), header.end());
    ppm.reserve(header.size() + canvas->Argb32().size() * 3);
    for (const std::uint32_t pixel : canvas->Argb32()) {
        ppm.insert(ppm.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                               static_cast<std::uint8_t>(pixel)});
    }
    WriteOutput(path.string(), ppm);
}

// The file's bytes, read by the tool so that "-" and the reasons of a failed
// read work as everywhere else, handed to the player as its one resource.
class FileResource : public platform::ResourceLookup {
public:
    explicit FileResource(std::vector<std::uint8_t> bytes) : m_Bytes(std::move(bytes)) {}
    std::vector<std::uint8_t> ResourceData(const std::string&, const std::string&) const override { return m_Bytes; }

private:
    std::vector<std::uint8_t> m_Bytes;
};

// Plays the document tick by tick: the load composes frame 1 (the first
// tick, with AutoPlay off), NextFrame every later one.
class Renderer {
public:
    Renderer(const RenderOptions& options, std::vector<std::uint8_t> bytes)
        : m_Options(options), m_File(DisplayName(options.file, false)), m_Resources(std::move(bytes))
    {
        m_Player.SetGIFFrameRenderedHandler([this](std::int16_t Frame) { m_Frame = Frame; });
        m_Player.SetBackColor(options.backColour.empty() ? controls::DefaultBackColor
                                                         : ParseColour(options.backColour));
    }

    void Run()
    {
        if (!m_Player.LoadFromResource("FILE", "GIF")) throw FileError(m_File, "cannot be loaded");
        // The client area is the logical screen, so the paint is 1:1.
        m_Surface.SetSize(m_Player.GIFWidth(), m_Player.GIFHeight());
        m_Player.Resize();
        const long ticks = m_Options.ticks > 0 ? m_Options.ticks : m_Player.GIFFrames();
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
            throw FileError(m_File, "cannot be composed: its logical screen is empty or too large");
        }
        char name[32];
        std::snprintf(name, sizeof name, "%03ld.canvas.ppm", tick);
        WriteCanvas(canvas, std::filesystem::path(m_Options.dir) / name);
        std::printf("tick %ld: frame %d, %d ms\n", tick, m_Frame, m_Timer.Interval());
    }

    const RenderOptions& m_Options;
    const std::string m_File;
    controls::MemoryControlSurface m_Surface{1, 1};
    controls::ManualFrameTimer m_Timer;
    FileResource m_Resources;
    controls::GIFPlayer m_Player{m_Surface, m_Timer, m_Resources};
    int m_Frame = 0;
};

}  // namespace

int RunRender(const RenderOptions& options)
{
    const platform::FileBytes file = ReadGifBytes(options.file);
    std::vector<std::uint8_t> bytes(file.begin(), file.end());
    if (!options.backColour.empty()) ParseColour(options.backColour);  // a usage error before any output
    MakeOutputFolder(options.dir);
    Renderer(options, std::move(bytes)).Run();
    return 0;
}

}  // namespace korvane::tools

// The GIF viewer's playback engine on a 1920 x 1080, 100-frame animation
// with transparency and mixed disposal: ticks per second, and the cost of one
// tick (composition plus painting what changed, at 1:1) as a ratio to a memcpy
// of the canvas bytes measured in the same run. The tick's parts are timed alone too, so a
// slow tick points at the operation that makes it slow.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <vector>

#include "controls/gif_viewer/GIFPlayer.h"
#include "controls/gif_viewer/ManualFrameTimer.h"
#include "controls/gif_viewer/MemoryControlSurface.h"
#include "tests/support/GifBuilder.h"

namespace {

namespace gdi = korvane::gdi;
using korvane::controls::GIFPlayer;
using korvane::imaging::cDIB;
using korvane::imaging::cGIF;
using namespace korvane::test_support;

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Frames = 100;
constexpr int Passes = 5;
constexpr std::uint8_t Transparent = 9;
constexpr std::size_t CanvasBytes = std::size_t{Width} * Height * 4;

// A fixed linear congruential sequence, so every run plays the same animation.
class Sequence {
public:
    int Next(int below)
    {
        m_State = m_State * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((m_State >> 33) % static_cast<std::uint64_t>(below));
    }

private:
    std::uint64_t m_State = 0x4B4F5256414E45ULL;
};

// Frame 1 covers the screen; the others are rectangles of a quarter to all of
// it, every second one with about a third of its pixels transparent, the
// disposals going round 0, 1, 2, 3.
GifFrameRecipe MakeFrame(int k, Sequence& random)
{
    GifFrameRecipe frame;
    const bool full = k == 1 || k % 10 == 0;
    frame.Width = full ? Width : Width / 4 + random.Next(Width * 3 / 4 + 1);
    frame.Height = full ? Height : Height / 4 + random.Next(Height * 3 / 4 + 1);
    frame.Left = random.Next(Width - frame.Width + 1);
    frame.Top = random.Next(Height - frame.Height + 1);
    frame.Disposal = k == 1 ? 1 : k % 4;
    frame.Delay = 4;
    const bool holes = k > 1 && k % 2 == 0;
    if (holes) frame.Transparent = Transparent;
    frame.Indices.resize(static_cast<std::size_t>(frame.Width) * frame.Height);
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const bool hole = holes && ((x >> 3) + (y >> 3)) % 3 == 0;
            frame.Indices[static_cast<std::size_t>(y) * frame.Width + x] =
                hole ? Transparent : static_cast<std::uint8_t>(((x >> 4) + (y >> 4) + k) % 8);
        }
    }
    return frame;
}

std::vector<std::uint8_t> MakeAnimation()
{
    GifRecipe recipe;
    recipe.Width = Width;
    recipe.Height = Height;
    recipe.Palette = TestPalette();
    Sequence random;
    for (int k = 1; k <= Frames; ++k)
        recipe.Frames.push_back(MakeFrame(k, random));
    return EncodeGif(recipe);
}

double Milliseconds(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class NoResources : public korvane::controls::ResourceLookup {
public:
    std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                           const std::string& ResourceType) const override
    {
        throw korvane::controls::ResourceNotFoundError(ResourceID, ResourceType);
    }
};

struct Timing {
    double perTick = 1e300;    // ms, best pass
    double perMemcpy = 1e300;  // ms, best of the same number of copies
};

Timing TimeTicks(const std::vector<std::uint8_t>& gif, const std::string& path)
{
    WriteBytes(path, gif);
    korvane::controls::MemoryControlSurface surface(Width, Height);
    korvane::controls::ManualFrameTimer timer;
    NoResources resources;
    GIFPlayer player(surface, timer, resources);
    if (!player.LoadFromFile(path)) throw std::runtime_error("the generated animation does not load");
    std::vector<std::uint8_t> from(CanvasBytes, 1), to(CanvasBytes);
    Timing t;
    for (int pass = 0; pass < Passes; ++pass) {
        t.perTick = std::min(t.perTick, Milliseconds([&] {
                                            for (int i = 0; i < Frames; ++i)
                                                player.NextFrame();
                                        }) / Frames);
        t.perMemcpy = std::min(t.perMemcpy, Milliseconds([&] {
                                                for (int i = 0; i < Frames; ++i) {
                                                    std::memcpy(to.data(), from.data(), CanvasBytes);
                                                    from[static_cast<std::size_t>(i)] = to[CanvasBytes - 1 - i];
                                                }
                                            }) / Frames);
    }
    return t;
}

double Best(const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < 10; ++i)
        best = std::min(best, Milliseconds(f));
    return best;
}

// The operations of one tick alone, on full-screen surfaces.
void TimeParts(const std::vector<std::uint8_t>& gif, double memcpyMs)
{
    cGIF doc;
    doc.LoadFromStream(gif);
    cDIB canvas, back, window;
    canvas.Create(Width, Height, 32);
    back.Create(Width, Height, 32);
    window.Create(Width, Height, 32);
    const std::int16_t opaque = 1;  // full screen, no transparency
    const std::int16_t holes = 10;  // full screen, transparent pixels
    const auto report = [&](const char* name, double ms) {
        std::printf("  %-52s %8.3f ms  %5.2f memcpy\n", name, ms, ms / memcpyMs);
    };
    report("LoadBlt back buffer -> canvas (32-bit BitBlt)", Best([&] { canvas.LoadBlt(back.hDC()); }));
    report("FrameDraw full screen, opaque (8-bit SRCCOPY)", Best([&] { doc.FrameDraw(canvas.hDC(), opaque); }));
    report("FrameDraw full screen, transparent (one mask pass)", Best([&] { doc.FrameDraw(canvas.hDC(), holes); }));
    report("Paint 1:1 (32-bit StretchBlt SRCCOPY)",
           Best([&] { canvas.Stretch(window.hDC(), 0, 0, Width, Height, 0, 0, 0, 0, gdi::SRCCOPY, 3); }));
}

int Run()
{
    const auto encodeStart = std::chrono::steady_clock::now();
    const std::vector<std::uint8_t> gif = MakeAnimation();
    std::printf("animation: %d x %d, %d frames, %zu bytes (encoded in %.0f ms)\n", Width, Height, Frames, gif.size(),
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - encodeStart).count());
    const Timing t = TimeTicks(gif, "bench_viewer.gif");
    const double ratio = t.perTick / t.perMemcpy;
    std::printf(
        "tick (composition + 1:1 paint): %.3f ms, %.0f ticks/s | memcpy %zu B %.3f ms | ratio %.2f "
        "(target <= 4: %s)\n",
        t.perTick, 1000.0 / t.perTick, CanvasBytes, t.perMemcpy, ratio, ratio <= 4.0 ? "met" : "MISSED");
    std::printf("parts of a tick, alone:\n");
    TimeParts(gif, t.perMemcpy);
    std::remove("bench_viewer.gif");
    return 0;
}

}  // namespace

int main()
{
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_viewer: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "bench_viewer: failed\n");
    }
    return 1;
}

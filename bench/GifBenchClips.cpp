#include "GifBenchClips.h"

#include <cmath>
#include <random>

namespace korvane::bench {
namespace {

std::vector<std::uint8_t> GreyRamp()
{
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 256; ++i) {
        palette.insert(palette.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(i * 7)});
    }
    return palette;
}

ClipFrame FullFrame(std::int32_t width, std::int32_t height)
{
    ClipFrame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Indices.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return frame;
}

}  // namespace

std::uint64_t Clip::PixelCount() const
{
    std::uint64_t n = 0;
    for (const ClipFrame& f : Frames)
        n += static_cast<std::uint64_t>(f.Width) * static_cast<std::uint64_t>(f.Height);
    return n;
}

Clip PhotoClip()
{
    Clip clip{"photo 1920x1080", 1920, 1080, GreyRamp(), {}};
    ClipFrame frame = FullFrame(1920, 1080);
    std::mt19937 random(1);
    for (std::int32_t y = 0; y < 1080; ++y) {
        for (std::int32_t x = 0; x < 1920; ++x) {
            const double shade = 128 + 70 * std::sin(x * 0.004 + y * 0.002) + 45 * std::cos(y * 0.006 - x * 0.001) +
                                 20 * std::sin((x + y) * 0.02);
            const int grain = static_cast<int>(random() % 5) - 2;
            const int v = static_cast<int>(shade) + grain;
            frame.Indices[static_cast<std::size_t>(y) * 1920 + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(v < 0     ? 0
                                          : v > 255 ? 255
                                                    : v);
        }
    }
    clip.Frames.push_back(std::move(frame));
    return clip;
}

Clip NoiseClip()
{
    Clip clip{"noise 1000x1000", 1000, 1000, GreyRamp(), {}};
    ClipFrame frame = FullFrame(1000, 1000);
    std::mt19937 random(2);
    for (auto& b : frame.Indices)
        b = static_cast<std::uint8_t>(random());
    clip.Frames.push_back(std::move(frame));
    return clip;
}

Clip AnimationClip()
{
    Clip clip{"animation 500x500x80", 500, 500, GreyRamp(), {}};
    for (int f = 0; f < 80; ++f) {
        ClipFrame frame = FullFrame(500, 500);
        frame.Delay = 4;
        const int cx = 250 + static_cast<int>(150 * std::cos(f * 0.08));
        const int cy = 250 + static_cast<int>(150 * std::sin(f * 0.08));
        for (std::int32_t y = 0; y < 500; ++y) {
            for (std::int32_t x = 0; x < 500; ++x) {
                const int dx = x - cx;
                const int dy = y - cy;
                const int rings = (dx * dx + dy * dy) / 300;
                const int wash = (x + 2 * y + 3 * f) / 24;
                frame.Indices[static_cast<std::size_t>(y) * 500 + static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(rings % 2 == 0 ? 16 + rings % 64 : 128 + wash % 96);
            }
        }
        clip.Frames.push_back(std::move(frame));
    }
    return clip;
}

Clip FlatClip()
{
    Clip clip{"flat 10000x1000", 10000, 1000, GreyRamp(), {}};
    ClipFrame frame = FullFrame(10000, 1000);
    std::fill(frame.Indices.begin(), frame.Indices.end(), 42);
    clip.Frames.push_back(std::move(frame));
    return clip;
}

Clip ScreencastClip()
{
    constexpr std::uint8_t kClear = 255;
    Clip clip{"screencast 500x500x80", 500, 500, GreyRamp(), {}};
    std::mt19937 random(3);
    // A desktop: flat panels, a title bar and lines of "text".
    ClipFrame desktop = FullFrame(500, 500);
    for (std::int32_t y = 0; y < 500; ++y) {
        for (std::int32_t x = 0; x < 500; ++x) {
            std::uint8_t v = y < 24 ? 30 : x < 120 ? 60 : 200;
            if (y > 40 && x > 140 && (y / 6) % 3 == 0 && random() % 3 == 0) v = 5;
            desktop.Indices[static_cast<std::size_t>(y) * 500 + static_cast<std::size_t>(x)] = v;
        }
    }
    desktop.Delay = 10;
    clip.Frames.push_back(std::move(desktop));
    for (int f = 1; f < 80; ++f) {
        ClipFrame frame =
            FullFrame(16 + static_cast<std::int32_t>(random() % 120), 8 + static_cast<std::int32_t>(random() % 60));
        frame.Left = static_cast<std::int32_t>(random() % static_cast<unsigned>(500 - frame.Width));
        frame.Top = static_cast<std::int32_t>(random() % static_cast<unsigned>(500 - frame.Height));
        frame.Disposal = static_cast<std::uint8_t>(1 + f % 3);
        frame.Transparent = true;
        frame.TransparentIndex = kClear;
        frame.Delay = 10;
        for (std::int32_t y = 0; y < frame.Height; ++y) {
            for (std::int32_t x = 0; x < frame.Width; ++x) {
                // A cursor-like shape and a changed line of text; the rest stays.
                std::uint8_t v = kClear;
                if (y < 3 || (y / 4) % 2 == 0) v = (x + y + f) % 7 == 0 ? 5 : v;
                if (x < 10 && y < x + 4) v = 0;
                frame.Indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.Width) +
                              static_cast<std::size_t>(x)] = v;
            }
        }
        clip.Frames.push_back(std::move(frame));
    }
    return clip;
}

Clip SmallFramesClip()
{
    Clip clip{"small frames 32x24x200", 32, 24, GreyRamp(), {}};
    std::mt19937 random(4);
    for (int f = 0; f < 200; ++f) {
        ClipFrame frame = FullFrame(32, 24);
        frame.Delay = 2;
        frame.Transparent = f % 2 == 1;
        frame.TransparentIndex = 0;
        for (std::int32_t y = 0; y < 24; ++y) {
            for (std::int32_t x = 0; x < 32; ++x) {
                const int sprite = (x - 16) * (x - 16) + (y - 12) * (y - 12) < 60 + f % 40 ? 1 + (x + f) % 8 : 0;
                frame.Indices[static_cast<std::size_t>(y) * 32 + static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(sprite != 0 ? sprite * 16 + static_cast<int>(random() % 4)
                                                          : (x / 4 + y / 3) % 4);
            }
        }
        for (int i = 0; i < 256; ++i) {
            frame.LocalPalette.insert(frame.LocalPalette.end(),
                                      {static_cast<std::uint8_t>(i + f), static_cast<std::uint8_t>(3 * i - f),
                                       static_cast<std::uint8_t>(255 - i)});
        }
        clip.Frames.push_back(std::move(frame));
    }
    return clip;
}

}  // namespace korvane::bench

// The whole-surface operations the GIF viewer performs every frame, on a
// 1920 x 1080 canvas, each timed next to a plain memcpy of the same bytes in
// the same run. Prints best-of-N times and the ratio to memcpy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/dib/cDIB.h"

namespace {

using korvane::imaging::cDIB;
namespace gdi = korvane::gdi;

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Rounds = 25;

// Best of `Rounds` runs, in milliseconds; the operation and its baseline
// alternate so both see the same machine state.
struct Timing {
    double operation = 1e300;
    double baseline = 1e300;
};

double Milliseconds(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The baseline copies `bytes` from `from` to `to`: the very pixel memory the
// operation reads and writes, so both meet the same caches.
Timing Measure(const std::function<void()>& operation, std::uint8_t* to, const std::uint8_t* from, std::size_t bytes)
{
    Timing t;
    for (int i = 0; i < Rounds; ++i) {
        t.operation = std::min(t.operation, Milliseconds(operation));
        t.baseline = std::min(t.baseline, Milliseconds([&] { std::memcpy(to, from, bytes); }));
    }
    return t;
}

void Report(const char* name, const Timing& t, std::size_t bytes, double target)
{
    const double ratio = t.operation / t.baseline;
    std::printf("%-44s %8.3f ms | memcpy %9zu B %8.3f ms | ratio %5.2f", name, t.operation, bytes, t.baseline, ratio);
    if (target > 0) std::printf(" (target <= %.1f: %s)", target, ratio <= target ? "met" : "MISSED");
    std::printf("\n");
}

std::size_t Bytes32(int width, int height)
{
    return static_cast<std::size_t>(width) * height * 4;
}

void Fill(cDIB& d, std::uint8_t seed)
{
    for (int i = 0; i < d.size(); ++i)
        d.lpBits()[i] = static_cast<std::uint8_t>(i * 31 + seed);
}

void BenchLoadBlt()
{
    cDIB canvas, back;
    canvas.Create(Width, Height, 32);
    back.Create(Width, Height, 32);
    Fill(back, 3);
    Report("LoadBlt 32-bit 1920x1080",
           Measure([&] { canvas.LoadBlt(back.hDC()); }, canvas.lpBits(), back.lpBits(), Bytes32(Width, Height)),
           Bytes32(Width, Height), 1.5);
}

void BenchStretchOneToOne()
{
    cDIB canvas, window;
    canvas.Create(Width, Height, 32);
    window.Create(Width, Height, 32);
    Fill(canvas, 5);
    Report("Stretch SRCCOPY 1:1 32-bit 1920x1080",
           Measure([&] { canvas.Stretch(window.hDC(), 0, 0, Width, Height); }, window.lpBits(), canvas.lpBits(),
                   Bytes32(Width, Height)),
           Bytes32(Width, Height), 1.5);
}

// The canvas stretched into a window of another size; the baseline copies
// the window's bytes from a plain buffer.
void BenchStretchScaled(const char* name, int dstW, int dstH)
{
    cDIB canvas, window;
    canvas.Create(Width, Height, 32);
    window.Create(dstW, dstH, 32);
    Fill(canvas, 7);
    const std::vector<std::uint8_t> plain(Bytes32(dstW, dstH), 9);
    Report(
        name,
        Measure([&] { canvas.Stretch(window.hDC(), 0, 0, dstW, dstH); }, window.lpBits(), plain.data(), plain.size()),
        plain.size(), 0);
}

// An 8-bit frame with a transparent index: mask with AND, image with OR.
void BenchTransparentFrame()
{
    cDIB image, mask, canvas, back;
    image.Create(Width, Height, 8);
    mask.Create(Width, Height, 1);
    canvas.Create(Width, Height, 32);
    back.Create(Width, Height, 32);
    std::vector<std::uint8_t> palette(1024);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<std::uint8_t>(i * 7);
    palette[0] = palette[1] = palette[2] = 0;  // index 0 transparent: black in the image
    image.SetPalette(palette);
    mask.SetPalette({0, 0, 0, 0, 255, 255, 255, 0});
    Fill(image, 11);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if (image.lpBits()[y * image.BytesPerScanline() + x] == 0)
                mask.lpBits()[y * mask.BytesPerScanline() + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    Fill(canvas, 13);
    const auto draw = [&] {
        mask.Stretch(canvas.hDC(), 0, 0, Width, Height, 0, 0, 0, 0, gdi::SRCAND);
        image.Stretch(canvas.hDC(), 0, 0, Width, Height, 0, 0, 0, 0, gdi::SRCPAINT);
    };
    Report("8-bit frame SRCAND+SRCPAINT onto 32-bit 1:1",
           Measure(draw, canvas.lpBits(), back.lpBits(), Bytes32(Width, Height)), Bytes32(Width, Height), 4.0);
}

}  // namespace

int main()
{
    std::printf("bench_dib: best of %d runs each, memcpy of the same bytes in the same run\n", Rounds);
    BenchLoadBlt();
    BenchStretchOneToOne();
    BenchStretchScaled("Stretch SRCCOPY 1920x1080 -> 2560x1440", 2560, 1440);
    BenchStretchScaled("Stretch SRCCOPY 1920x1080 -> 1280x720", 1280, 720);
    BenchTransparentFrame();
    return 0;
}

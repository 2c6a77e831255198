// GIF decode and encode against giflib in the same run: cGIF::LoadFromStream
// against DGifSlurp from memory, cGIF::Save against EGifPutLine writing the
// same indices to a file of the same kind (tmpfs). Runs alternate between the
// two; each figure is the median of several repetitions. Decoded indices are
// checked against giflib's before anything is timed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "GifBenchClips.h"
#include "imaging/gif/cGIF.h"
#include "tests/support/GiflibMemory.h"

namespace {

using korvane::bench::Clip;
using korvane::bench::ClipFrame;
using korvane::imaging::cGIF;
using Bytes = std::vector<std::uint8_t>;

const std::string kOursPath = "/dev/shm/korvane-bench-ours.gif";
const std::string kGiflibPath = "/dev/shm/korvane-bench-giflib.gif";

void Check(bool ok, const std::string& what)
{
    if (!ok) throw std::runtime_error(what);
}

// The clip written by giflib: loop extension, a control extension per frame,
// rows by EGifPutLine.
void GiflibWrite(GifFileType* gif, const Clip& clip)
{
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        map->Colors[i] = {clip.Palette[3 * i], clip.Palette[3 * i + 1], clip.Palette[3 * i + 2]};
    }
    EGifSetGifVersion(gif, true);
    Check(EGifPutScreenDesc(gif, clip.ScreenWidth, clip.ScreenHeight, 8, 0, map) == GIF_OK, "screen");
    GifFreeMapObject(map);
    const GifByteType loop[] = {1, 0, 0};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, 3, loop);
    EGifPutExtensionTrailer(gif);
    for (const ClipFrame& f : clip.Frames) {
        GraphicsControlBlock gcb{f.Disposal, false, f.Delay, f.Transparent ? f.TransparentIndex : NO_TRANSPARENT_COLOR};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK, "control");
        Check(EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, false, nullptr) == GIF_OK, "descriptor");
        for (std::int32_t y = 0; y < f.Height; ++y) {
            auto* row = const_cast<GifByteType*>(f.Indices.data() + static_cast<std::size_t>(y) * f.Width);
            Check(EGifPutLine(gif, row, f.Width) == GIF_OK, "line");
        }
    }
}

Bytes GiflibFile(const Clip& clip)
{
    Bytes file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, korvane::test::GiflibAppendMemory, &error);
    GiflibWrite(gif, clip);
    EGifCloseFile(gif, &error);
    return file;
}

void GiflibSave(const Clip& clip)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(kGiflibPath.c_str(), false, &error);
    Check(gif != nullptr, "giflib open");
    GiflibWrite(gif, clip);
    Check(EGifCloseFile(gif, &error) == GIF_OK, "giflib close");
}

// Decodes with giflib and hands each frame's raster to `use`.
void GiflibDecode(const Bytes& file, const std::function<void(const SavedImage&)>& use)
{
    korvane::test::GiflibMemoryInput input{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, korvane::test::GiflibReadMemory, &error);
    Check(gif != nullptr && DGifSlurp(gif) == GIF_OK, "giflib decode");
    for (int i = 0; i < gif->ImageCount; ++i)
        use(gif->SavedImages[i]);
    DGifCloseFile(gif, &error);
}

void CheckSameIndices(const Bytes& file, const Clip& clip)
{
    cGIF doc;
    Check(doc.LoadFromStream(file), "LoadFromStream");
    Check(doc.FramesCount() == static_cast<std::int16_t>(clip.Frames.size()), "frame count");
    std::int16_t n = 0;
    GiflibDecode(file, [&](const SavedImage& image) {
        const auto dib = doc.FrameDIBXOR(++n);
        const auto& d = image.ImageDesc;
        Check(dib->Width() == d.Width && dib->Height() == d.Height, "frame size");
        for (int y = 0; y < d.Height; ++y) {
            Check(std::memcmp(dib->lpBits() + y * dib->BytesPerScanline(), image.RasterBits + y * d.Width,
                              static_cast<std::size_t>(d.Width)) == 0,
                  "indices differ from giflib in frame " + std::to_string(n));
        }
    });
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BuildDocument(cGIF& doc, const Clip& clip)
{
    doc.Destroy();
    for (std::size_t i = 0; i < clip.Frames.size(); ++i) {
        const ClipFrame& f = clip.Frames[i];
        const auto n = static_cast<std::int16_t>(i + 1);
        doc.FrameInsert(n, static_cast<std::int16_t>(f.Width), static_cast<std::int16_t>(f.Height));
        const auto dib = doc.FrameDIBXOR(n);
        for (std::int32_t y = 0; y < f.Height; ++y) {
            std::memcpy(dib->lpBits() + y * dib->BytesPerScanline(),
                        f.Indices.data() + static_cast<std::size_t>(y) * f.Width, static_cast<std::size_t>(f.Width));
        }
        doc.SetFrameLeft(n, static_cast<std::int16_t>(f.Left));
        doc.SetFrameTop(n, static_cast<std::int16_t>(f.Top));
        doc.SetFrameDelay(n, f.Delay);
        doc.SetFrameDisposalMethod(n, f.Disposal);
        doc.SetFrameUseTransparentColor(n, f.Transparent);
        doc.SetFrameTransparentColorIndex(n, f.TransparentIndex);
    }
    doc.SetScreenWidth(static_cast<std::int16_t>(clip.ScreenWidth));
    doc.SetScreenHeight(static_cast<std::int16_t>(clip.ScreenHeight));
    doc.SetAnimationLoops(0);
    doc.SetGlobalPaletteExists(true);
    doc.SetGlobalPaletteEntries(256);
    auto palette = doc.lpGlobalPalette();
    for (std::size_t i = 0; i < 256; ++i) {
        palette[4 * i] = clip.Palette[3 * i + 2];
        palette[4 * i + 1] = clip.Palette[3 * i + 1];
        palette[4 * i + 2] = clip.Palette[3 * i];
    }
}

double Seconds(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Pair {
    double ours;
    double giflib;
};

// Alternates the two runs `reps` times after one warm-up each.
Pair Race(int reps, const std::function<void()>& ours, const std::function<void()>& giflib)
{
    ours();
    giflib();
    std::vector<double> a;
    std::vector<double> b;
    for (int i = 0; i < reps; ++i) {
        a.push_back(Seconds(ours));
        b.push_back(Seconds(giflib));
    }
    return {Median(a), Median(b)};
}

double Report(const char* what, const Clip& clip, const Pair& t)
{
    const double mpx = static_cast<double>(clip.PixelCount()) / 1e6;
    const double ratio = t.giflib / t.ours;
    std::printf("%-7s %-24s ours %9.1f MB/s  giflib %8.1f MB/s  ratio %6.2fx\n", what, clip.Name.c_str(), mpx / t.ours,
                mpx / t.giflib, ratio);
    return ratio;
}

int Reps(const Clip& clip)
{
    return clip.PixelCount() > 8'000'000 ? 7 : 11;
}

}  // namespace

int main()
{
    const std::vector<Clip> clips = {korvane::bench::PhotoClip(), korvane::bench::NoiseClip(),
                                     korvane::bench::AnimationClip(), korvane::bench::FlatClip(),
                                     korvane::bench::ScreencastClip()};
    std::vector<double> decodeRatios;
    std::vector<double> encodeRatios;
    for (const Clip& clip : clips) {
        const Bytes file = GiflibFile(clip);
        CheckSameIndices(file, clip);
        cGIF doc;
        const Pair decode = Race(
            Reps(clip), [&] { Check(doc.LoadFromStream(file), "LoadFromStream"); },
            [&] { GiflibDecode(file, [](const SavedImage&) {}); });
        decodeRatios.push_back(Report("decode", clip, decode));

        cGIF source;
        BuildDocument(source, clip);
        Check(source.Save(kOursPath), "Save");
        CheckSameIndices(ReadFile(kOursPath), clip);
        const Pair encode = Race(
            Reps(clip), [&] { Check(source.Save(kOursPath), "Save"); }, [&] { GiflibSave(clip); });
        encodeRatios.push_back(Report("encode", clip, encode));
    }
    const auto geomean = [](const std::vector<double>& r) { return std::cbrt(r[0] * r[1] * r[2]); };
    std::printf("decode photo/noise/animation geometric mean %.2fx (target 2.5x); flat %.2fx (target 40x)\n",
                geomean(decodeRatios), decodeRatios[3]);
    std::printf("encode photo/noise/animation geometric mean %.2fx (target 1.3x each); flat %.2fx (target 1.4x)\n",
                geomean(encodeRatios), encodeRatios[3]);
    std::remove(kOursPath.c_str());
    std::remove(kGiflibPath.c_str());
    return 0;
}

// GIF decode and encode against giflib, and decode against Wuffs when its
// sources are beside the repository, in the same run: cGIF::LoadFromStream
// against DGifSlurp and Wuffs' decoder from memory (each decoding the same
// bytes to palette indices), cGIF::Save against EGifPutLine writing the same
// indices to a file of the same kind (tmpfs). Each figure is the median of
// several samples of thread CPU time; the racers take turns, their order
// rotated every round. Decoded indices are checked against giflib's (and
// Wuffs') before anything is timed. The real files of the shared corpus, when
// present, are raced too.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <time.h>
#include <vector>

#include <gif_lib.h>

#include "GifBenchClips.h"
#ifdef KORVANE_BENCH_WUFFS
#include "WuffsPeer.h"
#endif
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
    for (std::size_t i = 0; i < 256; ++i) {
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
        ColorMapObject* local = nullptr;
        if (!f.LocalPalette.empty()) {
            local = GifMakeMapObject(256, nullptr);
            for (std::size_t i = 0; i < 256; ++i)
                local->Colors[i] = {f.LocalPalette[3 * i], f.LocalPalette[3 * i + 1], f.LocalPalette[3 * i + 2]};
        }
        const int described = EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, false, local);
        GifFreeMapObject(local);
        Check(described == GIF_OK, "descriptor");
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
    GifFileType* gif = EGifOpen(&file, korvane::test_support::GiflibAppendMemory, &error);
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
    korvane::test_support::GiflibMemoryInput input{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, korvane::test_support::GiflibReadMemory, &error);
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
            Check(std::memcmp(dib->lpBits() + std::ptrdiff_t{y} * dib->BytesPerScanline(),
                              image.RasterBits + std::ptrdiff_t{y} * d.Width, static_cast<std::size_t>(d.Width)) == 0,
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
            std::memcpy(dib->lpBits() + std::ptrdiff_t{y} * dib->BytesPerScanline(),
                        f.Indices.data() + static_cast<std::size_t>(y) * f.Width, static_cast<std::size_t>(f.Width));
        }
        doc.SetFrameLeft(n, static_cast<std::int16_t>(f.Left));
        doc.SetFrameTop(n, static_cast<std::int16_t>(f.Top));
        doc.SetFrameDelay(n, f.Delay);
        doc.SetFrameDisposalMethod(n, f.Disposal);
        doc.SetFrameUseTransparentColor(n, f.Transparent);
        doc.SetFrameTransparentColorIndex(n, f.TransparentIndex);
        if (!f.LocalPalette.empty()) {
            doc.SetLocalPaletteUsed(n, true);
            doc.SetLocalPaletteEntries(n, 256);
            auto local = doc.lpLocalPalette(n);
            for (std::size_t i = 0; i < 256; ++i) {
                local[4 * i] = f.LocalPalette[3 * i + 2];
                local[4 * i + 1] = f.LocalPalette[3 * i + 1];
                local[4 * i + 2] = f.LocalPalette[3 * i];
            }
        }
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

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

using Run = std::function<void()>;

// Seconds of thread CPU time per run, the median of `samples` samples each.
// A sample repeats a run often enough to last about two milliseconds, so
// small files are timed above the clock's noise; every racer repeats as
// often. Round r starts with racer r (mod count).
std::vector<double> Race(const std::vector<Run>& racers, int samples)
{
    for (const Run& run : racers)
        run();  // warm-up
    const double once = [&] {
        const double start = ThreadSeconds();
        racers[0]();
        return ThreadSeconds() - start;
    }();
    const int repeat = std::clamp(static_cast<int>(0.002 / std::max(once, 1e-9)), 1, 10000);
    std::vector<std::vector<double>> times(racers.size());
    for (int r = 0; r < samples; ++r) {
        for (std::size_t k = 0; k < racers.size(); ++k) {
            const std::size_t who = (k + static_cast<std::size_t>(r)) % racers.size();
            const double start = ThreadSeconds();
            for (int i = 0; i < repeat; ++i)
                racers[who]();
            times[who].push_back((ThreadSeconds() - start) / repeat);
        }
    }
    std::vector<double> medians;
    medians.reserve(times.size());
    for (const auto& t : times)
        medians.push_back(Median(t));
    return medians;
}

int Samples(std::uint64_t pixels)
{
    return pixels > 8'000'000 ? 7 : 11;
}

#ifdef KORVANE_BENCH_WUFFS
bool WuffsDecode(const Bytes& file)
{
    return korvane_wuffs_decode(file.data(), file.size(), nullptr, nullptr) >= 0;
}

// Wuffs composes every frame on one canvas: each frame's rectangle must hold
// the clip's indices right after that frame is decoded.
void CheckWuffsIndices(const Bytes& file, const Clip& clip)
{
    struct Context {
        const Clip* clip = nullptr;
        std::size_t frame = 0;
        bool same = true;
    } context{&clip};
    const auto compare = [](void* raw, const std::uint8_t* canvas, std::uint32_t width, std::uint32_t x0,
                            std::uint32_t y0, std::uint32_t x1, std::uint32_t y1) {
        auto& c = *static_cast<Context*>(raw);
        const ClipFrame& f = c.clip->Frames.at(c.frame++);
        if (x1 - x0 != static_cast<std::uint32_t>(f.Width) || y1 - y0 != static_cast<std::uint32_t>(f.Height)) {
            c.same = false;
            return;
        }
        for (std::uint32_t y = y0; y < y1; ++y) {
            if (std::memcmp(canvas + static_cast<std::size_t>(y) * width + x0,
                            f.Indices.data() + static_cast<std::size_t>(y - y0) * static_cast<std::size_t>(f.Width),
                            x1 - x0) != 0)
                c.same = false;
        }
    };
    const int frames = korvane_wuffs_decode(file.data(), file.size(), compare, &context);
    Check(frames == static_cast<int>(clip.Frames.size()) && context.same, "Wuffs indices differ in " + clip.Name);
}
#endif

struct Decoded {
    double ours = 0;
    double giflib = 0;
    std::optional<double> wuffs;
};

Decoded RaceDecoders(const Bytes& file, std::uint64_t pixels)
{
    cGIF doc;
    std::vector<Run> racers{[&] { Check(doc.LoadFromStream(file), "LoadFromStream"); },
                            [&] { GiflibDecode(file, [](const SavedImage&) {}); }};
#ifdef KORVANE_BENCH_WUFFS
    const bool wuffs = WuffsDecode(file);
    if (wuffs) racers.emplace_back([&] { Check(WuffsDecode(file), "Wuffs decode"); });
#endif
    const std::vector<double> t = Race(racers, Samples(pixels));
    Decoded d{t[0], t[1], {}};
    if (t.size() > 2) d.wuffs = t[2];
    return d;
}

void PrintDecode(const std::string& name, std::uint64_t pixels, const Decoded& d, const char* mark = "")
{
    const double mpx = static_cast<double>(pixels) / 1e6;
    std::printf("decode  %-34s ours %8.1f  giflib %7.1f", name.c_str(), mpx / d.ours, mpx / d.giflib);
    if (d.wuffs) std::printf("  wuffs %7.1f", mpx / *d.wuffs);
    std::printf(" Mpx/s   vs giflib %6.2fx", d.giflib / d.ours);
    if (d.wuffs) std::printf("  vs wuffs %5.2fx%s", *d.wuffs / d.ours, mark);
    std::printf("\n");
}

double PrintEncode(const Clip& clip, double ours, double giflib)
{
    const double mpx = static_cast<double>(clip.PixelCount()) / 1e6;
    std::printf("encode  %-34s ours %8.1f  giflib %7.1f Mpx/s   vs giflib %6.2fx\n", clip.Name.c_str(), mpx / ours,
                mpx / giflib, giflib / ours);
    return giflib / ours;
}

// Pixels of all frames as giflib reads them; 0 when giflib cannot.
std::uint64_t GiflibPixels(const Bytes& file)
{
    korvane::test_support::GiflibMemoryInput input{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, korvane::test_support::GiflibReadMemory, &error);
    if (gif == nullptr) return 0;
    std::uint64_t pixels = 0;
    if (DGifSlurp(gif) == GIF_OK) {
        for (int i = 0; i < gif->ImageCount; ++i)
            pixels += static_cast<std::uint64_t>(gif->SavedImages[i].ImageDesc.Width) *
                      static_cast<std::uint64_t>(gif->SavedImages[i].ImageDesc.Height);
    }
    DGifCloseFile(gif, &error);
    return pixels;
}

// Only names containing `only` are raced (all when it is empty).
void RaceCorpus(const std::string& only)
{
#ifdef KORVANE_BENCH_CORPUS
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(KORVANE_BENCH_CORPUS))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::printf("real files (* above 100,000 pixels)\n");
    for (const auto& path : files) {
        if (path.filename().string().find(only) == std::string::npos) continue;
        const Bytes file = ReadFile(path.string());
        const std::uint64_t pixels = GiflibPixels(file);
        cGIF probe;
        if (pixels == 0 || !probe.LoadFromStream(file)) continue;  // giflib refuses it: nothing to compare
        PrintDecode(path.filename().string(), pixels, RaceDecoders(file, pixels), pixels > 100'000 ? " *" : "");
    }
#endif
}

// An argument races only the clips and files whose names contain it;
// "--write DIR" writes each clip as a GIF file (photo.gif, ...) into DIR for
// the whole-program benchmark instead.
int RunBenchmarks(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    const std::vector<Clip> clips = {korvane::bench::PhotoClip(),      korvane::bench::NoiseClip(),
                                     korvane::bench::AnimationClip(),  korvane::bench::FlatClip(),
                                     korvane::bench::ScreencastClip(), korvane::bench::SmallFramesClip()};
    if (only == "--write" && argc == 3) {
        for (const Clip& clip : clips) {
            const Bytes file = GiflibFile(clip);
            std::ofstream(std::string(argv[2]) + "/" + clip.Name.substr(0, clip.Name.find(' ')) + ".gif",
                          std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        }
        return 0;
    }
    std::vector<double> encodeRatios;
    for (const Clip& clip : clips) {
        if (clip.Name.find(only) == std::string::npos) continue;
        const Bytes file = GiflibFile(clip);
        CheckSameIndices(file, clip);
#ifdef KORVANE_BENCH_WUFFS
        CheckWuffsIndices(file, clip);
#endif
        PrintDecode(clip.Name, clip.PixelCount(), RaceDecoders(file, clip.PixelCount()));

        cGIF source;
        BuildDocument(source, clip);
        Check(source.Save(kOursPath), "Save");
        CheckSameIndices(ReadFile(kOursPath), clip);
        const std::vector<double> encode = Race(
            {[&] { Check(source.Save(kOursPath), "Save"); }, [&] { GiflibSave(clip); }}, Samples(clip.PixelCount()));
        encodeRatios.push_back(PrintEncode(clip, encode[0], encode[1]));
    }
    RaceCorpus(only);
    std::printf(
        "targets: decode at least 1.3x Wuffs on every file; encode at least 1.6x giflib on photo, noise, "
        "animation\n");
    std::remove(kOursPath.c_str());
    std::remove(kGiflibPath.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return RunBenchmarks(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_gif: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "bench_gif: failed\n");
    }
    return 1;
}

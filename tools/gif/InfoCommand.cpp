// korvane-gif info: the loaded document's fields, as text or as JSON. Both
// forms come from one walk over the fields, so they always say the same.
#include <algorithm>
#include <charconv>
#include <concepts>
#include <cstdio>
#include <cstring>
#include <exception>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"

namespace korvane::tools {

namespace {

using imaging::cGIF;
using imaging::FrameRecord;
using nlohmann::json;

// How many colours the palette in force has.
std::size_t ColourCount(const FrameRecord& frame)
{
    return static_cast<std::size_t>(std::clamp<int>(frame.LocalPaletteEntries, 0, 256));
}

// The palette in force: its first LocalPaletteEntries colours as "rrggbb".
template <class Each>
void ForEachColour(const FrameRecord& frame, Each each)
{
    const std::size_t entries = ColourCount(frame);
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < entries; ++i) {
        const auto* bgr = frame.LocalPalette.data() + 4 * i;
        // By hand: a long animation has a hundred thousand of these.
        const char text[6] = {kHex[bgr[2] >> 4], kHex[bgr[2] & 15], kHex[bgr[1] >> 4],
                              kHex[bgr[1] & 15], kHex[bgr[0] >> 4], kHex[bgr[0] & 15]};
        each(std::string_view(text, sizeof text));
    }
}

// A slot without surfaces has no size: "-" in text, null in JSON.
using Size = std::optional<std::int32_t>;

// Every field of a slot in report order, each a number, a truth or a Size.
template <class Field>
void ForEachSlotField(const FrameRecord& frame, int slot, Field field)
{
    const bool sized = frame.DIBXOR != nullptr;
    field("slot", slot);
    field("left", frame.Left);
    field("top", frame.Top);
    field("width", sized ? Size(frame.DIBXOR->Width()) : Size());
    field("height", sized ? Size(frame.DIBXOR->Height()) : Size());
    field("interlaced", frame.Interlaced);
    field("useTransparentColor", frame.UseTransparentColor);
    field("transparentColorIndex", frame.TransparentColorIndex);
    field("delay", frame.Delay);
    field("disposalMethod", frame.DisposalMethod);
    field("userInput", frame.UserInput);
    field("localPaletteUsed", frame.LocalPaletteUsed);
    field("localPaletteSorted", frame.LocalPaletteSorted);
    field("localPaletteEntries", frame.LocalPaletteEntries);
}

template <class Value>
json JsonOf(const Value& value)
{
    return json(value);
}

json JsonOf(const Size& size)
{
    return size ? json(*size) : json();
}

// Fields are written by hand, not through json: a long animation has tens
// of thousands of them.
void AppendText(std::string& out, bool value)
{
    out += value ? "true" : "false";
}

template <std::integral Number>
void AppendText(std::string& out, Number value)
{
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(std::begin(digits), end);
}

void AppendText(std::string& out, const Size& size)
{
    if (size) {
        AppendText(out, *size);
    } else {
        out += '-';
    }
}

json ScreenOf(const cGIF& gif)
{
    const auto& screen = gif.LogicalScreen();
    return {{"width", screen.ScreenWidth},
            {"height", screen.ScreenHeight},
            {"packed", screen.PackedFields},
            {"background", screen.ScreenBackgroundColorIndex},
            {"aspect", screen.PixelAspect}};
}

json GlobalPaletteOf(const cGIF& gif)
{
    return {{"exists", gif.GlobalPaletteExists()},
            {"sorted", gif.GlobalPaletteSorted()},
            {"entries", gif.GlobalPaletteEntries()}};
}

json JsonReport(const cGIF& gif, const std::string& file)
{
    json frames = json::array();
    for (std::size_t i = 1; i <= gif.SlotsCount(); ++i) {
        const FrameRecord& frame = gif.Frame(static_cast<std::int16_t>(i));
        json slot;
        ForEachSlotField(frame, static_cast<int>(i),
                         [&](const char* key, const auto& value) { slot[key] = JsonOf(value); });
        json palette = json::array();
        ForEachColour(frame, [&](std::string_view colour) { palette.push_back(std::string(colour)); });
        slot["palette"] = std::move(palette);
        frames.push_back(std::move(slot));
    }
    return {{"file", file},
            {"loaded", true},
            {"screen", ScreenOf(gif)},
            {"animationLoops", gif.AnimationLoops()},
            {"globalPalette", GlobalPaletteOf(gif)},
            {"framesCount", gif.FramesCount()},
            {"slots", gif.SlotsCount()},
            {"frames", std::move(frames)}};
}

std::string Text(const json& v)
{
    if (v.is_null()) return "-";
    if (v.is_string()) return v.get<std::string>();
    return v.dump();
}

// One line a field, the frames one line each with their palette below. Only
// a loaded document is reported, so nothing can fail halfway; the report is
// written a frame at a time, so a long animation's is never held whole.
void WriteTextReport(std::FILE* to, const cGIF& gif, const std::string& file)
{
    std::string out = "file: " + file + "\nloaded: true\nscreen:";
    const json screen = ScreenOf(gif);
    for (const char* key : {"width", "height", "packed", "background", "aspect"})
        out += std::string(" ") + key + " " + Text(screen[key]);
    out += "\nanimationLoops: " + std::to_string(gif.AnimationLoops()) + "\nglobalPalette:";
    const json palette = GlobalPaletteOf(gif);
    for (const char* key : {"exists", "sorted", "entries"})
        out += std::string(" ") + key + " " + Text(palette[key]);
    out +=
        "\nframesCount: " + std::to_string(gif.FramesCount()) + "\nslots: " + std::to_string(gif.SlotsCount()) + "\n";
    for (std::size_t i = 1; i <= gif.SlotsCount(); ++i) {
        const FrameRecord& frame = gif.Frame(static_cast<std::int16_t>(i));
        out += "frame";
        ForEachSlotField(frame, static_cast<int>(i), [&](const char* key, const auto& value) {
            out += ' ';
            out += key;
            out += ' ';
            AppendText(out, value);
        });
        out += "\n  palette:";
        const std::size_t at = out.size();
        out.resize(at + 7 * ColourCount(frame));
        char* next = out.data() + at;
        ForEachColour(frame, [&](std::string_view colour) {
            *next = ' ';
            std::memcpy(next + 1, colour.data(), colour.size());
            next += 1 + colour.size();
        });
        out += '\n';
        std::fwrite(out.data(), 1, out.size(), to);
        out.clear();
    }
    std::fwrite(out.data(), 1, out.size(), to);
}

}  // namespace

int RunInfo(const InfoOptions& options)
{
    int status = 0;
    json reports = json::array();
    bool first = true;
    for (const std::string& file : options.files) {
        cGIF gif;
        try {
            LoadGif(file, gif);
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "korvane-gif: %s\n", e.what());
            status = 1;
            continue;
        }
        if (options.json) {
            reports.push_back(JsonReport(gif, file));
            continue;
        }
        // A blank line between reports, each opened by its "file:" line.
        if (!first) std::fputc('\n', stdout);
        WriteTextReport(stdout, gif, file);
        first = false;
    }
    if (options.json && !reports.empty()) {
        const json& out = options.files.size() == 1 ? reports.front() : reports;
        std::fputs((out.dump(4) + "\n").c_str(), stdout);
    }
    return status;
}

}  // namespace korvane::tools

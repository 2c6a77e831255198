// korvane-gif info: the loaded document's fields, as text or as JSON.
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <string>

#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"

namespace korvane::tools {

namespace {

using imaging::cGIF;
using imaging::FrameRecord;
using nlohmann::json;

constexpr const char* kFrameKeys[] = {"slot",
                                      "left",
                                      "top",
                                      "width",
                                      "height",
                                      "interlaced",
                                      "useTransparentColor",
                                      "transparentColorIndex",
                                      "delay",
                                      "disposalMethod",
                                      "userInput",
                                      "localPaletteUsed",
                                      "localPaletteSorted",
                                      "localPaletteEntries"};

std::string HexColour(const FrameRecord& frame, int entry)
{
    const auto* bgr = frame.LocalPalette.data() + 4 * entry;
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", bgr[2], bgr[1], bgr[0]);
    return text;
}

json PaletteInForce(const FrameRecord& frame)
{
    json colours = json::array();
    const int entries = std::min<int>(std::max<int>(frame.LocalPaletteEntries, 0), 256);
    for (int i = 0; i < entries; ++i)
        colours.push_back(HexColour(frame, i));
    return colours;
}

json DescribeSlot(const FrameRecord& frame, int slot)
{
    const bool hasSurface = frame.DIBXOR != nullptr;
    return {{"slot", slot},
            {"left", frame.Left},
            {"top", frame.Top},
            {"width", hasSurface ? json(frame.DIBXOR->Width()) : json()},
            {"height", hasSurface ? json(frame.DIBXOR->Height()) : json()},
            {"interlaced", frame.Interlaced},
            {"useTransparentColor", frame.UseTransparentColor},
            {"transparentColorIndex", frame.TransparentColorIndex},
            {"delay", frame.Delay},
            {"disposalMethod", frame.DisposalMethod},
            {"userInput", frame.UserInput},
            {"localPaletteUsed", frame.LocalPaletteUsed},
            {"localPaletteSorted", frame.LocalPaletteSorted},
            {"localPaletteEntries", frame.LocalPaletteEntries},
            {"palette", PaletteInForce(frame)}};
}

json Describe(const cGIF& gif, const std::string& file)
{
    const auto& screen = gif.LogicalScreen();
    json frames = json::array();
    for (std::size_t i = 1; i <= gif.SlotsCount(); ++i)
        frames.push_back(DescribeSlot(gif.Frame(static_cast<std::int16_t>(i)), static_cast<int>(i)));
    return {{"file", file},
            {"loaded", true},
            {"screen",
             {{"width", screen.ScreenWidth},
              {"height", screen.ScreenHeight},
              {"packed", screen.PackedFields},
              {"background", screen.ScreenBackgroundColorIndex},
              {"aspect", screen.PixelAspect}}},
            {"animationLoops", gif.AnimationLoops()},
            {"globalPalette",
             {{"exists", gif.GlobalPaletteExists()},
              {"sorted", gif.GlobalPaletteSorted()},
              {"entries", gif.GlobalPaletteEntries()}}},
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

void PrintFields(std::string& out, const json& o, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        out += std::string(" ") + key + " " + Text(o[key]);
    out += '\n';
}

// One line a field; a report is written in one piece, so a file that fails
// halfway leaves nothing on standard output.
std::string TextReport(const json& o)
{
    std::string out = "file: " + Text(o["file"]) + "\nloaded: " + Text(o["loaded"]) + "\nscreen:";
    PrintFields(out, o["screen"], {"width", "height", "packed", "background", "aspect"});
    out += "animationLoops: " + Text(o["animationLoops"]) + "\nglobalPalette:";
    PrintFields(out, o["globalPalette"], {"exists", "sorted", "entries"});
    out += "framesCount: " + Text(o["framesCount"]) + "\nslots: " + Text(o["slots"]) + "\n";
    for (const json& frame : o["frames"]) {
        out += "frame";
        for (const char* key : kFrameKeys)
            out += std::string(" ") + key + " " + Text(frame[key]);
        out += "\n  palette:";
        for (const json& colour : frame["palette"])
            out += " " + Text(colour);
        out += '\n';
    }
    return out;
}

}  // namespace

int RunInfo(const InfoOptions& options)
{
    int status = 0;
    json reports = json::array();
    bool first = true;
    for (const std::string& file : options.files) {
        json report;
        try {
            cGIF gif;
            LoadGif(file, gif);
            report = Describe(gif, file);
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "korvane-gif: %s\n", e.what());
            status = 1;
            continue;
        }
        if (options.json) {
            reports.push_back(std::move(report));
            continue;
        }
        // A heading line between reports, as other image tools separate theirs.
        const std::string text = (first ? "" : "\n") + TextReport(report);
        std::fputs(text.c_str(), stdout);
        first = false;
    }
    if (options.json && !reports.empty()) {
        const json& out = options.files.size() == 1 ? reports.front() : reports;
        std::fputs((out.dump(4) + "\n").c_str(), stdout);
    }
    return status;
}

}  // namespace korvane::tools

// korvane-gif info: the loaded document's fields, as text or as one JSON object.
#include <cstdio>
#include <string>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"

namespace korvane::tools {

namespace {

using imaging::cGIF;
using imaging::FrameRecord;

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

QString HexColour(const FrameRecord& frame, int entry)
{
    const auto* bgr = frame.LocalPalette.data() + 4 * entry;
    return QString::asprintf("%02x%02x%02x", bgr[2], bgr[1], bgr[0]);
}

QJsonArray PaletteInForce(const FrameRecord& frame)
{
    QJsonArray colours;
    const int entries = std::min<int>(std::max<int>(frame.LocalPaletteEntries, 0), 256);
    for (int i = 0; i < entries; ++i)
        colours.append(HexColour(frame, i));
    return colours;
}

QJsonObject DescribeSlot(const FrameRecord& frame, int slot)
{
    QJsonObject o;
    o["slot"] = slot;
    o["left"] = frame.Left;
    o["top"] = frame.Top;
    o["width"] = frame.DIBXOR ? QJsonValue(frame.DIBXOR->Width()) : QJsonValue(QJsonValue::Null);
    o["height"] = frame.DIBXOR ? QJsonValue(frame.DIBXOR->Height()) : QJsonValue(QJsonValue::Null);
    o["interlaced"] = frame.Interlaced;
    o["useTransparentColor"] = frame.UseTransparentColor;
    o["transparentColorIndex"] = frame.TransparentColorIndex;
    o["delay"] = frame.Delay;
    o["disposalMethod"] = frame.DisposalMethod;
    o["userInput"] = frame.UserInput;
    o["localPaletteUsed"] = frame.LocalPaletteUsed;
    o["localPaletteSorted"] = frame.LocalPaletteSorted;
    o["localPaletteEntries"] = frame.LocalPaletteEntries;
    o["palette"] = PaletteInForce(frame);
    return o;
}

QJsonObject Describe(const cGIF& gif, const std::string& file, bool loaded)
{
    const auto& screen = gif.LogicalScreen();
    QJsonObject o;
    o["file"] = QString::fromStdString(file);
    o["loaded"] = loaded;
    o["screen"] = QJsonObject{{"width", screen.ScreenWidth},
                              {"height", screen.ScreenHeight},
                              {"packed", screen.PackedFields},
                              {"background", screen.ScreenBackgroundColorIndex},
                              {"aspect", screen.PixelAspect}};
    o["animationLoops"] = gif.AnimationLoops();
    o["globalPalette"] = QJsonObject{{"exists", gif.GlobalPaletteExists()},
                                     {"sorted", gif.GlobalPaletteSorted()},
                                     {"entries", gif.GlobalPaletteEntries()}};
    o["framesCount"] = gif.FramesCount();
    o["slots"] = static_cast<qint64>(gif.SlotsCount());
    QJsonArray frames;
    for (std::size_t i = 1; i <= gif.SlotsCount(); ++i) {
        frames.append(DescribeSlot(gif.Frame(static_cast<std::int16_t>(i)), static_cast<int>(i)));
    }
    o["frames"] = frames;
    return o;
}

std::string Text(const QJsonValue& v)
{
    if (v.isBool()) return v.toBool() ? "true" : "false";
    if (v.isNull()) return "-";
    if (v.isString()) return v.toString().toStdString();
    return std::to_string(v.toInteger());
}

void PrintFields(const QJsonObject& o, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        std::printf(" %s %s", key, Text(o[key]).c_str());
    std::printf("\n");
}

void PrintText(const QJsonObject& o)
{
    std::printf("file: %s\nloaded: %s\n", Text(o["file"]).c_str(), Text(o["loaded"]).c_str());
    std::printf("screen:");
    PrintFields(o["screen"].toObject(), {"width", "height", "packed", "background", "aspect"});
    std::printf("animationLoops: %s\nglobalPalette:", Text(o["animationLoops"]).c_str());
    PrintFields(o["globalPalette"].toObject(), {"exists", "sorted", "entries"});
    std::printf("framesCount: %s\nslots: %s\n", Text(o["framesCount"]).c_str(), Text(o["slots"]).c_str());
    for (const QJsonValue& value : o["frames"].toArray()) {
        const QJsonObject frame = value.toObject();
        std::printf("frame");
        for (const char* key : kFrameKeys)
            std::printf(" %s %s", key, Text(frame[key]).c_str());
        std::printf("\n  palette:");
        for (const QJsonValue& colour : frame["palette"].toArray())
            std::printf(" %s", Text(colour).c_str());
        std::printf("\n");
    }
}

}  // namespace

int RunInfo(const Arguments& args)
{
    static constexpr const char* kUsage = "info FILE [--json]";
    RequireArgumentCount(args, 1, 2, kUsage);
    if (args.size() == 2 && args[1] != "--json") throw CommandError(std::string("usage: korvane-gif ") + kUsage);
    cGIF gif;
    const bool loaded = gif.LoadFromFile(args[0]);
    const QJsonObject report = Describe(gif, args[0], loaded);
    if (args.size() == 2) {
        std::fputs(QJsonDocument(report).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        PrintText(report);
    }
    std::fflush(stdout);
    if (!loaded) throw CommandError("cannot load " + args[0] + " as a GIF");
    return 0;
}

}  // namespace korvane::tools

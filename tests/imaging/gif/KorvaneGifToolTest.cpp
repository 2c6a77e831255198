// korvane-gif end to end: the binary run on small files, its output, files
// and exit status.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "GifTestSupport.h"

namespace korvane::imaging {
namespace {

using test::Bytes;
using test::GifBytes;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Paths of the running test alone: ctest runs the tests of this file at once.
std::string OwnPath(const std::string& name)
{
    return test::TestPath(std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" + name);
}

ToolRun RunTool(const std::string& args)
{
    const std::string errPath = OwnPath("stderr.txt");
    const std::string command = std::string(KORVANE_GIF_TOOL) + " " + args + " 2>" + errPath;
    ToolRun run{};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const Bytes err = test::ReadFile(errPath);
    run.err.assign(err.begin(), err.end());
    return run;
}

// Two frames: a transparent 3 x 2 one on the global table and a 1 x 1 one
// with a local table, behind a trailing control extension.
std::string SampleFile()
{
    const std::string path = OwnPath("sample.gif");
    test::WriteFile(path, GifBytes()
                              .Header()
                              .Screen(3, 2, 0x80, 1, 49)
                              .Table({0x102030, 0xFFFFFF})
                              .Netscape(4)
                              .GraphicControl(0x09, 25, 1)  // disposal 2, transparent index 1
                              .Image(0, 0, 3, 2)
                              .Pixels(2, Bytes{0, 1, 0, 1, 1, 0})
                              .Image(2, 1, 1, 1, 0x80)
                              .Table({0xABCDEF, 0})
                              .Pixels(2, Bytes{0})
                              .GraphicControl(0x04, 7, 0)
                              .Trailer());
    return path;
}

TEST(KorvaneGifTool, HelpDocumentsTheCommandsAndJsonKeys)
{
    const ToolRun run = RunTool("--help");
    EXPECT_EQ(run.status, 0);
    for (const char* word : {"info FILE [--json]", "frames FILE DIR", "resave IN OUT", "framesCount", "slots",
                             "localPaletteEntries", "palette"}) {
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
}

TEST(KorvaneGifTool, InfoJsonCarriesEverySlot)
{
    const ToolRun run = RunTool("info " + SampleFile() + " --json");
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_TRUE(o["loaded"].toBool());
    EXPECT_EQ(o["screen"].toObject()["packed"].toInt(), 0x80);
    EXPECT_EQ(o["screen"].toObject()["background"].toInt(), 1);
    EXPECT_EQ(o["screen"].toObject()["aspect"].toInt(), 49);
    EXPECT_EQ(o["animationLoops"].toInt(), 4);
    EXPECT_EQ(o["globalPalette"].toObject()["entries"].toInt(), 2);
    EXPECT_EQ(o["framesCount"].toInt(), 2);
    EXPECT_EQ(o["slots"].toInt(), 3);
    const QJsonArray frames = o["frames"].toArray();
    ASSERT_EQ(frames.size(), 3);
    const QJsonObject first = frames[0].toObject();
    EXPECT_EQ(first["disposalMethod"].toInt(), 2);
    EXPECT_TRUE(first["useTransparentColor"].toBool());
    EXPECT_EQ(first["delay"].toInt(), 25);
    EXPECT_EQ(first["width"].toInt(), 3);
    EXPECT_EQ(first["palette"].toArray(), (QJsonArray{"102030", "ffffff"}));
    EXPECT_EQ(frames[1].toObject()["palette"].toArray(), (QJsonArray{"abcdef", "000000"}));
    EXPECT_EQ(frames[1].toObject()["left"].toInt(), 2);
    EXPECT_TRUE(frames[2].toObject()["width"].isNull());
    EXPECT_EQ(frames[2].toObject()["delay"].toInt(), 7);
}

TEST(KorvaneGifTool, InfoTextAndFailures)
{
    const ToolRun text = RunTool("info " + SampleFile());
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("framesCount: 2"), std::string::npos);
    EXPECT_NE(text.out.find("palette: abcdef 000000"), std::string::npos);

    const std::string bad = OwnPath("bad.gif");
    test::WriteFile(bad, {'G', 'I', 'F', '9', '0', 'a'});
    const ToolRun failed = RunTool("info " + bad);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("loaded: false"), std::string::npos);
    EXPECT_EQ(std::count(failed.err.begin(), failed.err.end(), '\n'), 1);
    for (const char* args : {"", "info", "info a b", "frobnicate x", "frames x", "resave x"}) {
        const ToolRun misuse = RunTool(args);
        EXPECT_EQ(misuse.status, 1) << args;
        EXPECT_EQ(std::count(misuse.err.begin(), misuse.err.end(), '\n'), 1) << args;
    }
}

TEST(KorvaneGifTool, FramesWritesIndicesMaskAndColours)
{
    const std::string dir = OwnPath("frames");
    const ToolRun run = RunTool("frames " + SampleFile() + " " + dir);
    ASSERT_EQ(run.status, 0) << run.err;
    Bytes pgm = {'P', '5', '\n', '3', ' ', '2', '\n', '2', '5', '5', '\n', 0, 1, 0, 1, 1, 0};
    EXPECT_EQ(test::ReadFile(dir + "/001.index.pgm"), pgm);
    // Mask rows padded to a byte, 1 where transparent.
    EXPECT_EQ(test::ReadFile(dir + "/001.mask.pbm"), (Bytes{'P', '4', '\n', '3', ' ', '2', '\n', 0x40, 0xC0}));
    // The transparent entry draws black through the frame's colour table.
    const Bytes ppm = test::ReadFile(dir + "/001.ppm");
    const Bytes header = {'P', '6', '\n', '3', ' ', '2', '\n', '2', '5', '5', '\n'};
    ASSERT_EQ(ppm.size(), header.size() + 18);
    EXPECT_EQ(Bytes(ppm.begin() + 11, ppm.begin() + 17), (Bytes{0x10, 0x20, 0x30, 0, 0, 0}));
    const Bytes second = test::ReadFile(dir + "/002.ppm");
    ASSERT_GE(second.size(), 3U);
    EXPECT_EQ(Bytes(second.end() - 3, second.end()), (Bytes{0xAB, 0xCD, 0xEF}));
    EXPECT_FALSE(std::filesystem::exists(dir + "/003.ppm"));
}

TEST(KorvaneGifTool, ResaveSucceedsOnlyWhenLoadAndSaveDo)
{
    const std::string out = OwnPath("resaved.gif");
    EXPECT_EQ(RunTool("resave " + SampleFile() + " " + out).status, 0);
    const ToolRun again = RunTool("info " + out + " --json");
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(again.out)).object()["framesCount"].toInt(), 2);
    EXPECT_EQ(RunTool("resave " + OwnPath("missing.gif") + " " + out).status, 1);
    EXPECT_EQ(RunTool("resave " + SampleFile() + " " + OwnPath("no-dir") + "/x.gif").status, 1);
}

}  // namespace
}  // namespace korvane::imaging

// korvane-gif end to end: the binary run on small files, its output, files
// and exit status.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/support/GifTestSupport.h"

namespace korvane::imaging {
namespace {

using nlohmann::json;
using test_support::Bytes;
using test_support::GifBytes;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Paths of the running test alone: ctest runs the tests of this file at once.
std::string OwnPath(const std::string& name)
{
    return test_support::TestPath(std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                                  name);
}

ToolRun RunTool(const std::string& args)
{
    const std::string errPath = OwnPath("stderr.txt");
    const std::string command = std::string(KORVANE_GIF_TOOL) + " " + args + " 2>" + errPath;
    ToolRun run{};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const Bytes err = test_support::ReadFile(errPath);
    run.err.assign(err.begin(), err.end());
    return run;
}

// Two frames: a transparent 3 x 2 one on the global table and a 1 x 1 one
// with a local table, behind a trailing control extension.
std::string SampleFile()
{
    std::string path = OwnPath("sample.gif");
    test_support::WriteFile(path, GifBytes()
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

TEST(KorvaneGifTool, HelpAndVersion)
{
    const ToolRun run = RunTool("--help");
    EXPECT_EQ(run.status, 0);
    for (const char* word : {"info FILE... [--json]", "frames FILE DIR", "resave IN OUT", "framesCount", "slots",
                             "localPaletteEntries", "palette"}) {
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(RunTool("--version").out, "korvane-gif " KORVANE_VERSION "\n");
}

TEST(KorvaneGifTool, InfoJsonCarriesEverySlot)
{
    const ToolRun run = RunTool("info --json " + SampleFile());
    ASSERT_EQ(run.status, 0) << run.err;
    const json o = json::parse(run.out);
    EXPECT_TRUE(o["loaded"].get<bool>());
    EXPECT_EQ(o["screen"]["packed"], 0x80);
    EXPECT_EQ(o["screen"]["background"], 1);
    EXPECT_EQ(o["screen"]["aspect"], 49);
    EXPECT_EQ(o["animationLoops"], 4);
    EXPECT_EQ(o["globalPalette"]["entries"], 2);
    EXPECT_EQ(o["framesCount"], 2);
    EXPECT_EQ(o["slots"], 3);
    const json& frames = o["frames"];
    ASSERT_EQ(frames.size(), 3U);
    EXPECT_EQ(frames[0]["disposalMethod"], 2);
    EXPECT_TRUE(frames[0]["useTransparentColor"].get<bool>());
    EXPECT_EQ(frames[0]["delay"], 25);
    EXPECT_EQ(frames[0]["width"], 3);
    EXPECT_EQ(frames[0]["palette"], json({"102030", "ffffff"}));
    EXPECT_EQ(frames[1]["palette"], json({"abcdef", "000000"}));
    EXPECT_EQ(frames[1]["left"], 2);
    EXPECT_TRUE(frames[2]["width"].is_null());
    EXPECT_EQ(frames[2]["delay"], 7);
}

// Each file that fails is one line on stderr with its reason and nothing on
// stdout; the others are reported all the same.
TEST(KorvaneGifTool, InfoReportsEachFileAndWhyOneFails)
{
    const std::string sample = SampleFile();
    const std::string garbage = OwnPath("garbage.gif");
    test_support::WriteFile(garbage, {'G', 'I', 'F', '9', '0', 'a', 0});
    const std::string empty = OwnPath("empty.gif");
    test_support::WriteFile(empty, {});
    const std::string folder = OwnPath("folder");
    std::filesystem::create_directories(folder);
    const struct {
        std::string file;
        std::string reason;
    } failures[] = {
        {OwnPath("missing.gif"), "No such file or directory"},
        {folder, "Is a directory"},
        {garbage, "not a GIF file: header is \"GIF90a\""},
        {empty, "not a GIF file: it is empty"},
    };
    for (const auto& f : failures) {
        const ToolRun run = RunTool("info " + f.file);
        EXPECT_EQ(run.status, 1) << f.file;
        EXPECT_EQ(run.out, "") << f.file;
        EXPECT_EQ(run.err, "korvane-gif: " + f.file + ": " + f.reason + "\n");
    }

    const ToolRun text = RunTool("info " + sample + " " + garbage + " " + sample);
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 2 * 13 + 1) << text.out;  // a blank line between
    EXPECT_NE(text.out.find("palette: abcdef 000000"), std::string::npos);
    const ToolRun array = RunTool("info " + sample + " --json " + sample);
    ASSERT_EQ(array.status, 0);
    EXPECT_EQ(json::parse(array.out).size(), 2U);

    for (const char* args : {"", "info", "frobnicate x", "frames x", "resave x", "info --ticks 2 x"}) {
        const ToolRun misuse = RunTool(args);
        EXPECT_EQ(misuse.status, 2) << args;
        EXPECT_EQ(std::count(misuse.err.begin(), misuse.err.end(), '\n'), 1) << args;
    }
}

TEST(KorvaneGifTool, PipesAndDashes)
{
    const std::string sample = SampleFile();
    const std::string tool = KORVANE_GIF_TOOL;
    EXPECT_EQ(json::parse(RunTool("info --json - < " + sample).out)["framesCount"], 2);
    EXPECT_EQ(json::parse(RunTool("info --json /dev/stdin < " + sample).out)["framesCount"], 2);
    const ToolRun piped = RunTool("resave " + sample + " - | " + tool + " info --json -");
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(json::parse(piped.out)["slots"], 2);  // the trailing control extension is not written
}

TEST(KorvaneGifTool, FramesWritesIndicesMaskAndColours)
{
    const std::string dir = OwnPath("frames");
    const ToolRun run = RunTool("frames " + SampleFile() + " " + dir);
    ASSERT_EQ(run.status, 0) << run.err;
    Bytes pgm = {'P', '5', '\n', '3', ' ', '2', '\n', '2', '5', '5', '\n', 0, 1, 0, 1, 1, 0};
    EXPECT_EQ(test_support::ReadFile(dir + "/001.index.pgm"), pgm);
    // Mask rows padded to a byte, 1 where transparent.
    EXPECT_EQ(test_support::ReadFile(dir + "/001.mask.pbm"), (Bytes{'P', '4', '\n', '3', ' ', '2', '\n', 0x40, 0xC0}));
    // The transparent entry draws black through the frame's colour table.
    const Bytes ppm = test_support::ReadFile(dir + "/001.ppm");
    const Bytes header = {'P', '6', '\n', '3', ' ', '2', '\n', '2', '5', '5', '\n'};
    ASSERT_EQ(ppm.size(), header.size() + 18);
    EXPECT_EQ(Bytes(ppm.begin() + 11, ppm.begin() + 17), (Bytes{0x10, 0x20, 0x30, 0, 0, 0}));
    const Bytes second = test_support::ReadFile(dir + "/002.ppm");
    ASSERT_GE(second.size(), 3U);
    EXPECT_EQ(Bytes(second.end() - 3, second.end()), (Bytes{0xAB, 0xCD, 0xEF}));
    EXPECT_FALSE(std::filesystem::exists(dir + "/003.ppm"));
}

TEST(KorvaneGifTool, ResaveSucceedsOnlyWhenLoadAndSaveDo)
{
    const std::string out = OwnPath("resaved.gif");
    EXPECT_EQ(RunTool("resave " + SampleFile() + " " + out).status, 0);
    const ToolRun again = RunTool("info " + out + " --json");
    EXPECT_EQ(json::parse(again.out)["framesCount"], 2);
    EXPECT_EQ(RunTool("resave " + OwnPath("missing.gif") + " " + out).status, 1);
    const ToolRun noFolder = RunTool("resave " + SampleFile() + " " + OwnPath("no-dir") + "/x.gif");
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("cannot write: No such file or directory"), std::string::npos) << noFolder.err;

    // A frame without pixels cannot be written: the tool names it and writes nothing.
    const std::string hollow = OwnPath("hollow.gif");
    test_support::WriteFile(hollow, GifBytes()
                                        .Header()
                                        .Screen(2, 2, 0x80)
                                        .Table({0, 0xFFFFFF})
                                        .Image(0, 0, 2, 2)
                                        .Pixels(2, Bytes{0, 1, 1, 0})
                                        .Image(0, 0, 0, 0)
                                        .Pixels(2, Bytes{})
                                        .Trailer());
    const ToolRun failed = RunTool("resave " + hollow + " " + OwnPath("never.gif"));
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("frame 2 has no pixels"), std::string::npos) << failed.err;
    EXPECT_FALSE(std::filesystem::exists(OwnPath("never.gif")));
}

}  // namespace
}  // namespace korvane::imaging

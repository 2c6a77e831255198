// korvane-gif render, run as a user would.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/GifBuilder.h"

namespace korvane::test_support {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out;
};

ToolRun RunTool(const std::string& arguments)
{
    const std::string command = std::string(KORVANE_GIF_TOOL) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, ""};
    std::string out;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
        out += buffer.data();
    return {pclose(pipe), out};
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Ppm(int width, int height, const std::string& rgb)
{
    return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" + rgb;
}

class RenderToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Frame 1 red; frame 2 a green pixel restored to the back colour
        // (disposal 2); frame 3 a white pixel, the rest transparent.
        GifRecipe recipe;
        recipe.Width = 2;
        recipe.Height = 1;
        recipe.Palette = TestPalette();
        GifFrameRecipe last;
        last.Width = 2;
        last.Height = 1;
        last.Indices = Indices("39");
        last.Transparent = 9;
        last.Delay = 65535;
        recipe.Frames = {SolidFrame(0, 0, 2, 1, 0, 1, 0), SolidFrame(1, 0, 1, 1, 1, 2, 20), last};
        WriteBytes((dir / "anim.gif").string(), EncodeGif(recipe));
    }

    // One folder a test: ctest runs them side by side.
    const fs::path dir = fs::path(KORVANE_TEST_OUTPUT_DIR) / "render-tool" /
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(RenderToolTest, WritesTheCanvasAfterEveryTickOfOnePass)
{
    const ToolRun run =
        RunTool("render " + (dir / "anim.gif").string() + " " + (dir / "out").string() + " --back-colour 0A141E");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "tick 1: frame 1, 100 ms\ntick 2: frame 2, 200 ms\ntick 3: frame 3, 60000 ms\n");
    EXPECT_EQ(ReadFile(dir / "out" / "001.canvas.ppm"), Ppm(2, 1, std::string("\xFF\x00\x00\xFF\x00\x00", 6)));
    EXPECT_EQ(ReadFile(dir / "out" / "002.canvas.ppm"), Ppm(2, 1, std::string("\xFF\x00\x00\x00\xFF\x00", 6)));
    EXPECT_EQ(ReadFile(dir / "out" / "003.canvas.ppm"), Ppm(2, 1, std::string("\xFF\xFF\xFF\x0A\x14\x1E", 6)));
    EXPECT_FALSE(fs::exists(dir / "out" / "004.canvas.ppm"));
}

TEST_F(RenderToolTest, TicksGoOnPastTheLastFrameInTheDefaultColour)
{
    const ToolRun run = RunTool("render " + (dir / "anim.gif").string() + " " + (dir / "more").string() + " --ticks 4");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("tick 4: frame 1, 100 ms\n"), std::string::npos);
    // The button face shows through the transparent pixel of frame 3.
    EXPECT_EQ(ReadFile(dir / "more" / "003.canvas.ppm"), Ppm(2, 1, "\xFF\xFF\xFF\xC0\xC0\xC0"));
    EXPECT_EQ(ReadFile(dir / "more" / "004.canvas.ppm"), ReadFile(dir / "more" / "001.canvas.ppm"));
}

TEST_F(RenderToolTest, RefusesBadArgumentsWithStatusTwoAndMissingFilesWithOne)
{
    const std::string gif = (dir / "anim.gif").string();
    const std::string out = (dir / "bad").string();
    const std::string cases[] = {"render " + gif,
                                 "render " + gif + " " + out + " --ticks 0",
                                 "render " + gif + " " + out + " --ticks x",
                                 "render " + gif + " " + out + " --back-colour 12345",
                                 "render " + gif + " " + out + " --back-colour GG0000",
                                 "render " + gif + " " + out + " --back-colour 0x1234",
                                 "render " + gif + " " + out + " --back-colour +FFFFF",
                                 "render " + gif + " " + out + " --back-colour -00001"};
    for (const std::string& arguments : cases)
        EXPECT_EQ(RunTool(arguments).status, 2 << 8) << arguments;
    EXPECT_EQ(RunTool("render " + (dir / "missing.gif").string() + " " + out).status, 1 << 8);
}

TEST_F(RenderToolTest, ScreenTheSurfacesCannotHoldFailsWithStatusOne)
{
    // One pixel of frame on a screen of 1.6 GB of 32-bit pixels, past the surfaces' limit.
    GifRecipe huge;
    huge.Width = 20000;
    huge.Height = 20000;
    huge.Palette = TestPalette();
    huge.Frames = {SolidFrame(0, 0, 1, 1, 0)};
    WriteBytes((dir / "huge.gif").string(), EncodeGif(huge));
    const ToolRun run = RunTool("render " + (dir / "huge.gif").string() + " " + (dir / "out").string());
    EXPECT_EQ(run.status, 1 << 8);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(dir / "out" / "001.canvas.ppm"));
}

}  // namespace
}  // namespace korvane::test_support

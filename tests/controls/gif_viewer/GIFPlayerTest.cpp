// The playback engine driven tick by tick through a manual timer, on a
// control surface in memory.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/gif_viewer/GIFPlayer.h"
#include "controls/gif_viewer/ManualFrameTimer.h"
#include "controls/gif_viewer/MemoryControlSurface.h"
#include "tests/support/GifBuilder.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::controls {
namespace {

using test_support::EncodeGif;
using test_support::GifFrameRecipe;
using test_support::GifRecipe;
using test_support::Indices;
using test_support::SolidFrame;
using test_support::TestPalette;

constexpr gdi::OLE_COLOR Back = 0x1E140A;  // red 10, green 20, blue 30
constexpr std::uint32_t BackPixel = 0x0A141E;
constexpr gdi::OLE_COLOR OtherBack = 0x00C800;  // green 200
constexpr std::uint32_t OtherBackPixel = 0x00C800;

// Pixels from rows of letters: r g b w y k (black) for palette colours, '.'
// for the back colour, rows separated by '/'.
std::vector<std::uint32_t> Pixels(const std::string& rows, std::uint32_t back = BackPixel)
{
    static const std::map<char, std::uint32_t> colours = {{'r', 0xFF0000}, {'g', 0x00FF00}, {'b', 0x0000FF},
                                                          {'w', 0xFFFFFF}, {'y', 0xFFFF00}, {'k', 0x000000}};
    std::vector<std::uint32_t> pixels;
    for (const char c : rows) {
        if (c == '/') continue;
        pixels.push_back(c == '.' ? back : colours.at(c));
    }
    return pixels;
}

std::vector<std::uint32_t> SurfacePixels(const imaging::cDIB& dib)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x)
            pixels.push_back(test_support::Pixel32(dib, x, y) & 0xFFFFFF);
    }
    return pixels;
}

class FakeResources : public ResourceLookup {
public:
    void Add(const std::string& id, const std::string& type, std::vector<std::uint8_t> bytes)
    {
        m_Resources[{type, id}] = std::move(bytes);
    }
    std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                           const std::string& ResourceType) const override
    {
        const auto found = m_Resources.find({ResourceType, ResourceID});
        if (found == m_Resources.end()) throw ResourceNotFoundError(ResourceID, ResourceType);
        return found->second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::vector<std::uint8_t>> m_Resources;
};

class MapPropertyBag : public PropertyBag {
public:
    std::int64_t ReadProperty(const std::string& Name, std::int64_t DefaultValue) const override
    {
        const auto found = values.find(Name);
        return found == values.end() ? DefaultValue : found->second;
    }
    void WriteProperty(const std::string& Name, std::int64_t Value, std::int64_t DefaultValue) override
    {
        written.push_back(Name);
        if (Value != DefaultValue) values[Name] = Value;
    }
    std::map<std::string, std::int64_t> values;
    std::vector<std::string> written;
};

GifRecipe Recipe4x4(std::vector<GifFrameRecipe> frames)
{
    GifRecipe recipe;
    recipe.Width = 4;
    recipe.Height = 4;
    recipe.Palette = TestPalette();
    recipe.Frames = std::move(frames);
    return recipe;
}

// A whole 4 x 4 frame from rows of indices in which 9 is transparent.
GifFrameRecipe HoledFrame(const char* rows)
{
    GifFrameRecipe frame;
    frame.Width = 4;
    frame.Height = 4;
    frame.Indices = Indices(rows);
    frame.Transparent = 9;
    return frame;
}

// Three frames of distinct colours with delays 10, 20 and 30 hundredths.
GifRecipe ThreeFrames()
{
    return Recipe4x4(
        {SolidFrame(0, 0, 4, 4, 0, 1, 10), SolidFrame(0, 0, 4, 4, 1, 1, 20), SolidFrame(0, 0, 4, 4, 2, 1, 30)});
}

class GIFPlayerTest : public ::testing::Test {
protected:
    GIFPlayerTest() { surface.SetBackColor(Back); }

    bool Load(const GifRecipe& recipe, bool autoPlay)
    {
        resources.Add("ANIM", "GIF", EncodeGif(recipe));
        player.SetAutoPlay(autoPlay);
        return player.LoadFromResource("ANIM", "GIF");
    }
    std::vector<std::uint32_t> Canvas() const
    {
        const gdi::StdPicture image = player.GIFCurrentFrameImage();
        std::vector<std::uint32_t> pixels = image->Argb32();
        for (auto& pixel : pixels)
            pixel &= 0xFFFFFF;
        return pixels;
    }
    std::vector<std::uint32_t> Screen() const { return SurfacePixels(surface.Client()); }

    MemoryControlSurface surface{4, 4};
    ManualFrameTimer timer;
    FakeResources resources;
    GIFPlayer player{surface, timer, resources};
};

TEST(FrameIntervalTest, DelaysBecomeIntervals)
{
    const std::pair<std::int16_t, std::int32_t> table[] = {{0, 100},    {1, 50},        {4, 50},       {5, 50},
                                                           {10, 100},   {3276, 32760},  {3277, 32770}, {32767, 327670},
                                                           {-1, 60000}, {-32768, 60000}};
    for (const auto& [delay, interval] : table)
        EXPECT_EQ(FrameInterval(delay), interval) << "delay " << delay;
}

TEST_F(GIFPlayerTest, StoredDelaysSetTheIntervalOfEachTick)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 0, 1, 65535), SolidFrame(0, 0, 4, 4, 1, 1, 3277),
                                SolidFrame(0, 0, 4, 4, 2, 1, 0)}),
                     true));
    const int expected[] = {60000, 32770, 100};
    for (const int interval : expected) {
        ASSERT_TRUE(timer.Fire());
        EXPECT_EQ(timer.Interval(), interval);
    }
}

// --- the state table ---------------------------------------------------------

TEST_F(GIFPlayerTest, EmptyControlIgnoresPlaybackCalls)
{
    player.Play();
    EXPECT_FALSE(player.GIFIsPlaying());
    player.NextFrame();
    player.Pause();
    EXPECT_FALSE(player.GIFLoaded());
    EXPECT_EQ(player.GIFCurrentFrame(), 0);
    EXPECT_EQ(player.GIFCurrentFrameImage(), nullptr);
    player.Rewind();
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_FALSE(player.GIFIsPlaying());
}

TEST_F(GIFPlayerTest, AutoPlayLoadStartsPlayingAndTheFirstTickComposesFrameOne)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    EXPECT_TRUE(player.GIFLoaded());
    EXPECT_EQ(player.GIFFrames(), 3);
    EXPECT_TRUE(player.GIFIsPlaying());
    EXPECT_EQ(timer.Interval(), 1);
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_EQ(Canvas(), Pixels("..../..../..../...."));

    ASSERT_TRUE(timer.Fire());
    EXPECT_EQ(Canvas(), Pixels("rrrr/rrrr/rrrr/rrrr"));
    EXPECT_EQ(Screen(), Canvas());
    EXPECT_EQ(player.GIFCurrentFrame(), 2);
    EXPECT_EQ(timer.Interval(), 100);
}

TEST_F(GIFPlayerTest, LoadWithoutAutoPlayShowsFrameOneAndStops)
{
    ASSERT_TRUE(Load(ThreeFrames(), false));
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(player.GIFCurrentFrame(), 2);
    EXPECT_EQ(Screen(), Pixels("rrrr/rrrr/rrrr/rrrr"));
}

TEST_F(GIFPlayerTest, SingleFrameIsShownOnceWhateverAutoPlaySays)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 3)}), true));
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_EQ(Screen(), Pixels("wwww/wwww/wwww/wwww"));
    player.Play();
    EXPECT_FALSE(player.GIFIsPlaying());
    player.NextFrame();
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_EQ(Canvas(), Pixels("wwww/wwww/wwww/wwww"));
}

TEST_F(GIFPlayerTest, StoppedControlPlaysNextFramesAndRewinds)
{
    ASSERT_TRUE(Load(ThreeFrames(), false));
    player.Pause();
    EXPECT_FALSE(player.GIFIsPlaying());
    player.NextFrame();
    EXPECT_EQ(Screen(), Pixels("gggg/gggg/gggg/gggg"));
    EXPECT_EQ(player.GIFCurrentFrame(), 3);
    player.Rewind();
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_EQ(Screen(), Pixels("gggg/gggg/gggg/gggg")) << "Rewind alone leaves the picture";
    player.NextFrame();
    EXPECT_EQ(Screen(), Pixels("rrrr/rrrr/rrrr/rrrr"));
    player.Play();
    EXPECT_TRUE(player.GIFIsPlaying());
}

TEST_F(GIFPlayerTest, PlayingControlIgnoresNextFrameAndKeepsPlayingOnPlay)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    timer.Fire();
    timer.Advance(40);
    player.NextFrame();
    EXPECT_EQ(player.GIFCurrentFrame(), 2);
    EXPECT_EQ(Canvas(), Pixels("rrrr/rrrr/rrrr/rrrr"));
    player.Play();
    EXPECT_TRUE(player.GIFIsPlaying());
    EXPECT_EQ(timer.Remaining(), 60) << "Play while playing leaves the countdown alone";
    player.Pause();
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(Screen(), Pixels("rrrr/rrrr/rrrr/rrrr")) << "the picture stays";
}

TEST_F(GIFPlayerTest, PauseThenPlayResumesAfterAFullIntervalOfTheFrameOnScreen)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    EXPECT_EQ(timer.Advance(1), 1);  // frame 1, 100 ms
    EXPECT_EQ(timer.Advance(70), 0);
    player.Pause();
    player.Play();
    EXPECT_EQ(timer.Advance(99), 0);
    EXPECT_EQ(timer.Advance(1), 1);
    EXPECT_EQ(Canvas(), Pixels("gggg/gggg/gggg/gggg"));
    EXPECT_EQ(timer.Advance(199), 0);
    EXPECT_EQ(timer.Advance(1), 1);
    EXPECT_EQ(Canvas(), Pixels("bbbb/bbbb/bbbb/bbbb"));
}

TEST_F(GIFPlayerTest, AnimationRunsOverTheFramesWithoutEnd)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    const std::int16_t after[] = {2, 3, 1, 2, 3, 1, 2};
    for (const std::int16_t next : after) {
        ASSERT_TRUE(timer.Fire());
        EXPECT_EQ(player.GIFCurrentFrame(), next);
    }
    EXPECT_TRUE(player.GIFIsPlaying());
}

TEST_F(GIFPlayerTest, LoadingStopsThePlayingAnimationAndStartsTheNewOneAtFrameOne)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    timer.Fire();
    timer.Fire();
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 4), SolidFrame(0, 0, 4, 4, 3)}), false));
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(player.GIFFrames(), 2);
    EXPECT_EQ(Screen(), Pixels("yyyy/yyyy/yyyy/yyyy"));
}

TEST_F(GIFPlayerTest, AutoPlayTakesEffectAtTheNextLoad)
{
    ASSERT_TRUE(Load(ThreeFrames(), false));
    player.SetAutoPlay(true);
    EXPECT_FALSE(player.GIFIsPlaying());
    ASSERT_TRUE(player.LoadFromResource("ANIM", "GIF"));
    EXPECT_TRUE(player.GIFIsPlaying());
}

TEST_F(GIFPlayerTest, RewindWhilePlayingComposesFrameOneOnAClearedCanvas)
{
    // Frame 2 leaves a green corner that a plain replay of frame 1 would keep.
    ASSERT_TRUE(Load(
        Recipe4x4({SolidFrame(0, 0, 1, 1, 0, 1), SolidFrame(3, 3, 1, 1, 1, 1), SolidFrame(1, 1, 1, 1, 2, 1)}), true));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("r.../..../..../...g"));
    player.Rewind();
    EXPECT_TRUE(player.GIFIsPlaying());
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("r.../..../..../...."));
    EXPECT_EQ(player.GIFCurrentFrame(), 2);
}

TEST_F(GIFPlayerTest, AfterTheLastFrameFrameOneFollowsOnAClearedCanvas)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 1, 1, 0, 0), SolidFrame(3, 3, 1, 1, 1, 0)}), true));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("r.../..../..../...g"));
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("r.../..../..../...."));
}

// --- the back colour -----------------------------------------------------------

TEST_F(GIFPlayerTest, BackColorWhilePausedShowsFrameOneAgainInTheNewColourAndStaysPaused)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(1, 1, 2, 2, 0), SolidFrame(0, 0, 4, 4, 1)}), false));
    player.NextFrame();
    EXPECT_EQ(Screen(), Pixels("gggg/gggg/gggg/gggg"));
    player.SetBackColor(OtherBack);
    EXPECT_EQ(player.BackColor(), OtherBack);
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(player.GIFCurrentFrame(), 2);
    EXPECT_EQ(Screen(), Pixels("..../.rr./.rr./....", OtherBackPixel));
}

TEST_F(GIFPlayerTest, BackColorWhilePlayingRestartsAtFrameOne)
{
    ASSERT_TRUE(
        Load(Recipe4x4({SolidFrame(1, 1, 2, 2, 0), SolidFrame(0, 0, 4, 4, 1), SolidFrame(0, 0, 1, 1, 2)}), true));
    timer.Fire();
    timer.Fire();
    player.SetBackColor(OtherBack);
    EXPECT_TRUE(player.GIFIsPlaying());
    EXPECT_EQ(timer.Interval(), 1);
    EXPECT_EQ(player.GIFCurrentFrame(), 1);
    EXPECT_EQ(Canvas(), Pixels("..../..../..../....", OtherBackPixel));
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("..../.rr./.rr./....", OtherBackPixel));
}

TEST_F(GIFPlayerTest, BackColorWhileEmptyChangesTheColourOnly)
{
    const std::vector<std::uint32_t> before = Screen();
    player.SetBackColor(OtherBack);
    EXPECT_EQ(surface.BackColor(), OtherBack);
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(Screen(), before) << "nothing is repainted";
}

TEST_F(GIFPlayerTest, ColourThatCannotBeTranslatedIsRefused)
{
    EXPECT_THROW(player.SetBackColor(0x800000FF), std::out_of_range);
    EXPECT_EQ(player.BackColor(), Back);
}

TEST_F(GIFPlayerTest, SystemColoursAreTranslatedForDrawing)
{
    gdi::COLORREF face = 0;
    ASSERT_TRUE(gdi::OleTranslateColor(DefaultBackColor, face));
    const std::uint32_t facePixel = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    player.SetBackColor(DefaultBackColor);
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(1, 1, 2, 2, 0)}), false));
    EXPECT_EQ(Screen(), Pixels("..../.rr./.rr./....", facePixel));
}

// --- composition -----------------------------------------------------------------

struct DisposalCase {
    int disposal;
    const char* after;  // the canvas that the frame after the disposed one is drawn over
};

class DisposalTest : public GIFPlayerTest, public ::testing::WithParamInterface<DisposalCase> {};

TEST_P(DisposalTest, PreparesTheBackBufferForTheNextFrame)
{
    // Frame 1 red, frame 2 a green square with the disposal under test, frame 3
    // fully transparent: it shows exactly what frame 2 left behind.
    GifFrameRecipe clear = SolidFrame(0, 0, 4, 4, 9, 1);
    clear.Transparent = 9;
    GifRecipe recipe = Recipe4x4({SolidFrame(0, 0, 4, 4, 0, 1), SolidFrame(1, 1, 2, 2, 1, GetParam().disposal), clear});
    recipe.BackgroundIndex = 2;  // the GIF's own background colour is never used
    ASSERT_TRUE(Load(recipe, true));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("rrrr/rggr/rggr/rrrr"));
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels(GetParam().after));
    EXPECT_EQ(Screen(), Canvas());
}

INSTANTIATE_TEST_SUITE_P(
    EachMethod, DisposalTest,
    ::testing::Values(DisposalCase{0, "rrrr/rggr/rggr/rrrr"}, DisposalCase{1, "rrrr/rggr/rggr/rrrr"},
                      DisposalCase{2, "rrrr/r..r/r..r/rrrr"}, DisposalCase{3, "rrrr/rrrr/rrrr/rrrr"},
                      DisposalCase{4, "rrrr/rrrr/rrrr/rrrr"}, DisposalCase{5, "rrrr/rrrr/rrrr/rrrr"},
                      DisposalCase{6, "rrrr/rrrr/rrrr/rrrr"}, DisposalCase{7, "rrrr/rrrr/rrrr/rrrr"}),
    [](const auto& info) { return "Disposal" + std::to_string(info.param.disposal); });

TEST_F(GIFPlayerTest, DisposalThreeOfAPartialFrameKeepsTheEarlierFramesUnderIt)
{
    // Frame 2 (disposal 3) covers frame 1 partly; frame 3 is drawn as if frame 2 never was.
    ASSERT_TRUE(Load(
        Recipe4x4({SolidFrame(0, 0, 2, 4, 0, 1), SolidFrame(1, 0, 3, 4, 1, 3), SolidFrame(3, 3, 1, 1, 2, 1)}), true));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("rggg/rggg/rggg/rggg"));
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("rr../rr../rr../rr.b"));
}

TEST_F(GIFPlayerTest, TransparentPixelsShowEarlierFrames)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 0, 1), HoledFrame("9393/3939/9393/3939")}), true));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("rwrw/wrwr/rwrw/wrwr"));
}

TEST_F(GIFPlayerTest, TransparentPixelsOfFrameOneShowTheBackColour)
{
    ASSERT_TRUE(Load(Recipe4x4({HoledFrame("9999/9449/9449/9999"), SolidFrame(0, 0, 4, 4, 0, 1)}), true));
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("..../.yy./.yy./...."));
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(Canvas(), Pixels("..../.yy./.yy./....")) << "the next pass starts on the back colour again";
}

// A plain model of the composition rules, pixel by pixel, for comparing
// whole animations against.
class ReferenceComposer {
public:
    ReferenceComposer(const GifRecipe& recipe, std::uint32_t back)
        : m_Recipe(recipe), m_BackPixel(back), m_Canvas(Size(), back), m_BackBuffer(Size(), back)
    {
    }

    const std::vector<std::uint32_t>& Compose(int n)
    {
        const GifFrameRecipe& frame = m_Recipe.Frames[static_cast<std::size_t>(n - 1)];
        if (n == 1) std::fill(m_BackBuffer.begin(), m_BackBuffer.end(), m_BackPixel);
        m_Canvas = m_BackBuffer;
        ForEachPixel(frame, [&](std::size_t at, std::uint8_t index) {
            if (index != frame.Transparent) m_Canvas[at] = m_Recipe.Palette[index];
        });
        if (frame.Disposal <= 1) {
            m_BackBuffer = m_Canvas;
        } else if (frame.Disposal == 2) {
            ForEachPixel(frame, [&](std::size_t at, std::uint8_t) { m_BackBuffer[at] = m_BackPixel; });
        }
        return m_Canvas;
    }

private:
    std::size_t Size() const { return static_cast<std::size_t>(m_Recipe.Width) * m_Recipe.Height; }
    template <class F>
    void ForEachPixel(const GifFrameRecipe& frame, F f) const
    {
        for (int y = 0; y < frame.Height; ++y) {
            for (int x = 0; x < frame.Width; ++x) {
                const std::size_t at = static_cast<std::size_t>(frame.Top + y) * m_Recipe.Width + frame.Left + x;
                f(at, frame.Indices[static_cast<std::size_t>(y) * frame.Width + x]);
            }
        }
    }

    const GifRecipe& m_Recipe;
    std::uint32_t m_BackPixel;
    std::vector<std::uint32_t> m_Canvas;
    std::vector<std::uint32_t> m_BackBuffer;
};

GifRecipe RandomAnimation(std::mt19937& random)
{
    const auto pick = [&](int least, int most) { return std::uniform_int_distribution<int>(least, most)(random); };
    GifRecipe recipe;
    recipe.Width = pick(1, 9);
    recipe.Height = pick(1, 7);
    recipe.Palette = TestPalette();
    const int frames = pick(1, 8);
    for (int k = 0; k < frames; ++k) {
        GifFrameRecipe frame;
        frame.Width = pick(1, recipe.Width);
        frame.Height = pick(1, recipe.Height);
        frame.Left = pick(0, recipe.Width - frame.Width);
        frame.Top = pick(0, recipe.Height - frame.Height);
        frame.Disposal = pick(0, 7);
        frame.Transparent = pick(0, 1) == 1 ? 9 : -1;
        const std::uint8_t indices[] = {0, 1, 2, 3, 4, 9};
        for (int i = 0; i < frame.Width * frame.Height; ++i)
            frame.Indices.push_back(indices[pick(0, 5)]);
        recipe.Frames.push_back(frame);
    }
    return recipe;
}

TEST_F(GIFPlayerTest, RandomAnimationsComposeAsThePlainRulesSay)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 60; ++round) {
        const GifRecipe recipe = RandomAnimation(random);
        surface.SetSize(recipe.Width, recipe.Height);
        ASSERT_TRUE(Load(recipe, true));
        ReferenceComposer reference(recipe, BackPixel);
        const int frames = static_cast<int>(recipe.Frames.size());
        for (int tick = 0; tick < 2 * frames + 1; ++tick) {
            const int n = player.GIFCurrentFrame();
            if (frames == 1) {
                player.NextFrame();
            } else {
                ASSERT_TRUE(timer.Fire());
            }
            const std::vector<std::uint32_t>& expected = reference.Compose(n);
            ASSERT_EQ(Canvas(), expected) << "round " << round << ", frame " << n;
            ASSERT_EQ(Screen(), expected) << "round " << round << ", frame " << n;
        }
    }
}

TEST_F(GIFPlayerTest, GIFFrameRenderedComesInsideTheTickBeforePainting)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    std::vector<std::int16_t> frames;
    player.SetGIFFrameRenderedHandler([&](std::int16_t Frame) {
        frames.push_back(Frame);
        EXPECT_EQ(player.GIFCurrentFrame(), Frame);
        EXPECT_EQ(Canvas(), Pixels(Frame == 1 ? "rrrr/rrrr/rrrr/rrrr" : "gggg/gggg/gggg/gggg"));
        EXPECT_NE(Screen(), Canvas()) << "not painted yet";
    });
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(frames, (std::vector<std::int16_t>{1, 2}));
    EXPECT_EQ(player.GIFCurrentFrame(), 3);
    EXPECT_EQ(Screen(), Canvas());
}

TEST_F(GIFPlayerTest, HandlerErrorStopsTheTimerButReachesADirectCaller)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    player.SetGIFFrameRenderedHandler([](std::int16_t) { throw std::runtime_error("host failed"); });
    EXPECT_NO_THROW(timer.Fire());
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_THROW(player.NextFrame(), std::runtime_error);
}

// --- fitting and margins -----------------------------------------------------------

TEST_F(GIFPlayerTest, SmallPictureKeepsItsNaturalSizeCentredInTheBackColour)
{
    surface.SetSize(7, 6);
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 0)}), false));
    EXPECT_EQ(Screen(), Pixels("......./.rrrr../.rrrr../.rrrr../.rrrr../......."));
}

TEST_F(GIFPlayerTest, LargePictureIsShrunkWithItsAspectKeptAndCentred)
{
    surface.SetSize(4, 4);
    GifRecipe recipe;
    recipe.Width = 8;
    recipe.Height = 4;
    recipe.Palette = TestPalette();
    recipe.Frames = {SolidFrame(0, 0, 4, 4, 0), SolidFrame(4, 0, 4, 4, 1)};
    ASSERT_TRUE(Load(recipe, false));
    player.NextFrame();
    EXPECT_EQ(Screen(), Pixels("..../rrgg/rrgg/...."));
}

TEST_F(GIFPlayerTest, ResizeFitsThePictureAgain)
{
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 4)}), false));
    surface.SetSize(2, 3);
    player.Resize();
    EXPECT_EQ(Screen(), Pixels("yy/yy/.."));
    surface.SetSize(6, 4);
    player.Resize();
    EXPECT_EQ(Screen(), Pixels(".yyyy./.yyyy./.yyyy./.yyyy."));
}

TEST_F(GIFPlayerTest, ResizeBeforeAnyLoadFillsTheClientArea)
{
    surface.SetSize(3, 2);
    player.Resize();
    EXPECT_EQ(Screen(), Pixels(".../..."));
    player.Paint();
    EXPECT_EQ(Screen(), Pixels(".../..."));
}

TEST_F(GIFPlayerTest, BorderTakesRoomFromTheClientArea)
{
    surface.SetSize(6, 6);
    ASSERT_TRUE(Load(Recipe4x4({SolidFrame(0, 0, 4, 4, 3)}), false));
    player.SetBorderStyle(1);
    EXPECT_EQ(player.BorderStyle(), 1);
    EXPECT_EQ(surface.ClientWidth(), 4);
    EXPECT_EQ(Screen(), Pixels("wwww/wwww/wwww/wwww"));
    EXPECT_THROW(player.SetBorderStyle(70000), std::overflow_error);
    EXPECT_THROW(player.SetBorderStyle(2), std::out_of_range);
    EXPECT_EQ(player.BorderStyle(), 1);
}

// --- unloading and failures ----------------------------------------------------------

TEST_F(GIFPlayerTest, DestroyClearsTheControlAndKeepsTheFrameCounter)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    timer.Fire();
    timer.Fire();
    player.Destroy();
    EXPECT_FALSE(player.GIFLoaded());
    EXPECT_EQ(player.GIFFrames(), 0);
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(player.GIFCurrentFrame(), 3);
    EXPECT_EQ(player.GIFWidth(), 0);
    EXPECT_EQ(player.GIFCurrentFrameImage(), nullptr);
    EXPECT_EQ(Screen(), Pixels("..../..../..../...."));
    player.NextFrame();
    EXPECT_EQ(Screen(), Pixels("..../..../..../...."));
}

TEST_F(GIFPlayerTest, FailedLoadKeepsTheOldPicture)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    timer.Fire();
    resources.Add("BAD", "GIF", {'G', 'I', 'F', '8', '8', 'a', 0, 0});
    EXPECT_FALSE(player.LoadFromResource("BAD", "GIF"));
    EXPECT_FALSE(player.LoadFromFile("/nonexistent/banner.gif"));
    EXPECT_FALSE(player.GIFLoaded());
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_EQ(Canvas(), Pixels("rrrr/rrrr/rrrr/rrrr"));
    player.Play();
    EXPECT_FALSE(player.GIFIsPlaying());
    player.SetBackColor(OtherBack);
    player.Resize();
    EXPECT_EQ(Screen(), Pixels("rrrr/rrrr/rrrr/rrrr")) << "a new colour does not clear it either";
}

// Two small frames on a 32767 x 32767 screen: the document reads, but no
// surface can hold the screen. The loader answers False like any failed load.
TEST_F(GIFPlayerTest, AScreenTooLargeForTheSurfacesFailsToLoad)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    timer.Fire();
    GifRecipe huge = Recipe4x4({SolidFrame(0, 0, 4, 4, 1, 1, 10), SolidFrame(0, 0, 4, 4, 2, 1, 10)});
    huge.Width = 32767;
    huge.Height = 32767;
    const auto path = std::filesystem::path(KORVANE_TEST_OUTPUT_DIR) / "viewer-huge-screen.gif";
    std::filesystem::create_directories(path.parent_path());
    test_support::WriteBytes(path.string(), EncodeGif(huge));
    bool loaded = true;
    EXPECT_NO_THROW(loaded = player.LoadFromFile(path.string()));
    EXPECT_FALSE(loaded);
    resources.Add("HUGE", "GIF", EncodeGif(huge));
    EXPECT_NO_THROW(loaded = player.LoadFromResource("HUGE", "GIF"));
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(player.GIFLoaded());
    EXPECT_FALSE(player.GIFIsPlaying());
    player.Play();
    EXPECT_FALSE(player.GIFIsPlaying());
}

TEST_F(GIFPlayerTest, GIFWithoutFramesFailsToLoad)
{
    GifRecipe recipe = Recipe4x4({});
    EXPECT_FALSE(Load(recipe, true));
    EXPECT_FALSE(player.GIFLoaded());
    EXPECT_EQ(player.GIFCurrentFrameImage(), nullptr);
}

TEST_F(GIFPlayerTest, MissingResourceRaisesAfterStoppingTheTimer)
{
    ASSERT_TRUE(Load(ThreeFrames(), true));
    EXPECT_THROW(player.LoadFromResource("NONE", "GIF"), std::system_error);
    EXPECT_FALSE(player.GIFIsPlaying());
    EXPECT_FALSE(player.GIFLoaded());
}

TEST_F(GIFPlayerTest, LoadsFromAFile)
{
    const auto path = std::filesystem::path(KORVANE_TEST_OUTPUT_DIR) / "viewer-load.gif";
    std::filesystem::create_directories(path.parent_path());
    test_support::WriteBytes(path.string(), EncodeGif(ThreeFrames()));
    player.SetAutoPlay(false);
    ASSERT_TRUE(player.LoadFromFile(path.string()));
    EXPECT_EQ(player.GIFWidth(), 4);
    EXPECT_EQ(player.GIFHeight(), 4);
    EXPECT_EQ(Screen(), Pixels("rrrr/rrrr/rrrr/rrrr"));
}

// --- saved properties ------------------------------------------------------------------

TEST_F(GIFPlayerTest, SavedPropertiesRoundTripWithTheirDefaults)
{
    MapPropertyBag empty;
    player.ReadProperties(empty);
    EXPECT_FALSE(player.AutoPlay());
    EXPECT_EQ(player.BackColor(), DefaultBackColor);
    EXPECT_EQ(player.BorderStyle(), 0);
    EXPECT_TRUE(player.Enabled());

    MapPropertyBag saved;
    saved.values = {{"AutoPlay", 1}, {"BackColor", Back}, {"BorderStyle", 1}, {"Enabled", 0}};
    player.ReadProperties(saved);
    EXPECT_TRUE(player.AutoPlay());
    EXPECT_EQ(player.BackColor(), Back);
    EXPECT_EQ(player.BorderStyle(), 1);
    EXPECT_FALSE(player.Enabled());

    MapPropertyBag written;
    player.WriteProperties(written);
    EXPECT_EQ(written.written, (std::vector<std::string>{"AutoPlay", "BackColor", "BorderStyle", "Enabled"}));
    EXPECT_EQ(written.values, saved.values);

    saved.values["BorderStyle"] = 1 << 20;
    EXPECT_THROW(player.ReadProperties(saved), std::overflow_error);
}

}  // namespace
}  // namespace korvane::controls

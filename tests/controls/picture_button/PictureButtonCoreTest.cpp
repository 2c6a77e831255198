#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/picture_button/PictureButtonCore.h"
#include "tests/platform/fakes/FakePointer.h"
#include "tests/platform/fakes/FakeTimer.h"

namespace korvane::controls {
namespace {

constexpr platform::WindowId kButton = 42;
constexpr platform::WindowId kElsewhere = 7;

class SizedPicture final : public gdi::Picture {
public:
    SizedPicture(int width, int height) : width_(width), height_(height) {}
    gdi::PictureKind Kind() const override { return gdi::PictureKind::Icon; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    gdi::HBITMAP Handle() const override { return {}; }
    std::vector<std::uint32_t> Argb32() const override
    {
        return std::vector<std::uint32_t>(static_cast<std::size_t>(width_ * height_));
    }

private:
    int width_;
    int height_;
};

class RecordingSurface final : public PictureButtonSurface {
public:
    platform::WindowId Id() const override { return kButton; }
    void Clear() override { shown.reset(); }
    void Draw(const gdi::StdPicture& picture, int, int) override
    {
        shown = picture;
        ++draws;
    }
    void SetWidth(int w) override { width = w; }
    void SetHeight(int h) override { height = h; }

    gdi::StdPicture shown;
    int draws = 0;
    int width = 0;
    int height = 0;
};

class PictureButtonCoreTest : public ::testing::Test {
protected:
    PictureButtonCoreTest() : core_(surface_, pointer_, timers_)
    {
        PictureButtonEvents& events = core_.Events();
        events.Click = [this] { log_.push_back("Click"); };
        events.DblClick = [this] { log_.push_back("DblClick"); };
        events.MouseMove = [this](std::int16_t&, std::int16_t&, float&, float&) { log_.push_back("MouseMove"); };
        events.MouseUp = [this](std::int16_t&, std::int16_t&, float&, float&) { log_.push_back("MouseUp"); };
        events.MouseDown = [this](std::int16_t&, std::int16_t&, float&, float&) { log_.push_back("MouseDown"); };
        events.MouseEnter = [this] { log_.push_back("MouseEnter:" + Shown()); };
        events.MouseLeave = [this] { log_.push_back("MouseLeave:" + Shown()); };
        events.PropertyChanged = [this](const std::string& name) { log_.push_back("Changed " + name); };
        core_.ReadProperties({{"Picture", normal_}, {"PictureHover", hover_}, {"PictureDown", down_}});
        core_.Resize();
        log_.clear();
    }

    void Over(bool over) { pointer_.windowUnderPointer = over ? kButton : kElsewhere; }
    void Move(std::int16_t button) { core_.MouseMove(button, 0, 15, 15); }
    void Tick() { timers_.made.front()->Fire(); }
    std::string Shown() const
    {
        if (surface_.shown == normal_) return "normal";
        if (surface_.shown == hover_) return "hover";
        if (surface_.shown == down_) return "down";
        return surface_.shown ? "other" : "none";
    }
    std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

    const gdi::StdPicture normal_ = std::make_shared<SizedPicture>(151, 40);
    const gdi::StdPicture hover_ = std::make_shared<SizedPicture>(160, 44);
    const gdi::StdPicture down_ = std::make_shared<SizedPicture>(151, 38);
    RecordingSurface surface_;
    platform::fakes::FakePointer pointer_;
    platform::fakes::FakeTimerFactory timers_;
    PictureButtonCore core_;
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(PictureButtonCoreTest, PollsEveryMillisecondOnlyAfterAnArrival)
{
    ASSERT_EQ(timers_.made.size(), 1u);
    EXPECT_EQ(timers_.made.front()->interval, 1);
    EXPECT_FALSE(core_.Polling());
    EXPECT_EQ(Shown(), "normal");
}

TEST_F(PictureButtonCoreTest, EnterClickLeave)
{
    Over(true);
    Move(0);
    EXPECT_EQ(TakeLog(), (Log{"MouseMove", "MouseEnter:normal"}));
    EXPECT_EQ(Shown(), "hover");
    EXPECT_TRUE(core_.Polling());
    Move(0);
    EXPECT_EQ(TakeLog(), (Log{"MouseMove"}));

    core_.MouseDown(1, 0, 15, 15);
    EXPECT_EQ(Shown(), "down");
    core_.MouseUp(1, 0, 15, 15);
    EXPECT_EQ(Shown(), "hover");
    core_.Click();
    EXPECT_EQ(TakeLog(), (Log{"MouseDown", "MouseUp", "Click"}));

    Tick();
    EXPECT_TRUE(TakeLog().empty());
    Over(false);
    Tick();
    EXPECT_EQ(TakeLog(), (Log{"MouseLeave:hover"}));
    EXPECT_EQ(Shown(), "normal");
    EXPECT_FALSE(core_.Polling());
    EXPECT_FALSE(core_.MouseOver());
}

TEST_F(PictureButtonCoreTest, OtherButtonsChangeNoPictureUntilReleased)
{
    Over(true);
    Move(0);
    core_.MouseDown(2, 0, 0, 0);
    EXPECT_EQ(Shown(), "hover");
    Move(2);
    Move(3);
    EXPECT_EQ(Shown(), "hover");
    Over(false);
    core_.MouseUp(2, 0, 0, 0);
    EXPECT_EQ(Shown(), "normal");
    Over(true);
    core_.MouseDown(4, 0, 0, 0);
    core_.MouseUp(4, 0, 0, 0);
    EXPECT_EQ(Shown(), "hover");
}

TEST_F(PictureButtonCoreTest, DraggingOutAndBackWithTheButtonHeld)
{
    Over(true);
    Move(0);
    core_.MouseDown(1, 0, 0, 0);
    TakeLog();

    Over(false);
    Move(1);
    EXPECT_EQ(Shown(), "normal");
    EXPECT_FALSE(core_.MouseOver());
    EXPECT_TRUE(core_.Polling()) << "a move outside leaves polling on";
    Tick();
    EXPECT_EQ(TakeLog(), (Log{"MouseMove", "MouseLeave:normal"}));
    EXPECT_FALSE(core_.Polling());

    Over(true);
    Move(1);
    EXPECT_EQ(Shown(), "down");
    EXPECT_EQ(TakeLog(), (Log{"MouseMove"})) << "no MouseEnter while the button is held";
    core_.MouseUp(1, 0, 0, 0);
    EXPECT_EQ(Shown(), "hover");
    Move(0);
    EXPECT_EQ(TakeLog(), (Log{"MouseUp", "MouseMove", "MouseEnter:hover"}));
    EXPECT_TRUE(core_.Polling());
}

TEST_F(PictureButtonCoreTest, ReleasingOutsideShowsTheNormalPicture)
{
    Over(true);
    Move(0);
    core_.MouseDown(1, 0, 0, 0);
    Over(false);
    core_.MouseUp(1, 0, 0, 0);
    EXPECT_EQ(Shown(), "normal");
}

TEST_F(PictureButtonCoreTest, TheHostsButtonValueDecides)
{
    core_.Events().MouseDown = [](std::int16_t& Button, std::int16_t&, float&, float&) { Button = 2; };
    core_.MouseDown(1, 0, 0, 0);
    EXPECT_EQ(Shown(), "normal");
    core_.Events().MouseMove = [](std::int16_t& Button, std::int16_t&, float&, float& x) {
        Button = 0;
        x = -1;
    };
    Over(true);
    Move(1);
    EXPECT_EQ(Shown(), "hover") << "the move counts as one without a button";
}

TEST_F(PictureButtonCoreTest, SettersRedrawTheCurrentStateAndNotifyTheHost)
{
    const gdi::StdPicture other = std::make_shared<SizedPicture>(5, 5);
    const int before = surface_.draws;
    core_.SetPictureDown(other);
    EXPECT_EQ(Shown(), "normal");
    EXPECT_EQ(surface_.draws, before + 1);
    core_.SetPictureHover(other);
    core_.SetPicture(other);
    EXPECT_EQ(TakeLog(), (Log{"Changed PictureDown", "Changed PictureHover", "Changed Picture"}));
    EXPECT_EQ(surface_.shown, other);
    EXPECT_EQ(core_.PictureDown(), other);
}

TEST_F(PictureButtonCoreTest, TakesTheSizeOfEachStatesPicture)
{
    EXPECT_EQ(std::pair(surface_.width, surface_.height), std::pair(151, 40));
    Over(true);
    Move(0);
    EXPECT_EQ(std::pair(surface_.width, surface_.height), std::pair(160, 44));
    core_.MouseDown(1, 0, 0, 0);
    EXPECT_EQ(std::pair(surface_.width, surface_.height), std::pair(151, 38));
    surface_.width = 500;  // the host widens the control
    core_.Resize();
    EXPECT_EQ(surface_.width, 151);
}

TEST_F(PictureButtonCoreTest, EmptyPicturesKeepTheHolderSize)
{
    core_.SetPicture({});
    EXPECT_EQ(Shown(), "none");
    EXPECT_EQ(std::pair(surface_.width, surface_.height), std::pair(151, 40));

    RecordingSurface fresh;
    PictureButtonCore empty(fresh, pointer_, timers_);
    empty.Resize();
    EXPECT_EQ(std::pair(fresh.width, fresh.height),
              std::pair(PictureButtonCore::kHolderWidth, PictureButtonCore::kHolderHeight));
}

TEST_F(PictureButtonCoreTest, SavedPropertiesLoadWithoutDrawing)
{
    RecordingSurface fresh;
    PictureButtonCore loaded(fresh, pointer_, timers_);
    loaded.ReadProperties({{"Picture", normal_}, {"PictureDown", down_}});
    EXPECT_EQ(fresh.draws, 0);
    EXPECT_EQ(loaded.PictureHover(), nullptr);
    PictureBag bag;
    loaded.WriteProperties(bag);
    EXPECT_EQ(bag, (PictureBag{{"Picture", normal_}, {"PictureHover", nullptr}, {"PictureDown", down_}}));
}

TEST_F(PictureButtonCoreTest, FailingDrawStepsDoNotStopTheOthers)
{
    class ThrowingSurface final : public PictureButtonSurface {
    public:
        platform::WindowId Id() const override { return kButton; }
        void Clear() override { throw std::runtime_error("no surface"); }
        void Draw(const gdi::StdPicture&, int, int) override { throw std::runtime_error("no drawing"); }
        void SetWidth(int w) override { width = w; }
        void SetHeight(int) override { throw std::runtime_error("no size"); }
        int width = 0;
    } throwing;
    PictureButtonCore core(throwing, pointer_, timers_);
    core.ReadProperties({{"Picture", normal_}});
    EXPECT_NO_THROW(core.Resize());
    EXPECT_EQ(throwing.width, 151);
}

TEST_F(PictureButtonCoreTest, ClickAndDoubleClickOnlyForward)
{
    core_.Click();
    core_.DblClick();
    EXPECT_EQ(TakeLog(), (Log{"Click", "DblClick"}));
    EXPECT_EQ(Shown(), "normal");
}

}  // namespace
}  // namespace korvane::controls

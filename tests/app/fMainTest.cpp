// The main window on the offscreen platform, with fake platform services.
#include <cmath>
#include <map>
#include <optional>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/BrandingRecord.h"
#include "app/fAbout.h"
#include "app/fBMIMsg.h"
#include "app/fMain.h"
#include "app/fQuickHelp.h"
#include "app/mStartup.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtSettingsStore.h"
#include "tests/platform/fakes/FakeServices.h"
#include "tests/support/QtTestApp.h"

namespace korvane::app {
namespace {

using platform::fakes::FakeTimer;

class fMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        korvane::test_support::TestApp();
        static const bool styled = [] {
            QApplication::setStyle(QStyleFactory::create("Fusion"));
            QLocale::setDefault(QLocale::c());
            return true;
        }();
        (void)styled;
    }

    fMain& Open()
    {
        window_ = std::make_unique<fMain>(fakes_.services());
        return *window_;
    }
    template <class T>
    T* Find(const char* name)
    {
        T* found = window_->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLabel* Label(const char* name) { return Find<QLabel>(name); }
    QString Caption(const char* name) { return Label(name)->text(); }
    QColor TextColour(const char* name) { return Label(name)->palette().color(QPalette::WindowText); }
    FakeTimer& Timer1()
    {
        for (FakeTimer* timer : fakes_.timers.made) {
            if (timer->interval == 250) return *timer;
        }
        throw std::logic_error("no blink timer");
    }
    void SetWeight(const char* text) { Find<QLineEdit>("Text1")->setText(text); }
    void ChooseKilograms(bool kilograms)
    {
        QTest::mouseClick(Find<QRadioButton>(kilograms ? "optWeightUnit_0" : "optWeightUnit_1"), Qt::LeftButton);
    }
    void SelectHeight(int index) { Find<QListWidget>("List1")->setCurrentRow(index); }
    int SelectedHeight()
    {
        const auto selected = Find<QListWidget>("List1")->selectedItems();
        return selected.isEmpty() ? -1 : Find<QListWidget>("List1")->row(selected.front());
    }
    void Calculate()
    {
        auto* button = Find<controls::PictureButton>("btnCalculate");
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    }
    std::string Saved(const std::string& key)
    {
        return fakes_.settings.GetSetting("Korvane", "Settings", key, "<none>");
    }
    void SaveSetting(const std::string& key, const std::string& value)
    {
        fakes_.settings.values[{"Korvane", "Settings", key}] = value;
    }

    platform::fakes::FakeServices fakes_;
    std::unique_ptr<fMain> window_;
};

TEST_F(fMainTest, FirstStart)
{
    fMain& window = Open();
    EXPECT_EQ(window.windowTitle(), "Korvane");
    EXPECT_EQ(window.size(), QSize(488, 405));
    EXPECT_EQ(Find<QLineEdit>("Text1")->text(), "140");
    EXPECT_TRUE(Find<QRadioButton>("optWeightUnit_1")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("optWeightUnit_0")->isChecked());
    EXPECT_EQ(SelectedHeight(), 20);
    EXPECT_EQ(Caption("lblWeightUnit"), "Lbs");
    EXPECT_EQ(Caption("lblName_0"), "(Your company name & link or small banner here)");
    EXPECT_EQ(Caption("lblName_1"), "Korvane");
    EXPECT_EQ(Caption("lblBMI"), "");
    EXPECT_EQ(Caption("lblIWeight"), "");
    EXPECT_FALSE(Timer1().enabled);
    EXPECT_EQ(fakes_.settings.saves, 0);
    EXPECT_TRUE(fakes_.messages.shown.empty());
    // An empty record is left beside the program.
    EXPECT_TRUE(fakes_.files.files.contains("C:\\Program Files\\Korvane\\4.dat"));
}

TEST_F(fMainTest, TheHeightList)
{
    Open();
    auto* list = Find<QListWidget>("List1");
    ASSERT_EQ(list->count(), 36);
    EXPECT_EQ(list->item(0)->text(), "4'");
    EXPECT_EQ(list->item(1)->text(), "4' 1\"");
    EXPECT_EQ(list->item(35)->text(), "6' 11\"");
    EXPECT_FALSE(list->isSortingEnabled());
    window_->show();
    EXPECT_FALSE(Find<QRadioButton>("optHeightUnit_0")->isVisible());
    EXPECT_FALSE(Find<QRadioButton>("optHeightUnit_1")->isVisible());
    EXPECT_TRUE(Find<QRadioButton>("optHeightUnit_0")->isChecked());
}

TEST_F(fMainTest, SavedHeights)
{
    struct Case {
        const char* saved;
        int index;
    };
    const Case cases[] = {{"35", 35}, {"36", -1}, {"-5", -1}, {"-1", -1}, {"tall", 0}, {"2.5", 2}, {"3.5", 4}};
    for (const Case& c : cases) {
        SaveSetting("Height", c.saved);
        Open();
        EXPECT_EQ(SelectedHeight(), c.index) << c.saved;
    }
}

TEST_F(fMainTest, TheSavedWeightIsShownAsTyped)
{
    SaveSetting("Weight", "seventy kilos");
    Open();
    EXPECT_EQ(Find<QLineEdit>("Text1")->text(), "seventy kilos");
}

TEST_F(fMainTest, TheUnitLabelFollowsTheUnitButNotTheNumber)
{
    Open();
    ChooseKilograms(true);
    EXPECT_EQ(Caption("lblWeightUnit"), "Kgs.");
    EXPECT_EQ(Find<QLineEdit>("Text1")->text(), "140");
    ChooseKilograms(false);
    EXPECT_EQ(Caption("lblWeightUnit"), "Lbs.");
}

TEST_F(fMainTest, CalculateInPounds)
{
    Open();
    Calculate();
    EXPECT_EQ(Caption("lblBMI"), "21.33");
    EXPECT_EQ(TextColour("lblBMI"), QColor(0, 128, 0));
    EXPECT_EQ(Caption("lblIWeight"), "Weight for 22.5 BMI : 147.68 lbs");
    EXPECT_FALSE(Timer1().enabled);
    EXPECT_EQ(Saved("Weight"), "140");
    EXPECT_EQ(Saved("Height"), "20");
    EXPECT_EQ(Label("lblBMI")->accessibleName(), "21.33, Normal");
}

TEST_F(fMainTest, CalculateInKilogramsBlinks)
{
    Open();
    ChooseKilograms(true);
    Calculate();
    EXPECT_EQ(Caption("lblBMI"), "46.93");
    EXPECT_EQ(TextColour("lblBMI"), QColor(255, 0, 0));
    EXPECT_EQ(Caption("lblIWeight"), "Weight for 22.5 BMI : 67.13 kgs.");
    EXPECT_TRUE(Timer1().enabled);
    EXPECT_EQ(Label("lblBMI")->accessibleName(), "46.93, Extreme");

    Timer1().Fire();
    EXPECT_EQ(TextColour("lblBMI"), QColor(255, 0, 0));
    Timer1().Fire();
    EXPECT_EQ(TextColour("lblBMI"), QColor(175, 0, 0));
    Timer1().Fire();
    EXPECT_EQ(TextColour("lblBMI"), QColor(255, 0, 0));
    EXPECT_EQ(fakes_.events.calls, 3) << "each tick lets pending events run";

    // A lower result stops the blinking and keeps its own colour.
    ChooseKilograms(false);
    Calculate();
    EXPECT_FALSE(Timer1().enabled);
    EXPECT_EQ(TextColour("lblBMI"), QColor(0, 128, 0));
}

TEST_F(fMainTest, TheBandsColourTheResult)
{
    struct Case {
        const char* weight = nullptr;
        int height = 0;
        QColor colour;
    };
    // At 68 inches a BMI of b needs b * 4624 / 704.5 pounds.
    const Case cases[] = {{"100", 20, QColor(0, 0, 255)},
                          {"131.28", 20, QColor(0, 128, 0)},
                          {"170", 20, QColor(255, 128, 64)},
                          {"200", 20, QColor(200, 0, 0)},
                          {"262.55", 20, QColor(255, 0, 0)}};
    Open();
    for (const Case& c : cases) {
        SetWeight(c.weight);
        SelectHeight(c.height);
        Calculate();
        EXPECT_EQ(TextColour("lblBMI"), c.colour) << c.weight;
    }
}

TEST_F(fMainTest, FailedChecksLeaveEverythingAsItWas)
{
    Open();
    ChooseKilograms(true);
    Calculate();
    const int saves = fakes_.settings.saves;
    struct Case {
        const char* weight;
        int height;
        const char* message;
    };
    const Case cases[] = {{"kg", 20, "Please specify weight"},    {"", 20, "Please specify weight"},
                          {"0", 20, "Please specify weight"},     {"-3", 20, "Please specify weight"},
                          {"1E308", 20, "Please specify weight"}, {"140", -1, "Please specify height"}};
    for (const Case& c : cases) {
        SetWeight(c.weight);
        SelectHeight(c.height);
        if (c.height < 0) Find<QListWidget>("List1")->clearSelection();
        Calculate();
        ASSERT_FALSE(fakes_.messages.shown.empty());
        EXPECT_EQ(fakes_.messages.shown.back().text, c.message);
        EXPECT_EQ(fakes_.messages.shown.back().title, "Korvane");
        EXPECT_EQ(fakes_.messages.shown.back().icon, platform::MessageIcon::Critical);
        EXPECT_EQ(Caption("lblBMI"), "46.93") << c.weight;
        EXPECT_EQ(Caption("lblIWeight"), "Weight for 22.5 BMI : 67.13 kgs.");
        EXPECT_TRUE(Timer1().enabled) << "the earlier result goes on blinking";
        EXPECT_EQ(fakes_.settings.saves, saves);
    }
    EXPECT_EQ(fakes_.messages.shown.size(), std::size(cases));
}

TEST_F(fMainTest, SavesTheWeightAsTypedAndTheHeightAsAnIndex)
{
    Open();
    SetWeight("1 50.5kg");
    SelectHeight(3);
    Calculate();
    EXPECT_EQ(Saved("Weight"), "1 50.5kg");
    EXPECT_EQ(Saved("Height"), "3");
}

TEST_F(fMainTest, EnterInTheWeightBoxOrTheListCalculates)
{
    Open();
    window_->show();
    QTest::keyClick(Find<QLineEdit>("Text1"), Qt::Key_Return);
    EXPECT_EQ(Caption("lblBMI"), "21.33");
    SelectHeight(0);
    QTest::keyClick(Find<QListWidget>("List1"), Qt::Key_Enter);
    EXPECT_EQ(Caption("lblBMI"), "42.81");
}

TEST_F(fMainTest, TabOrder)
{
    Open();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QApplication::setActiveWindow(window_.get());
    Find<QLineEdit>("Text1")->setFocus();
    const char* const order[] = {"optWeightUnit_1", "List1",     "btnCalculate", "btnForm_0",
                                 "btnForm_1",       "btnForm_2", "Text1"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
}

TEST_F(fMainTest, EveryControlHasAnAccessibleName)
{
    Open();
    for (QWidget* child : window_->findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() || child->objectName().startsWith("qt_")) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << child->objectName().toStdString();
    }
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Find<controls::PictureButton>("btnCalculate"));
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), "Calculate BMI");
}

TEST_F(fMainTest, ControlsAtTheirPlaces)
{
    Open();
    struct Place {
        const char* name = nullptr;
        QRect geometry;
    };
    // Twips of the design divided by 15.
    const Place places[] = {
        {"btnForm_0", {398, 11, 21, 21}},
        {"btnForm_1", {423, 11, 21, 21}},
        {"btnForm_2", {448, 11, 21, 21}},
        {"Frame2", {245, 88, 213, 142}},
        {"List1", {17, 42, 181, 71}},
        {"lblCaptions_1", {56, 6, 104, 16}},
        {"Frame1", {24, 88, 209, 142}},
        {"optWeightUnit_1", {23, 107, 62, 17}},
        {"optWeightUnit_0", {117, 107, 71, 17}},
        {"Text1", {17, 49, 93, 43}},
        {"lblCaptions_0", {49, 6, 115, 16}},
        {"lblWeightUnit", {122, 50, 65, 41}},
        {"Frame4", {24, 238, 434, 110}},
        {"btnCalculate", {12, 36, 151, 40}},
        {"lblCaptions_2", {164, 6, 104, 15}},
        {"lblBMI", {179, 28, 241, 55}},
        {"lblName_1", {398, 39, 70, 33}},
        {"lblName_0", {16, 8, 375, 60}},
        {"lblRange_0", {36, 373, 87, 13}},
        {"lblRange_4", {403, 373, 65, 13}},
        {"lblLegend_0", {16, 370, 20, 20}},
        {"lblLegend_4", {384, 370, 20, 20}},
    };
    for (const Place& place : places) {
        EXPECT_EQ(Find<QWidget>(place.name)->geometry(), place.geometry) << place.name;
    }
    EXPECT_EQ(Label("lblLegend_2")->palette().color(QPalette::Window), QColor(255, 128, 64));
    EXPECT_EQ(Find<QWidget>("Frame1")->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(Find<QWidget>("List1")->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(Label("lblCaptions_0")->palette().color(QPalette::Window), QColor(224, 224, 224));
    EXPECT_EQ(Label("lblName_0")->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(TextColour("lblName_0"), QColor(Qt::white));
    // The 22.5-BMI weight is written in black: the frame's own grey could not be read, white too faintly.
    EXPECT_EQ(TextColour("lblIWeight"), QColor(Qt::black));
    EXPECT_EQ(QFontInfo(Find<QWidget>("Text1")->font()).pixelSize(), 35);  // 26.25 points at 96 dots per inch
    EXPECT_EQ(QFontInfo(Label("lblBMI")->font()).pixelSize(), 55);
    EXPECT_TRUE(Label("lblBMI")->font().bold());
    EXPECT_EQ(QFontInfo(Find<QWidget>("List1")->font()).pixelSize(), 19);
    EXPECT_EQ(Caption("lblRange_3"), " = Obese");
    EXPECT_EQ(Find<QGroupBox>("Frame4")->title(), "Your BMI");
}

// The option buttons fill themselves with the Button role; the design's
// grey must be what they paint, not the style's button face.
TEST_F(fMainTest, TheUnitOptionsPaintTheDesignGrey)
{
    Open();
    for (const char* name : {"optWeightUnit_0", "optWeightUnit_1"}) {
        auto* option = Find<QRadioButton>(name);
        const QImage shot = option->grab().toImage();
        EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(192, 192, 192)) << name;
    }
}

// The 22.5-BMI weight sits at the bottom of its frame: its whole line of
// text must lie inside the frame's border, not be cut by it.
TEST_F(fMainTest, TheReferenceWeightShowsWhole)
{
    Open();
    SetWeight("150");
    SelectHeight(20);
    Calculate();
    QLabel* label = Label("lblIWeight");
    ASSERT_FALSE(label->text().isEmpty());
    const QRect text = label->fontMetrics().boundingRect(label->text());
    EXPECT_GE(label->height(), label->fontMetrics().height());
    EXPECT_GE(label->width(), text.width());
    EXPECT_LE(label->geometry().bottom(), Find<QGroupBox>("Frame4")->height() - 3) << "inside the frame's border";
    EXPECT_GE(label->y(), Find<QGroupBox>("Frame4")->height() / 2);
}

// Contrast ratio of two colours as WCAG 2 computes it.
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct TextColours {
    QColor text;
    std::optional<QColor> back;  // none: drawn over the window's artwork
    bool large = false;          // 18 points, or 14 points bold
};

// The colours each widget with text draws it in, and what lies behind.
std::map<QString, TextColours> ColoursOfTexts(const QWidget& window, const QWidget* artwork)
{
    std::map<QString, TextColours> found;
    for (const QWidget* widget : window.findChildren<const QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
        QString text;
        QPalette::ColorRole fore = widget->foregroundRole();
        std::optional<QColor> back;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
        if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) text = frame->title();
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) text = edit->text();
        if (const auto* list = qobject_cast<const QListWidget*>(widget); list && list->count() > 0)
            text = list->item(0)->text();
        if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QListWidget*>(widget)) {
            fore = QPalette::Text;
            back = widget->palette().color(QPalette::Base);
        }
        if (qobject_cast<const QPushButton*>(widget)) back = widget->palette().color(QPalette::Button);
        if (text.isEmpty()) continue;
        for (const QWidget* under = widget; !back && under != nullptr; under = under->parentWidget()) {
            if (under == artwork) break;
            if (under->autoFillBackground() || under->isWindow())
                back = under->palette().color(under->backgroundRole());
        }
        const QFont font = widget->font();
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
        found[widget->objectName()] = {widget->palette().color(fore), back,
                                       pixels >= 24 || (font.bold() && pixels >= 18.66)};
    }
    return found;
}

// Under a dark desktop scheme every window keeps its design colours, and
// all of its text stays readable: 4.5:1, or 3:1 for large text.
TEST_F(fMainTest, EveryTextKeepsItsContrastUnderADarkTheme)
{
    const auto coloursOfEveryWindow = [this] {
        Open();
        fQuickHelp help(nullptr, "Korvane");
        fAbout about(nullptr, "Korvane", "https://korvane.example",
                     {fakes_.registry, fakes_.files, fakes_.processes, fakes_.messages});
        fBMIMsg promotion(nullptr, "Korvane", fakes_.shell);
        std::map<QString, TextColours> all = ColoursOfTexts(*window_, window_.get());
        const std::pair<QString, const QWidget*> windows[] = {
            {"fQuickHelp", &help}, {"fAbout", &about}, {"fBMIMsg", &promotion}};
        for (const auto& [windowName, window] : windows) {
            for (auto& [name, colours] : ColoursOfTexts(*window, nullptr))
                all[windowName + "/" + name] = colours;
        }
        window_.reset();
        return all;
    };
    const QPalette light = QApplication::palette();
    const auto designed = coloursOfEveryWindow();
    QPalette dark = light;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(34, 34, 34)},
                                       {QPalette::WindowText, QColor(230, 230, 230)},
                                       {QPalette::Button, QColor(53, 53, 53)},
                                       {QPalette::ButtonText, QColor(230, 230, 230)},
                                       {QPalette::Base, QColor(20, 20, 20)},
                                       {QPalette::Text, QColor(230, 230, 230)}})
        dark.setColor(role, colour);
    QApplication::setPalette(dark);
    const auto underDark = coloursOfEveryWindow();
    QApplication::setPalette(light);

    ASSERT_GT(designed.size(), 15U);
    ASSERT_EQ(underDark.size(), designed.size());
    for (const auto& [name, colours] : underDark) {
        const TextColours& design = designed.at(name);
        EXPECT_EQ(colours.text, design.text) << name.toStdString();
        EXPECT_EQ(colours.back, design.back) << name.toStdString();
        // The promotional window keeps the colours of its design.
        if (!colours.back || name.startsWith("fBMIMsg/")) continue;
        EXPECT_GE(Contrast(colours.text, *colours.back), colours.large ? 3.0 : 4.5)
            << name.toStdString() << ": " << colours.text.name().toStdString() << " on "
            << colours.back->name().toStdString();
    }
}

TEST_F(fMainTest, ABrandedBannerPicture)
{
    BrandingRecord record;
    record.CompanyText = std::string("   ") + char(32 + 'X') + " ";
    record.TitleText = std::string("   ") + char(32 + 'T') + " ";
    record.ShowPicture = 1;
    record.BannerFile = std::string("   ") + char(32 + 'b') + " ";
    record.CompanyFontSize = 0;  // refused: the design size stays
    record.TitleFontSize = 12;
    fakes_.files.files["C:\\Program Files\\Korvane\\4.dat"] = SerializeBrandingRecord(record);
    QImage banner(100, 30, QImage::Format_ARGB32);
    banner.fill(Qt::yellow);
    fakes_.pictures.pictures["C:\\Program Files\\Korvane\\b"] = std::make_shared<platform::qt::QtPicture>(banner);
    Open();
    window_->show();
    QLabel* image = Label("imBanner");
    EXPECT_TRUE(image->isVisible());
    EXPECT_TRUE(image->isEnabled());
    EXPECT_EQ(image->geometry(), QRect(16, 8, 100, 30));
    EXPECT_EQ(Caption("lblName_0"), "X");
    EXPECT_EQ(Caption("lblName_1"), "T");
    EXPECT_EQ(QFontInfo(Label("lblName_0")->font()).pixelSize(), 23);
    EXPECT_EQ(QFontInfo(Label("lblName_1")->font()).pixelSize(), 16);
    // The picture is in front of the banner text.
    EXPECT_EQ(window_->childAt(20, 12), image);
}

TEST_F(fMainTest, ABannerPictureLargerThanTheBannerStaysBehindTheButtonsAndFrames)
{
    BrandingRecord record;
    record.ShowPicture = 1;
    record.BannerFile = std::string("   ") + char(32 + 'b') + " ";
    fakes_.files.files["C:\\Program Files\\Korvane\\4.dat"] = SerializeBrandingRecord(record);
    QImage banner(488, 405, QImage::Format_ARGB32);
    banner.fill(Qt::yellow);
    fakes_.pictures.pictures["C:\\Program Files\\Korvane\\b"] = std::make_shared<platform::qt::QtPicture>(banner);
    Open();
    window_->show();
    QLabel* image = Label("imBanner");
    EXPECT_EQ(window_->childAt(20, 12), image) << "in front of the banner text";
    // The picture lies over the title line and the legend, but the windowed
    // controls (the buttons, the frames with the inputs) stay above it.
    EXPECT_EQ(window_->childAt(405, 50), image);
    EXPECT_EQ(window_->childAt(20, 380), image);
    EXPECT_EQ(window_->childAt(458, 21), Find<QWidget>("btnForm_2"));
    EXPECT_EQ(window_->childAt(408, 21), Find<QWidget>("btnForm_0"));
    for (const char* frame : {"Frame1", "Frame2", "Frame4"}) {
        const QWidget* inFrame = window_->childAt(Find<QWidget>(frame)->geometry().center());
        ASSERT_NE(inFrame, nullptr) << frame;
        EXPECT_TRUE(inFrame == Find<QWidget>(frame) || Find<QWidget>(frame)->isAncestorOf(inFrame)) << frame;
    }
}

TEST_F(fMainTest, AMissingBannerPictureLeavesAnEmptyVisibleImage)
{
    BrandingRecord record;
    record.ShowPicture = 1;
    record.BannerFile = std::string("   ") + char(32 + 'b') + " ";
    fakes_.files.files["C:\\Program Files\\Korvane\\4.dat"] = SerializeBrandingRecord(record);
    Open();
    window_->show();
    EXPECT_TRUE(Label("imBanner")->isVisible());
    EXPECT_EQ(fakes_.pictures.requested, std::vector<std::string>{"C:\\Program Files\\Korvane\\b"});
}

TEST_F(fMainTest, TheWindowButtons)
{
    Open();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* close = Find<controls::PictureButton>("btnForm_2");
    EXPECT_EQ(close->size(), QSize(21, 21));
    QTest::mouseClick(Find<controls::PictureButton>("btnForm_0"), Qt::LeftButton);
    EXPECT_TRUE(window_->isVisible());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(fMainTest, RendersThePngOfTheMainWindow)
{
    Open();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QDir().mkpath(KORVANE_TEST_OUTPUT_DIR);
    const QImage first = window_->grab().toImage();
    EXPECT_TRUE(first.save(KORVANE_TEST_OUTPUT_DIR "/main-window.png"));
    EXPECT_EQ(first.size(), QSize(488, 405));
    ChooseKilograms(true);
    Calculate();
    const QImage result = window_->grab().toImage();
    EXPECT_TRUE(result.save(KORVANE_TEST_OUTPUT_DIR "/main-window-result.png"));
    // The legend swatch and the banner carry their colours on screen.
    EXPECT_EQ(QColor(first.pixel(25, 379)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(first.pixel(393, 379)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(first.pixel(30, 12)), QColor(128, 128, 128));
}

TEST_F(fMainTest, SavedSettingsSurviveARestart)
{
    QTemporaryDir dir;
    platform::qt::QtSettingsStore store(dir.filePath("settings.ini"));
    platform::Services services = fakes_.services();
    platform::Services real{store,
                            services.messages,
                            services.files,
                            services.encoding,
                            services.pointer,
                            services.timers,
                            services.events,
                            services.pictures,
                            services.menus,
                            services.shell,
                            services.processes,
                            services.registry,
                            services.resources};
    {
        const auto first = Main(real);
        EXPECT_TRUE(first->isVisible());
        first->findChild<QLineEdit*>("Text1")->setText("155");
        first->findChild<QListWidget*>("List1")->setCurrentRow(25);
        QTest::mouseClick(first->findChild<controls::PictureButton*>("btnCalculate"), Qt::LeftButton);
    }
    // A new store on the same file, as the next run of the program has.
    platform::qt::QtSettingsStore again(dir.filePath("settings.ini"));
    const auto second = Main({again, services.messages, services.files, services.encoding, services.pointer,
                              services.timers, services.events, services.pictures, services.menus, services.shell,
                              services.processes, services.registry, services.resources});
    EXPECT_EQ(second->findChild<QLineEdit*>("Text1")->text(), "155");
    EXPECT_EQ(second->findChild<QListWidget*>("List1")->currentRow(), 25);
}

}  // namespace
}  // namespace korvane::app

#include "app/fMain.h"

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <optional>
#include <utility>

#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>

#include "app/Captions.h"
#include "app/FormStyle.h"
#include "app/HeightList.h"
#include "app/WindowPalette.h"
#include "platform/qt/QtPicture.h"

static void InitArtwork()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(korvane_artwork);
        return true;
    }();
    (void)once;
}

namespace korvane::app {
namespace {

constexpr const char* kSettingsApp = "Korvane";
constexpr const char* kSettingsSection = "Settings";
constexpr QSize kClientSize(488, 405);
const QColor kFormBack(224, 224, 224);
const QColor kFrameBack(128, 128, 128);
const QColor kInputBack(192, 192, 192);

// Layouts are designed in twips; 15 make one pixel at 96 dots per inch.
constexpr int Px(int twips)
{
    return (twips + 7) / 15;
}

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

// The small font of controls that set none of their own.
QFont ControlFont()
{
    return DesignFont(Face::Tahoma, 8.25, false);
}

QLabel* MakeCaption(QWidget* parent, const char* name, const char* caption)
{
    QLabel* label = MakeLabel(parent, name, caption, DesignFont(Face::Verdana, 9, true));
    label->setAlignment(Qt::AlignCenter);
    SetBackColour(label, kFormBack);
    return label;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const char* caption)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setFont(DesignFont(Face::TimesNewRoman, 12, false));
    SetBackColour(frame, kFrameBack);
    SetTextColour(frame, Qt::black);
    return frame;
}

QRadioButton* MakeOption(QWidget* parent, const char* name, const char* caption)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    option->setFont(ControlFont());
    // An option button fills itself with the Button role, not Window.
    SetBackColour(option, kInputBack, option->backgroundRole());
    return option;
}

// An input field: grey, as the design has them, and named for screen readers.
template <class Field>
Field* MakeField(QWidget* parent, const char* name, const char* accessibleName, const QFont& font)
{
    auto* field = new Field(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setFont(font);
    SetBackColour(field, kInputBack, QPalette::Base);
    return field;
}

// The design lets a label reach past the bottom of its frame, where the
// frame's border would cut its text: end it inside the border, moving it up
// as far as its line of text needs.
void FitInsideFrame(QLabel* label, const QGroupBox& frame)
{
    constexpr int kBorder = 2;
    const int bottom = frame.height() - kBorder;
    const int top = std::min(label->y(), bottom - label->fontMetrics().height());
    label->setGeometry(label->x(), top, label->width(), bottom - top);
}

QColor ColourOf(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// After the branding record, a failing step of the load handler is skipped.
template <class Step>
void SkipOnFailure(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

controls::PictureButton* MakePictureButton(QWidget* parent, const platform::Services& services, const char* name,
                                           const QString& artwork)
{
    auto* button = new controls::PictureButton(services.pointer, services.timers, parent);
    button->setObjectName(name);
    using platform::qt::LoadArtwork;
    button->Core().ReadProperties({{"Picture", LoadArtwork(":/artwork/" + artwork + "-normal")},
                                   {"PictureHover", LoadArtwork(":/artwork/" + artwork + "-hover")},
                                   {"PictureDown", LoadArtwork(":/artwork/" + artwork + "-down")}});
    return button;
}

}  // namespace

bool FontSizeAccepted(std::int16_t points)
{
    return points >= 1 && points <= 2048;
}

fMain::fMain(const platform::Services& services)
    : services_(services),
      navigation_(
          *this, branding_,
          {services.menus, services.shell, {services.registry, services.files, services.processes, services.messages}})
{
    InitArtwork();
    setObjectName("fMain");
    setWindowTitle("Korvane");
    setPalette(WindowPalette());
    // A title bar without minimise and maximise boxes: the window's own buttons do that.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QIcon icon;
    icon.addFile(":/artwork/icon.png");
    icon.addFile(":/artwork/icon@2x.png");
    setWindowIcon(icon);
    setFont(ControlFont());
    resize(kClientSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    CreateControls();
    Form_Load();
}

fMain::~fMain() = default;

void fMain::CreateControls()
{
    CreateAnimatedBanner();
    CreateWindowButtons();
    CreateInputs();
    CreateResult();
    CreateBanner();
    CreateLegend();
    SetTabOrder();
}

void fMain::CreateInputs()
{
    Frame2 = MakeFrame(this, "Frame2", "Height");
    Place(Frame2, 3675, 1320, 3195, 2130);
    optHeightUnit[1] = MakeOption(Frame2, "optHeightUnit_1", "Centimeters");
    Place(optHeightUnit[1], 1665, 1800, 1230, 240);
    optHeightUnit[0] = MakeOption(Frame2, "optHeightUnit_0", "Feet/Inches");
    Place(optHeightUnit[0], 300, 1800, 1230, 240);
    optHeightUnit[0]->setChecked(true);
    List1 = MakeField<QListWidget>(Frame2, "List1", "Height", DesignFont(Face::Verdana, 14.25, false));
    Place(List1, 255, 630, 2715, 1065);
    List1->installEventFilter(this);
    lblCaptions[1] = MakeCaption(Frame2, "lblCaptions_1", "Select Height:");
    Place(lblCaptions[1], 840, 90, 1560, 240);

    Frame1 = MakeFrame(this, "Frame1", "Weight");
    Place(Frame1, 360, 1320, 3135, 2130);
    optWeightUnit[1] = MakeOption(Frame1, "optWeightUnit_1", "Pounds");
    Place(optWeightUnit[1], 345, 1605, 930, 255);
    optWeightUnit[1]->setChecked(true);
    optWeightUnit[0] = MakeOption(Frame1, "optWeightUnit_0", "Kilograms");
    Place(optWeightUnit[0], 1755, 1605, 1065, 255);
    for (int index : {0, 1}) {
        connect(optWeightUnit[static_cast<std::size_t>(index)], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) optWeightUnit_Click(index);
        });
    }
    Text1 = MakeField<QLineEdit>(Frame1, "Text1", "Weight", DesignFont(Face::TimesNewRoman, 26.25, false));
    Place(Text1, 255, 735, 1395, 645);
    connect(Text1, &QLineEdit::returnPressed, this, [this] { btnCalculate_Click(); });
    lblCaptions[0] = MakeCaption(Frame1, "lblCaptions_0", " Enter Weight:");
    Place(lblCaptions[0], 735, 90, 1725, 240);
    lblWeightUnit = MakeLabel(Frame1, "lblWeightUnit", "Lbs", DesignFont(Face::TimesNewRoman, 26.25, false));
    lblWeightUnit->setAccessibleName("Weight unit");
    Place(lblWeightUnit, 1830, 750, 975, 615);
}

void fMain::CreateResult()
{
    Frame4 = MakeFrame(this, "Frame4", "Your BMI");
    Place(Frame4, 360, 3570, 6510, 1650);
    Timer1 = services_.timers.CreateTimer();
    Timer1->SetInterval(250);
    Timer1->SetEnabled(false);
    Timer1->OnTick([this] { Timer1_Timer(); });
    btnCalculate = MakePictureButton(Frame4, services_, "btnCalculate", "calculate");
    btnCalculate->setAccessibleName("Calculate BMI");
    btnCalculate->move(Px(180), Px(535));
    btnCalculate->Core().Resize();
    btnCalculate->Events().Click = [this] { btnCalculate_Click(); };
    lblCaptions[2] = MakeCaption(Frame4, "lblCaptions_2", "Your BMI is:");
    Place(lblCaptions[2], 2460, 90, 1560, 225);
    lblIWeight = MakeLabel(Frame4, "lblIWeight", "", ControlFont());
    // Black, not the frame's own grey (unreadable) nor white (too faint on it).
    SetTextColour(lblIWeight, Qt::black);
    lblIWeight->setWordWrap(false);
    lblIWeight->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(lblIWeight, 120, 1440, 2655, 255);
    FitInsideFrame(lblIWeight, *Frame4);
    lblBMI = MakeLabel(Frame4, "lblBMI", "", DesignFont(Face::Arial, 41.25, true));
    lblBMI->setAccessibleName("Your BMI");
    lblBMI->setWordWrap(false);
    lblBMI->setAlignment(Qt::AlignCenter);
    lblBMI->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackColour(lblBMI, kInputBack);
    Place(lblBMI, 2685, 420, 3615, 825);
}

void fMain::CreateBanner()
{
    const QCursor hand(QPixmap(":/artwork/hand.png"), 10, 1);
    imBanner = new QLabel(this);
    imBanner->setObjectName("imBanner");
    imBanner->setAccessibleName("Banner picture");
    imBanner->setCursor(hand);
    Place(imBanner, 240, 120, 5625, 900);
    lblName[1] = MakeLabel(this, "lblName_1", "Korvane", DesignFont(Face::Tahoma, 8.25, true));
    lblName[1]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColour(lblName[1], Qt::white);
    Place(lblName[1], 5970, 585, 1050, 495);
    lblName[0] = MakeLabel(this, "lblName_0", "(Your company name && link or small banner here)",
                           DesignFont(Face::Tahoma, 17.25, true));
    lblName[0]->setAlignment(Qt::AlignCenter);
    lblName[0]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblName[0]->setCursor(hand);
    SetBackColour(lblName[0], kFrameBack);
    SetTextColour(lblName[0], Qt::white);
    Place(lblName[0], 240, 120, 5625, 900);
    // Their clicks are the banner links.
    for (QWidget* link :
         {static_cast<QWidget*>(imBanner), static_cast<QWidget*>(lblName[0]), static_cast<QWidget*>(lblName[1])})
        link->installEventFilter(this);
}

void fMain::CreateLegend()
{
    struct LegendPlace {
        int swatchLeft;
        int rangeLeft;
        int rangeWidth;
    };
    constexpr std::array<LegendPlace, 5> kPlaces{
        {{240, 540, 1305}, {1905, 2235, 825}, {3105, 3405, 1200}, {4650, 4965, 750}, {5760, 6045, 975}}};
    for (std::size_t i = 0; i < kPlaces.size(); ++i) {
        const auto band = static_cast<BmiBand>(i);
        const std::string rangeName = "lblRange_" + std::to_string(i);
        lblRange[i] = MakeLabel(this, rangeName.c_str(), BandCaption(band), DesignFont(Face::Tahoma, 8.25, true));
        lblRange[i]->setWordWrap(false);
        SetTextColour(lblRange[i], Qt::white);
        Place(lblRange[i], kPlaces[i].rangeLeft, 5595, kPlaces[i].rangeWidth, 195);
        const std::string legendName = "lblLegend_" + std::to_string(i);
        lblLegend[i] = MakeLabel(this, legendName.c_str(), "", ControlFont());
        lblLegend[i]->setAccessibleName(QString::fromStdString(BandName(band) + " colour"));
        SetBackColour(lblLegend[i], ColourOf(BandColour(band)));
        Place(lblLegend[i], kPlaces[i].swatchLeft, 5550, 300, 300);
    }
}

// The viewer is windowed, the banner text and picture are not: when the
// record asks for an animation, the viewer plays above both.
void fMain::CreateAnimatedBanner()
{
    ucGIF = new controls::ucGIFViewer(services_.timers, services_.resources, this);
    ucGIF->setObjectName("ucGIF");
    ucGIF->setAccessibleName("Animated banner");
    Place(ucGIF, 3465, 5340, 1140, 255);
    ucGIF->hide();
    // Its click opens the link, as the banner picture's does.
    connect(ucGIF, &controls::ucGIFViewer::Click, this, [this] { navigation_.imBanner_Click(); });
}

void fMain::CreateWindowButtons()
{
    struct ButtonDesign {
        const char* name;
        const char* artwork;
        const char* accessibleName;
        int left;
    };
    constexpr std::array<ButtonDesign, 3> kButtons{{{"btnForm_0", "menu", "Menu", 5970},
                                                    {"btnForm_1", "minimise", "Minimise", 6345},
                                                    {"btnForm_2", "close", "Close", 6720}}};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        btnForm[i] = MakePictureButton(this, services_, kButtons[i].name, kButtons[i].artwork);
        btnForm[i]->setAccessibleName(kButtons[i].accessibleName);
        btnForm[i]->move(Px(kButtons[i].left), Px(165));
        btnForm[i]->Core().Resize();
        btnForm[i]->Events().Click = [this, i] { btnForm_Click(static_cast<int>(i)); };
    }
    btnForm[0]->installEventFilter(this);
}

void fMain::SetTabOrder()
{
    const std::array<QWidget*, 8> order{Text1,        optWeightUnit[1], optWeightUnit[0], List1,
                                        btnCalculate, btnForm[0],       btnForm[1],       btnForm[2]};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void fMain::Form_Load()
{
    branding_ = ReadBranding(services_.files, services_.encoding);
    SkipOnFailure([this] { optHeightUnit_Click(0); });
    SkipOnFailure([this] {
        optHeightUnit[0]->hide();
        optHeightUnit[1]->hide();
    });
    SetUpAnimatedBanner();
    SkipOnFailure([this] {
        if (branding_.ShowPicture()) {
            const QImage picture =
                platform::qt::ToQImage(services_.pictures.LoadPicture(branding_.BannerPath), devicePixelRatioF());
            imBanner->setPixmap(QPixmap::fromImage(picture));
            if (!picture.isNull()) imBanner->resize(picture.size());
            imBanner->setEnabled(true);
            imBanner->show();
            BringToFrontOfLayer(imBanner);
        } else {
            imBanner->setEnabled(false);
            imBanner->hide();
            BringToFrontOfLayer(lblName[0]);
        }
    });
    SkipOnFailure([this] {
        Text1->setText(
            QString::fromStdString(services_.settings.GetSetting(kSettingsApp, kSettingsSection, "Weight", "140")));
    });
    SkipOnFailure([this] {
        SetListIndex(SavedHeightIndex(services_.settings.GetSetting(kSettingsApp, kSettingsSection, "Height", "20")));
    });
    SkipOnFailure([this] {
        if (FontSizeAccepted(branding_.Record.CompanyFontSize)) {
            lblName[0]->setFont(DesignFont(Face::Tahoma, branding_.Record.CompanyFontSize, true));
        }
        lblName[0]->setText(QString::fromStdString(ShownCaption(branding_.DisplayCompany)));
        if (FontSizeAccepted(branding_.Record.TitleFontSize)) {
            lblName[1]->setFont(DesignFont(Face::Tahoma, branding_.Record.TitleFontSize, true));
        }
        lblName[1]->setText(QString::fromStdString(ShownCaption(branding_.DisplayTitle)));
    });
    SkipOnFailure([this] { imBanner->move(lblName[0]->pos()); });
}

void fMain::SetUpAnimatedBanner()
{
    SkipOnFailure([this] {
        ucGIF->SetAutoPlay(true);
        ucGIF->setGeometry(imBanner->geometry());
    });
    if (!branding_.ShowAnimation()) return;
    // Each step on its own: a file the viewer cannot load still leaves it
    // shown, in its back colour, and holding the focus.
    SkipOnFailure([this] { ucGIF->SetEnabled(true); });
    SkipOnFailure([this] { ucGIF->LoadFromFile(branding_.BannerPath); });
    SkipOnFailure([this] {
        ucGIF->show();
        ucGIF->raise();
    });
    SkipOnFailure([this] { ucGIF->setFocus(); });
}

// The labels and the image are windowless: in front of one another, but
// always under the windowed controls (the frames with the inputs, the
// buttons, the animated banner), so a banner picture larger than the banner
// area hides none of them.
void fMain::BringToFrontOfLayer(QWidget* windowless)
{
    windowless->raise();
    for (QWidget* windowed :
         std::initializer_list<QWidget*>{btnForm[0], Frame2, Frame1, Frame4, btnForm[1], btnForm[2], ucGIF})
        windowed->raise();
}

void fMain::optHeightUnit_Click(int)
{
    List1->clear();
    for (int n = 0; n < kHeightEntries; ++n)
        List1->addItem(QString::fromStdString(HeightEntry(n)));
}

void fMain::optWeightUnit_Click(int Index)
{
    lblWeightUnit->setText(Index == 1 ? "Lbs." : "Kgs.");
}

void fMain::btnCalculate_Click()
{
    const bool kilograms = optWeightUnit[0]->isChecked();
    const BmiOutcome outcome = ComputeBmi(Text1->text().toStdString(), kilograms, ListIndex());
    if (!outcome.Result) {
        services_.messages.Show(outcome.Message, kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    ShowResult(*outcome.Result, kilograms);
    services_.settings.SaveSetting(kSettingsApp, kSettingsSection, "Weight", Text1->text().toStdString());
    services_.settings.SaveSetting(kSettingsApp, kSettingsSection, "Height", std::to_string(ListIndex()));
}

void fMain::ShowResult(const BmiResult& result, bool kilograms)
{
    const std::string separator = QLocale().decimalPoint().toStdString();
    const std::string caption = BmiCaption(result.Bmi, separator);
    lblBMI->setText(QString::fromStdString(caption));
    lblIWeight->setText(QString::fromStdString(ReferenceWeightCaption(result.ReferenceWeight, kilograms, separator)));
    Timer1->SetEnabled(false);
    if (result.Band == BmiBand::Extreme) {
        Timer1->SetEnabled(true);
        SetTextColour(lblBMI, ColourOf(kBlinkBright));
    } else {
        SetTextColour(lblBMI, ColourOf(BandColour(result.Band)));
    }
    // The band in words too, so the result does not rest on colour alone.
    lblBMI->setAccessibleName(QString::fromStdString(caption + ", " + BandName(result.Band)));
}

void fMain::btnForm_Click(int Index)
{
    switch (Index) {
        case 0:
            // From the keyboard the pointer may be anywhere: the menu goes
            // where a mouse click on the button would have put it.
            if (std::exchange(menuByKeyboard_, false)) {
                const QPoint centre = btnForm[0]->mapToGlobal(btnForm[0]->rect().center());
                navigation_.PopUpMenu(platform::ScreenPoint{centre.x(), centre.y()});
            } else {
                navigation_.PopUpMenu();
            }
            break;
        case 1:
            showMinimized();
            break;
        case 2:
            close();
            break;
        default:
            break;
    }
}

void fMain::Timer1_Timer()
{
    BlinkState = !BlinkState;
    SetTextColour(lblBMI, ColourOf(BlinkState ? kBlinkBright : kBlinkDark));
    services_.events.ProcessEvents();
}

int fMain::ListIndex() const
{
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.front());
}

void fMain::SetListIndex(int index)
{
    if (index < 0) {
        List1->clearSelection();
        List1->setCurrentRow(-1);
        return;
    }
    List1->setCurrentRow(index);
    List1->scrollToItem(List1->item(index));
}

void fMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kFormBack);
    static const gdi::StdPicture background = platform::qt::LoadArtwork(":/artwork/background");
    const QImage image = platform::qt::ToQImage(background, devicePixelRatioF());
    if (!image.isNull()) painter.drawImage(QPoint(0, 0), image);
}

// A click: the left button released over the control it was pressed on.
static bool IsClick(const QObject* watched, const QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton &&
           static_cast<const QWidget*>(watched)->rect().contains(mouse->position().toPoint());
}

bool fMain::eventFilter(QObject* watched, QEvent* event)
{
    if (IsClick(watched, event)) {
        if (watched == imBanner) navigation_.imBanner_Click();
        if (watched == lblName[0]) navigation_.lblName_Click(0);
        if (watched == lblName[1]) navigation_.lblName_Click(1);
    }
    if (watched == btnForm[0]) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            menuByKeyboard_ = !key->isAutoRepeat() && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                                                       key->key() == Qt::Key_Enter);
        }
        if (event->type() == QEvent::MouseButtonPress) menuByKeyboard_ = false;
    }
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnCalculate_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void fMain::closeEvent(QCloseEvent* event)
{
    navigation_.CloseSecondaryWindows();
    QWidget::closeEvent(event);
}

}  // namespace korvane::app

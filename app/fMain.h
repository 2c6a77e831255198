// The main window: the weight input with its unit, the height list, the
// Calculate button and the result, the banner area and title line from the
// branding record, the menu and window buttons, and the colour legend.
#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "app/BmiCalculation.h"
#include "app/cNavigation.h"
#include "app/mSetup.h"
#include "controls/gif_viewer/ucGIFViewer.h"
#include "controls/picture_button/PictureButton.h"
#include "platform/Services.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace korvane::app {

// The banner area the company text, the banner picture and the animated
// banner share, in pixels at 96 dots per inch.
inline constexpr int kBannerWidth = 375;
inline constexpr int kBannerHeight = 60;

// Whether the window takes a branding font size, in points; others keep the design size.
bool FontSizeAccepted(std::int16_t points);

class fMain final : public QWidget {
public:
    // Creating the window runs its load handler.
    explicit fMain(const platform::Services& services);
    ~fMain() override;

    const Branding& CurrentBranding() const { return branding_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Secondary windows still open close with the main window.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateAnimatedBanner();
    void CreateInputs();
    void CreateResult();
    void CreateBanner();
    void CreateLegend();
    void CreateWindowButtons();
    void SetTabOrder();

    void Form_Load();
    void SetUpAnimatedBanner();
    void BringToFrontOfLayer(QWidget* windowless);
    void optHeightUnit_Click(int Index);
    void optWeightUnit_Click(int Index);
    void btnCalculate_Click();
    void btnForm_Click(int Index);
    void Timer1_Timer();

    // The selected entry of List1, -1 when none.
    int ListIndex() const;
    void SetListIndex(int index);
    void ShowResult(const BmiResult& result, bool kilograms);

    platform::Services services_;
    Branding branding_;
    cNavigation navigation_;

    controls::ucGIFViewer* ucGIF = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 2> optHeightUnit{};
    std::array<QRadioButton*, 2> optWeightUnit{};
    QListWidget* List1 = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QLabel*, 3> lblCaptions{};
    QLabel* lblWeightUnit = nullptr;
    QLabel* lblIWeight = nullptr;
    QLabel* lblBMI = nullptr;
    QLabel* imBanner = nullptr;
    std::array<QLabel*, 2> lblName{};
    std::array<QLabel*, 5> lblRange{};
    std::array<QLabel*, 5> lblLegend{};
    std::array<controls::PictureButton*, 3> btnForm{};
    controls::PictureButton* btnCalculate = nullptr;
    std::unique_ptr<platform::Timer> Timer1;
    bool BlinkState = false;
    // The menu button's press came from the keyboard (Enter or Space).
    bool menuByKeyboard_ = false;
};

}  // namespace korvane::app

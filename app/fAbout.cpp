#include "app/fAbout.h"

#include <array>
#include <cstdint>

#include <QFont>
#include <QIcon>
#include <QPainter>

#include "app/Captions.h"
#include "app/FormStyle.h"
#include "app/WindowPalette.h"
#include "app/mFileFound.h"
#include "app/mSetup.h"

namespace korvane::app {
namespace {

// The design's client area, 5730 x 3555 twips.
constexpr int kClientWidth = 382;
constexpr int kClientHeight = 237;

constexpr int kMajor = KORVANE_VERSION_MAJOR;
constexpr int kMinor = KORVANE_VERSION_MINOR;
constexpr int kRevision = KORVANE_VERSION_PATCH;

const char* const kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Where the System Information program is registered: its full path, or
// else the folder that holds MSINFO32.EXE.
const char* const kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kSysInfoValue = "PATH";
const char* const kSysInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kSysInfoFolderValue = "MSINFO";
const char* const kSysInfoFile = "\\MSINFO32.EXE";

// Values longer than this count as unreadable.
constexpr std::size_t kValueBufferSize = 1024;

// The box is laid out for the 8-point dialog font of Windows.
QFont DialogFont()
{
    return DesignFont(Face::MSSansSerif, 8.25);
}

QLabel* BlackLabel(QWidget* parent, const char* name, const char* text)
{
    QLabel* label = MakeLabel(parent, name, text, DialogFont());
    SetTextColour(label, Qt::black);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Labels read "&&" as one ampersand, as the main window's do.
void SetCaption(QLabel* label, const std::string& caption)
{
    label->setText(QString::fromStdString(ShownCaption(caption)));
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

}  // namespace

fAbout::fAbout(QWidget* owner, const std::string& DisplayTitle, const std::string& DisplayLink,
               SysInfoPlatform platform)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      picIcon(new QLabel(this)),
      cmdOK(Button(this, "cmdOK", "OK")),
      cmdSysInfo(Button(this, "cmdSysInfo", "&System Info...")),
      lblDescription(BlackLabel(this, "lblDescription", "App Description")),
      lblTitle(BlackLabel(this, "lblTitle", "Application Title")),
      lblVersion(BlackLabel(this, "lblVersion", "Version")),
      lblDisclaimer(BlackLabel(this, "lblDisclaimer", "")),
      platform_(platform)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setPalette(WindowPalette());
    setWindowTitle(QStringLiteral("About MyApp"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(DialogFont());
    PlaceControls();

    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(windowIcon().pixmap(32, 32));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    Form_Load(DisplayTitle, DisplayLink);
}

void fAbout::PlaceControls()
{
    picIcon->setGeometry(16, 16, 36, 36);
    cmdOK->setGeometry(283, 175, 84, 23);
    cmdSysInfo->setGeometry(284, 205, 83, 23);
    lblDescription->setGeometry(70, 75, 259, 78);
    lblTitle->setGeometry(70, 16, 259, 32);
    lblVersion->setGeometry(70, 52, 259, 15);
    lblDisclaimer->setGeometry(17, 175, 258, 55);
}

void fAbout::Form_Load(const std::string& DisplayTitle, const std::string& DisplayLink)
{
    setWindowTitle(QString::fromStdString(WindowTitle("About " + DisplayTitle)));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision));
    SetCaption(lblTitle, DisplayTitle);
    SetCaption(lblDescription,
               DisplayTitle + " is a handy tool which you can use to quickly determine" +
                   " your Body Mass Index, thereby helping you to stay healthy. For more information on this and other "
                   "products," +
                   " Please contact us at: " + DisplayLink);
}

void fAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched separator: a grey line with a two-pixel white one beneath.
    QPainter painter(this);
    painter.fillRect(6, 163, 372, 1, QColor(128, 128, 128));
    painter.fillRect(7, 164, 371, 2, Qt::white);
}

void fAbout::cmdOK_Click()
{
    close();
}

void fAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void fAbout::StartSysInfo()
{
    std::string SysInfoPath;
    if (!GetKeyValue(platform::HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoValue, SysInfoPath)) {
        if (!GetKeyValue(platform::HKEY_LOCAL_MACHINE, kSysInfoFolderKey, kSysInfoFolderValue, SysInfoPath) ||
            !FileExists(platform_.files, SysInfoPath + kSysInfoFile)) {
            platform_.messages.Show(kSysInfoUnavailable, kAppTitle, platform::MessageIcon::None);
            return;
        }
        SysInfoPath += kSysInfoFile;
    }
    if (!platform_.processes.Start(SysInfoPath))
        platform_.messages.Show(kSysInfoUnavailable, kAppTitle, platform::MessageIcon::None);
}

bool fAbout::GetKeyValue(platform::HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                         std::string& KeyVal) const
{
    const auto key = platform_.registry.OpenKey(KeyRoot, KeyName);
    if (!key) {
        KeyVal.clear();
        return false;
    }
    std::array<std::uint8_t, kValueBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t length = 0;
    if (!key->QueryValue(SubKeyRef, buffer, type, length)) {
        KeyVal.clear();
        return false;
    }
    // A registry that reports more than it could have written is not believed.
    std::size_t size = std::min<std::size_t>(length, buffer.size());
    if (size > 0 && buffer[size - 1] == 0) --size;
    if (type == platform::REG_SZ) KeyVal.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
}

}  // namespace korvane::app

#include "app/fBMIMsg.h"

#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QPalette>

#include "app/Captions.h"
#include "app/FormStyle.h"
#include "app/WindowPalette.h"
#include "app/mUtils.h"

namespace korvane::app {

std::string PromoLink;

namespace {

// The design's client area, 6465 x 1320 twips.
constexpr int kClientWidth = 431;
constexpr int kClientHeight = 88;

// Tahoma's widths (or its look-alike's) keep "Click Here" over the blanks left for it.
QLabel* Label(QWidget* parent, const char* name, const QColor& colour)
{
    QLabel* label = MakeLabel(parent, name, "", DesignFont(Face::Tahoma, 9.75, true), false);
    SetTextColour(label, colour);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

fBMIMsg::fBMIMsg(QWidget* owner, const std::string& DisplayCompany, platform::Shell& shell)
    : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Label1(Label(this, "Label1", Qt::white)),
      Label2(Label(this, "Label2", QColor(0, 255, 0))),
      shell_(shell)
{
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette colours = WindowPalette();
    colours.setColor(QPalette::Window, QColor(88, 134, 165));
    setPalette(colours);

    Label1->setWordWrap(true);
    Label1->setGeometry(5, 7, 420, 77);
    // "Click Here" sits over the run of blanks in Label1's first line.
    Label2->setText(QStringLiteral("Click Here"));
    Label2->move(338, 7);
    Label2->adjustSize();
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);

    Form_Load(DisplayCompany);
}

void fBMIMsg::Form_Load(const std::string& DisplayCompany)
{
    setWindowTitle(QString::fromStdString(WindowTitle(DisplayCompany)));
    Label1->setText(
        QStringLiteral("If you have a body mass index of 26 of higher then                 to learn"
                       " how to reduce your calorie intake by as much as 1000 calories a day safely"
                       " with no side effects...."));
}

bool fBMIMsg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Label2->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label2_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void fBMIMsg::Label2_Click()
{
    OpenLink(shell_, PromoLink);
}

}  // namespace korvane::app

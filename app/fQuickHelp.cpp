#include "app/fQuickHelp.h"

#include <string_view>

#include <QFont>
#include <QPalette>

#include "app/Captions.h"
#include "app/WindowPalette.h"

namespace korvane::app {
namespace {

// The design's client area, 4680 x 3465 twips.
constexpr int kClientWidth = 312;
constexpr int kClientHeight = 231;

// The caption carries Windows line ends, a lone carriage return included;
// Qt's label breaks lines only at line feeds. "&&" is one ampersand, as in
// the main window's labels.
QString Shown(const std::string& caption)
{
    QString text = QString::fromStdString(ShownCaption(caption));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    return text;
}

// What follows the title, joined with nothing in between (so two spaces
// meet where the colour sentence goes on).
constexpr std::string_view kHelpPieces[] = {
    " is very easy to use. Simply enter your weight in the left pane, and select",
    " either Pounds or Kilograms. Next, select your height in feet and inches from the list on the right.",
    " Finally, click the \"Calculate BMI button\". Your BMI Index number is displayed, and the result is color-coded ",
    " to correspond with the legend below. Match the colors to determine the range in which your BMI Index falls.",
    "\r\n\r\n",
    " The Body mass index (BMI) or Quetelet Index is a statistical measure of the weight of a person",
    " scaled according to height.",
    " It is most often used to determine the overall risk of poor health.",
};

}  // namespace

fQuickHelp::fQuickHelp(QWidget* owner, const std::string& DisplayTitle)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      lblQuickHelp(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setPalette(WindowPalette());
    setWindowTitle(QStringLiteral("Quick Help"));
    setFixedSize(kClientWidth, kClientHeight);

    lblQuickHelp->setObjectName(QStringLiteral("lblQuickHelp"));
    lblQuickHelp->setAutoFillBackground(true);
    QPalette colours = lblQuickHelp->palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 128));
    colours.setColor(QPalette::WindowText, Qt::white);
    lblQuickHelp->setPalette(colours);
    lblQuickHelp->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblQuickHelp->setMargin(2);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    lblQuickHelp->setFont(font);
    lblQuickHelp->setWordWrap(true);
    lblQuickHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblQuickHelp->setTextFormat(Qt::PlainText);

    Form_Load(DisplayTitle);
    Form_Resize();
}

std::string fQuickHelp::HelpText(const std::string& DisplayTitle)
{
    std::string text = "\r" + DisplayTitle;
    for (const std::string_view piece : kHelpPieces)
        text += piece;
    return text;
}

void fQuickHelp::Form_Load(const std::string& DisplayTitle)
{
    caption_ = HelpText(DisplayTitle);
    lblQuickHelp->setText(Shown(caption_));
}

void fQuickHelp::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void fQuickHelp::Form_Resize()
{
    lblQuickHelp->setGeometry(0, 0, width(), height());
}

}  // namespace korvane::app

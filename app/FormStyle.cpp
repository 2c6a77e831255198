#include "app/FormStyle.h"

#include <QLabel>
#include <QWidget>

#include "app/Captions.h"

namespace korvane::app {

QFont DesignFont(Face face, double points, bool bold)
{
    QFont font;
    switch (face) {
        case Face::Tahoma:
            // Liberation Sans comes closest to Tahoma's widths.
            font.setFamilies({"Tahoma", "Liberation Sans", "DejaVu Sans"});
            break;
        case Face::Verdana:
            font.setFamilies({"Verdana", "DejaVu Sans", "Liberation Sans"});
            break;
        case Face::TimesNewRoman:
            font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
            break;
        case Face::Arial:
            font.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
            break;
        case Face::MSSansSerif:
            // Liberation Sans has Arial's metrics, which come close.
            font.setFamilies({"MS Sans Serif", "Arial", "Liberation Sans"});
            break;
    }
    // Whole pixels times 72/96 is exact in binary, so Qt's own conversion
    // back gives the whole pixels again.
    font.setPointSizeF(qRound(points * 96.0 / 72.0) * 72.0 / 96.0);
    font.setBold(bold);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void SetBackColour(QWidget* widget, const QColor& colour, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const std::string& caption, const QFont& font, bool wordWrap)
{
    auto* label = new QLabel(QString::fromStdString(ShownCaption(caption)), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(font);
    label->setWordWrap(wordWrap);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace korvane::app

#include "tools/artwork/Artwork.h"

#include <array>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace korvane::artwork {
namespace {

// The window's client area and the places of what the background frames,
// in pixels at 1x (the window's layout divided by 15 twips per pixel).
constexpr QSize kBackgroundSize(489, 406);
constexpr QRect kBanner(16, 8, 375, 60);
constexpr QRect kWeightFrame(24, 88, 209, 142);
constexpr QRect kHeightFrame(245, 88, 213, 142);
constexpr QRect kResultFrame(24, 238, 434, 110);
constexpr QRect kLegendRow(10, 364, 469, 30);

const QColor kHeaderTop(44, 70, 104);
const QColor kHeaderBottom(22, 36, 58);
const QColor kAccent(46, 150, 118);

QImage Canvas(QSize size, int scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Prepare(QPainter& painter, int scale)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
}

QFont BoldFont(qreal pixels)
{
    QFont font;
    font.setFamilies({"Liberation Sans", "DejaVu Sans"});
    font.setBold(true);
    font.setPixelSize(qRound(pixels));
    return font;
}

// A raised panel a few pixels larger than the frame it sits behind.
void Panel(QPainter& painter, const QRect& frame)
{
    const QRectF outer = QRectF(frame).adjusted(-6, -6, 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(outer.translated(2, 3), 8, 8);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0, QColor(188, 192, 198));
    fill.setColorAt(1, QColor(160, 164, 172));
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(112, 118, 128), 1));
    painter.drawRoundedRect(outer, 8, 8);
}

void Header(QPainter& painter)
{
    const QRectF band(0, 0, kBackgroundSize.width(), 80);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, kHeaderTop);
    fill.setColorAt(1, kHeaderBottom);
    painter.fillRect(band, fill);
    painter.fillRect(QRectF(0, 79, kBackgroundSize.width(), 2), kAccent);
    // The banner area: an inset well the banner text or picture fills.
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(QRectF(kBanner).adjusted(-3.5, -3.5, 3.5, 3.5), 5, 5);
}

void Legend(QPainter& painter)
{
    painter.setPen(QPen(QColor(40, 44, 52), 1));
    QLinearGradient fill(kLegendRow.topLeft(), kLegendRow.bottomLeft());
    fill.setColorAt(0, QColor(84, 90, 100));
    fill.setColorAt(1, QColor(58, 62, 70));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(kLegendRow).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

QColor Lighter(const QColor& colour, Look look)
{
    switch (look) {
        case Look::Hover:
            return colour.lighter(135);
        case Look::Down:
            return colour.darker(130);
        case Look::Normal:
            break;
    }
    return colour;
}

void WindowButtonGlyph(QPainter& painter, WindowButton button)
{
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    switch (button) {
        case WindowButton::Menu:
            for (int row = 0; row < 3; ++row)
                painter.drawLine(QPointF(6, 7 + row * 3.5), QPointF(15, 7 + row * 3.5));
            break;
        case WindowButton::Minimise:
            painter.drawLine(QPointF(6, 14.5), QPointF(15, 14.5));
            break;
        case WindowButton::Close:
            painter.drawLine(QPointF(6.5, 6.5), QPointF(14.5, 14.5));
            painter.drawLine(QPointF(14.5, 6.5), QPointF(6.5, 14.5));
            break;
    }
}

}  // namespace

QImage Background(int scale)
{
    QImage image = Canvas(kBackgroundSize, scale);
    QPainter painter(&image);
    Prepare(painter, scale);
    QLinearGradient fill(0, 0, 0, kBackgroundSize.height());
    fill.setColorAt(0, QColor(232, 234, 236));
    fill.setColorAt(1, QColor(206, 208, 212));
    painter.fillRect(QRect(QPoint(0, 0), kBackgroundSize), fill);
    Header(painter);
    Panel(painter, kWeightFrame);
    Panel(painter, kHeightFrame);
    Panel(painter, kResultFrame);
    Legend(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage Icon(int scale)
{
    QImage image = Canvas(QSize(32, 32), scale);
    QPainter painter(&image);
    Prepare(painter, scale);
    DrawIcon(painter);
    painter.end();
    return image;
}

void DrawIcon(QPainter& painter)
{
    QLinearGradient fill(0, 0, 0, 32);
    fill.setColorAt(0, kHeaderTop.lighter(120));
    fill.setColorAt(1, kHeaderBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    // A dial over the five bands of the legend, its needle in the normal band.
    const std::array<QColor, 5> bands{QColor(0, 0, 255), QColor(0, 128, 0), QColor(255, 128, 64), QColor(200, 0, 0),
                                      QColor(255, 0, 0)};
    const QRectF dial(5, 8, 22, 22);
    for (int i = 0; i < 5; ++i) {
        painter.setPen(QPen(bands[static_cast<std::size_t>(i)].lighter(115), 4, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(dial, (180 - i * 36) * 16, -36 * 16);
    }
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16, 19), QPointF(12.5, 11.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(16, 19), 2, 2);
    painter.setPen(Qt::white);
    painter.setFont(BoldFont(7));
    painter.drawText(QRectF(0, 21, 32, 10), Qt::AlignCenter, "BMI");
}

QImage WindowButtonPicture(WindowButton button, Look look, int scale)
{
    QImage image = Canvas(QSize(21, 21), scale);
    QPainter painter(&image);
    Prepare(painter, scale);
    const QColor base = button == WindowButton::Close ? QColor(176, 52, 52) : QColor(70, 100, 140);
    QLinearGradient fill(0, 0, 0, 21);
    fill.setColorAt(0, Lighter(base, look).lighter(look == Look::Down ? 100 : 125));
    fill.setColorAt(1, Lighter(base, look));
    painter.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 200 : 110), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 20, 20), 4, 4);
    if (look == Look::Down) painter.translate(0.5, 1);
    WindowButtonGlyph(painter, button);
    return image;
}

QImage CalculatePicture(Look look, int scale)
{
    QImage image = Canvas(QSize(151, 40), scale);
    QPainter painter(&image);
    Prepare(painter, scale);
    const QRectF body(1, 1, 149, 37);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, look == Look::Down ? 30 : 70));
    painter.drawRoundedRect(body.translated(0, look == Look::Down ? 0.5 : 1.5), 9, 9);
    const QColor base = Lighter(kAccent, look);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, look == Look::Down ? base.darker(115) : base.lighter(130));
    fill.setColorAt(1, look == Look::Down ? base.lighter(110) : base);
    painter.setPen(QPen(base.darker(160), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    if (look == Look::Hover) {
        painter.setPen(QPen(QColor(255, 255, 255, 180), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(2.5, 2.5, -2.5, -2.5), 7, 7);
    }
    painter.setFont(BoldFont(15));
    const QRectF text = body.translated(0, look == Look::Down ? 1 : 0);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawText(text.translated(0, 1), Qt::AlignCenter, "Calculate BMI");
    painter.setPen(Qt::white);
    painter.drawText(text, Qt::AlignCenter, "Calculate BMI");
    return image;
}

QImage HandPointer(int scale)
{
    QImage image = Canvas(QSize(32, 32), scale);
    QPainter painter(&image);
    Prepare(painter, scale);
    // A pointing hand whose fingertip is the hot spot at (10, 1).
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 1, 5, 16), 2.5, 2.5);
    hand.addRoundedRect(QRectF(12.5, 8, 4.5, 10), 2.2, 2.2);
    hand.addRoundedRect(QRectF(16.5, 9, 4.5, 10), 2.2, 2.2);
    hand.addRoundedRect(QRectF(20.5, 10.5, 4.5, 10), 2.2, 2.2);
    hand.addRoundedRect(QRectF(8, 13, 17, 13), 5, 5);
    QPainterPath thumb;
    thumb.moveTo(9, 20);
    thumb.lineTo(4.5, 15.5);
    thumb.quadTo(2, 14, 3.5, 17.5);
    thumb.lineTo(9, 25);
    thumb.closeSubpath();
    hand = hand.united(thumb).simplified();
    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    painter.setPen(QPen(Qt::black, 0.8));
    for (qreal x : {12.75, 16.75, 20.75})
        painter.drawLine(QPointF(x, 13), QPointF(x, 17));
    return image;
}

std::vector<Picture> AllPictures(int scale)
{
    std::vector<Picture> pictures{
        {"background", Background(scale)},
        {"icon", Icon(scale)},
        {"hand", HandPointer(scale)},
    };
    const std::array<std::pair<Look, QString>, 3> looks{
        {{Look::Normal, "normal"}, {Look::Hover, "hover"}, {Look::Down, "down"}}};
    const std::array<std::pair<WindowButton, QString>, 3> buttons{
        {{WindowButton::Menu, "menu"}, {WindowButton::Minimise, "minimise"}, {WindowButton::Close, "close"}}};
    for (const auto& [look, lookName] : looks) {
        pictures.push_back({"calculate-" + lookName, CalculatePicture(look, scale)});
        for (const auto& [button, buttonName] : buttons) {
            pictures.push_back({buttonName + "-" + lookName, WindowButtonPicture(button, look, scale)});
        }
    }
    return pictures;
}

}  // namespace korvane::artwork

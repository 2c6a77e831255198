// The main window's artwork, drawn with QPainter at a scale factor so that
// every picture exists at 1x and 2x: the background, the window icon, the
// three window buttons and the Calculate button in their normal, hover and
// pressed looks, and the hand pointer.
#pragma once

#include <vector>

#include <QImage>
#include <QPainter>
#include <QString>

namespace korvane::artwork {

enum class Look { Normal, Hover, Down };
enum class WindowButton { Menu, Minimise, Close };

QImage Background(int scale);
QImage Icon(int scale);
// The icon's drawing on any paint device (an SVG generator for the scalable
// icon), in a 32 x 32 space.
void DrawIcon(QPainter& painter);
QImage WindowButtonPicture(WindowButton button, Look look, int scale);
QImage CalculatePicture(Look look, int scale);
QImage HandPointer(int scale);

struct Picture {
    QString name;  // file name without ".png" / "@2x.png"
    QImage image;
};

// Every picture at `scale`, named as the application loads them.
std::vector<Picture> AllPictures(int scale);

}  // namespace korvane::artwork

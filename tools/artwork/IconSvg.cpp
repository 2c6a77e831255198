// korvane-artwork-svg FILE: the window icon as SVG, for the scalable size of
// the icon theme. It is the same drawing as the PNG sizes, recorded by Qt's
// SVG generator instead of rasterised.
#include <cstdio>

#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include "tools/artwork/Artwork.h"

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: korvane-artwork-svg FILE\n", stderr);
        return 2;
    }
    QSvgGenerator svg;
    svg.setFileName(QString::fromLocal8Bit(argv[1]));
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle("Korvane");
    svg.setDescription("The Korvane icon: a dial over the five bands of the BMI legend");
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "korvane-artwork-svg: cannot write %s\n", argv[1]);
        return 1;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    korvane::artwork::DrawIcon(painter);
    return painter.end() ? 0 : 1;
}

// korvane-artwork OUTDIR: draws the main window's artwork at 1x and 2x into
// OUTDIR as PNG files, with the resource list "artwork.qrc" that embeds them.
// korvane-artwork --icon-theme OUTDIR: the window icon at the icon theme's
// usual sizes, as OUTDIR/<n>x<n>/apps/org.korvane.Korvane.png.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include "tools/artwork/Artwork.h"

namespace {

// Drawn large once and scaled down, so every size comes from the same drawing.
int WriteIconTheme(const QDir& out)
{
    const QImage large = korvane::artwork::Icon(8);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString("%1x%1/apps").arg(size);
        const QImage icon = large.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!out.mkpath(folder) || !icon.save(out.filePath(folder + "/org.korvane.Korvane.png"), "PNG")) {
            std::fprintf(stderr, "korvane-artwork: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const bool iconTheme = argc == 3 && QString::fromLocal8Bit(argv[1]) == "--icon-theme";
    if (argc != 2 && !iconTheme) {
        std::fputs("usage: korvane-artwork OUTDIR\n       korvane-artwork --icon-theme OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[argc - 1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "korvane-artwork: cannot make %s\n", argv[argc - 1]);
        return 1;
    }
    if (iconTheme) return WriteIconTheme(out);
    QFile qrc(out.filePath("artwork.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    QTextStream list(&qrc);
    list << "<RCC>\n  <qresource prefix=\"/artwork\">\n";
    for (int scale : {1, 2}) {
        for (const auto& picture : korvane::artwork::AllPictures(scale)) {
            const QString file = picture.name + (scale == 1 ? ".png" : "@2x.png");
            if (!picture.image.save(out.filePath(file), "PNG")) {
                std::fprintf(stderr, "korvane-artwork: cannot write %s\n", qPrintable(file));
                return 1;
            }
            list << "    <file>" << file << "</file>\n";
        }
    }
    list << "  </qresource>\n</RCC>\n";
    return 0;
}

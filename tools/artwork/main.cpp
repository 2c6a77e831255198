// korvane-artwork OUTDIR: draws the main window's artwork at 1x and 2x into
// OUTDIR as PNG files, with the resource list "artwork.qrc" that embeds them.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include "tools/artwork/Artwork.h"

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: korvane-artwork OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "korvane-artwork: cannot make %s\n", argv[1]);
        return 1;
    }
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

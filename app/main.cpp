// korvane: the body-mass-index calculator.
#include <QApplication>
#include <QStyleFactory>

#include "app/mStartup.h"
#include "platform/qt/QtServices.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Lets desktops match the window to its installed desktop entry and icon.
    QGuiApplication::setDesktopFileName("org.korvane.Korvane");
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    korvane::platform::qt::QtServices platform;
    const auto window = korvane::app::Main(platform.services());
    return QApplication::exec();
}

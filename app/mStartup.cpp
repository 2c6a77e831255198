#include "app/mStartup.h"

#include <QApplication>
#include <QStyleFactory>

namespace korvane::app {

void PrepareApplication()
{
    // Lets desktops match the window to its installed desktop entry and icon.
    QGuiApplication::setDesktopFileName("org.korvane.Korvane");
    QApplication::setStyle(QStyleFactory::create("Fusion"));
}

std::unique_ptr<fMain> Main(const platform::Services& services)
{
    auto window = std::make_unique<fMain>(services);
    window->show();
    return window;
}

}  // namespace korvane::app

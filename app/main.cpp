// korvane: the body-mass-index calculator.
#include <QApplication>
#include <QStyleFactory>

#include "app/mStartup.h"
#include "platform/qt/QtServices.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    korvane::platform::qt::QtServices platform;
    const auto window = korvane::app::Main(platform.services());
    return QApplication::exec();
}

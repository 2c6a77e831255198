// korvane: the body-mass-index calculator.
#include <QApplication>

#include "app/mStartup.h"
#include "platform/qt/QtServices.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    korvane::app::PrepareApplication();
    korvane::platform::qt::QtServices platform;
    const auto window = korvane::app::Main(platform.services());
    return QApplication::exec();
}

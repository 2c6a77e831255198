#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace korvane::platform::qt {

void QtMessageBox::Show(const std::string& text, const std::string& title, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace korvane::platform::qt

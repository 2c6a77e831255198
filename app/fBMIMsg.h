// The promotional message: a small tool window that points readers with a
// high BMI at a link. It is part of the design, but nothing in the program
// opens it, and `PromoLink` is never assigned, so its link opens nothing.
#pragma once

#include <string>

#include <QDialog>
#include <QLabel>

#include "platform/Shell.h"

namespace korvane::app {

// The promotional link; nothing assigns it.
extern std::string PromoLink;

class fBMIMsg final : public QDialog {
public:
    // Creating the window runs its load handler with the banner text.
    fBMIMsg(QWidget* owner, const std::string& DisplayCompany, platform::Shell& shell);

    QLabel* const Label1;
    QLabel* const Label2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(const std::string& DisplayCompany);
    void Label2_Click();

    platform::Shell& shell_;
};

}  // namespace korvane::app

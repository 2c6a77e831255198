// The Quick Help window: a few sentences on how to use the calculator, on a
// dark blue panel that fills the window. Not modal; owned by the main window.
// Closing it unloads (deletes) it.
#pragma once

#include <string>

#include <QDialog>
#include <QLabel>

namespace korvane::app {

class fQuickHelp final : public QDialog {
public:
    // Creating the window runs its load handler with the program's title.
    fQuickHelp(QWidget* owner, const std::string& DisplayTitle);

    // The help text, character for character as the load handler sets it.
    static std::string HelpText(const std::string& DisplayTitle);
    // The label's caption as set, before line breaks are turned into the
    // toolkit's own.
    const std::string& Caption() const { return caption_; }

    QLabel* const lblQuickHelp;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load(const std::string& DisplayTitle);
    void Form_Resize();

    std::string caption_;
};

}  // namespace korvane::app

// A push button drawn from three pictures (normal, hover, pressed) that takes
// the size of the picture it shows. The behaviour lives in PictureButtonCore;
// this widget turns Qt's input into its calls and shows what it draws.
#pragma once

#include <QWidget>

#include "controls/picture_button/PictureButtonCore.h"
#include "platform/qt/QtMouseInput.h"

namespace korvane::controls {

class PictureButton final : public QWidget, private PictureButtonSurface {
public:
    PictureButton(platform::Pointer& pointer, platform::TimerFactory& timers, QWidget* parent = nullptr);

    PictureButtonCore& Core() { return core_; }
    PictureButtonEvents& Events() { return core_.Events(); }

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    platform::WindowId Id() const override;
    void Clear() override;
    void Draw(const gdi::StdPicture& picture, int x, int y) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    PictureButtonCore core_;
    platform::qt::QtMouseInput mouse_;
    gdi::StdPicture shown_;
    QPoint shownAt_;
    // Only focus that arrived by keyboard is marked, so mouse users see just the pictures.
    bool keyboardFocus_ = false;
};

}  // namespace korvane::controls

// A control's mouse input, turned from Qt's events into the controls' own:
// MouseDown, MouseMove and MouseUp with the button and modifier codes and a
// position in the control's units, Click for a left press and release on the
// control, DblClick for a left double click.
#pragma once

#include <cstdint>
#include <functional>

#include <QPointF>

class QMouseEvent;
class QWidget;

namespace korvane::platform::qt {

class QtMouseInput {
public:
    using MouseHandler = std::function<void(std::int16_t Button, std::int16_t Shift, float x, float y)>;
    struct Handlers {
        MouseHandler MouseDown;
        MouseHandler MouseMove;
        MouseHandler MouseUp;
        std::function<void()> Click;
        std::function<void()> DblClick;
    };

    // `position` turns a position in `widget` into the control's x and y;
    // `widget` must outlive this.
    QtMouseInput(const QWidget& widget, std::function<QPointF(QPointF)> position, Handlers handlers);

    void Press(const QMouseEvent& event);
    void Move(const QMouseEvent& event);
    void Release(const QMouseEvent& event);
    void DoubleClick(const QMouseEvent& event);

private:
    void Raise(const MouseHandler& handler, std::int16_t Button, const QMouseEvent& event) const;

    const QWidget& m_Widget;
    std::function<QPointF(QPointF)> m_Position;
    Handlers m_Handlers;
    // A left press began on the control and no double click took it over.
    bool m_ClickArmed = false;
};

}  // namespace korvane::platform::qt

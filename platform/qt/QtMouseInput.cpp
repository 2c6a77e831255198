#include "platform/qt/QtMouseInput.h"

#include <utility>

#include <QMouseEvent>
#include <QWidget>

#include "platform/qt/QtInputCodes.h"

namespace korvane::platform::qt {

QtMouseInput::QtMouseInput(const QWidget& widget, std::function<QPointF(QPointF)> position, Handlers handlers)
    : m_Widget(widget), m_Position(std::move(position)), m_Handlers(std::move(handlers))
{
}

void QtMouseInput::Raise(const MouseHandler& handler, std::int16_t Button, const QMouseEvent& event) const
{
    const QPointF at = m_Position(event.position());
    if (handler) handler(Button, ShiftCode(event.modifiers()), static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void QtMouseInput::Press(const QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton) m_ClickArmed = true;
    Raise(m_Handlers.MouseDown, ButtonCode(event.button()), event);
}

void QtMouseInput::Move(const QMouseEvent& event)
{
    Raise(m_Handlers.MouseMove, ButtonCode(event.buttons()), event);
}

void QtMouseInput::Release(const QMouseEvent& event)
{
    Raise(m_Handlers.MouseUp, ButtonCode(event.button()), event);
    // A click is a left press and release on the control, as the platform reports it.
    if (event.button() != Qt::LeftButton || !m_ClickArmed) return;
    m_ClickArmed = false;
    if (m_Widget.rect().contains(event.position().toPoint()) && m_Handlers.Click) m_Handlers.Click();
}

void QtMouseInput::DoubleClick(const QMouseEvent& event)
{
    // Qt reports the second press of a double click as the double click.
    // With the left button that is DblClick alone, and its release is no
    // Click; another button's second press is an ordinary press.
    if (event.button() == Qt::LeftButton) {
        m_ClickArmed = false;
        if (m_Handlers.DblClick) m_Handlers.DblClick();
    } else {
        Press(event);
    }
}

}  // namespace korvane::platform::qt

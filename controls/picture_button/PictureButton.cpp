#include "controls/picture_button/PictureButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/QtInputCodes.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtPointer.h"

namespace korvane::controls {
namespace {

constexpr float kTwipsPerPixel = 15.0F;

using platform::qt::ButtonCode;
using platform::qt::ShiftCode;

// Screen readers see a push button that can be pressed.
class PictureButtonAccessible final : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) static_cast<PictureButton*>(widget())->Core().Click();
    }
};

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object)
{
    auto* button = dynamic_cast<PictureButton*>(object);
    if (className != QLatin1String("QWidget") || button == nullptr) return nullptr;
    return new PictureButtonAccessible(button);
}

}  // namespace

PictureButton::PictureButton(platform::Pointer& pointer, platform::TimerFactory& timers, QWidget* parent)
    : QWidget(parent), core_(*this, pointer, timers)
{
    static const bool installed = (QAccessible::installFactory(AccessibleFactory), true);
    (void)installed;
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button announce the pointer's arrival.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(PictureButtonCore::kHolderWidth, PictureButtonCore::kHolderHeight);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage image = platform::qt::ToQImage(shown_, devicePixelRatioF());
    if (!image.isNull()) painter.drawImage(shownAt_, image);
    if (keyboardFocus_ && hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
}

void PictureButton::resizeEvent(QResizeEvent*)
{
    core_.Resize();
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) pressedLeft_ = true;
    const QPointF at = event->position() * kTwipsPerPixel;
    core_.MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), static_cast<float>(at.x()),
                    static_cast<float>(at.y()));
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() * kTwipsPerPixel;
    core_.MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), static_cast<float>(at.x()),
                    static_cast<float>(at.y()));
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position() * kTwipsPerPixel;
    core_.MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()), static_cast<float>(at.x()),
                  static_cast<float>(at.y()));
    // A click is a left press and release on the control, as the platform reports it.
    if (event->button() == Qt::LeftButton && pressedLeft_) {
        pressedLeft_ = false;
        if (rect().contains(event->position().toPoint())) core_.Click();
    }
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt reports the second press of a double click as the double click.
    // With the left button that is DblClick alone; another button's second
    // press is an ordinary press.
    if (event->button() == Qt::LeftButton) {
        core_.DblClick();
    } else {
        mousePressEvent(event);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event->isAutoRepeat()) core_.Click();
            event->accept();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void PictureButton::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    update();
    QWidget::focusOutEvent(event);
}

platform::WindowId PictureButton::Id() const
{
    return platform::qt::IdOf(this);
}

void PictureButton::Clear()
{
    shown_.reset();
    update();
}

void PictureButton::Draw(const gdi::StdPicture& picture, int x, int y)
{
    shown_ = picture;
    shownAt_ = QPoint(x, y);
    update();
}

void PictureButton::SetWidth(int width)
{
    resize(width, height());
}

void PictureButton::SetHeight(int height)
{
    resize(width(), height);
}

}  // namespace korvane::controls

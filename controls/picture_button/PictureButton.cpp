#include "controls/picture_button/PictureButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtPointer.h"

namespace korvane::controls {
namespace {

constexpr float kTwipsPerPixel = 15.0F;

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
    : QWidget(parent),
      core_(*this, pointer, timers),
      // The core takes positions in twips.
      mouse_(
          *this, [](QPointF at) { return at * kTwipsPerPixel; },
          {[this](std::int16_t Button, std::int16_t Shift, float x, float y) { core_.MouseDown(Button, Shift, x, y); },
           [this](std::int16_t Button, std::int16_t Shift, float x, float y) { core_.MouseMove(Button, Shift, x, y); },
           [this](std::int16_t Button, std::int16_t Shift, float x, float y) { core_.MouseUp(Button, Shift, x, y); },
           [this] { core_.Click(); }, [this] { core_.DblClick(); }})
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
    mouse_.Press(*event);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    mouse_.Move(*event);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    mouse_.Release(*event);
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mouse_.DoubleClick(*event);
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

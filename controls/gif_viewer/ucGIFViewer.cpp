#include "controls/gif_viewer/ucGIFViewer.h"

#include <cstring>

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "imaging/dib/cDIB.h"

namespace korvane::controls {

// The widget's client area as the engine's control surface: a 32-bit memory
// surface of the contents rectangle's size, shown by paintEvent.
class ucGIFViewer::Surface : public ControlSurface {
public:
    explicit Surface(ucGIFViewer& owner) : m_Owner(owner) {}

    // The client area changed size; it starts over in the back colour.
    void Recreate()
    {
        if (m_Client.Create(ClientWidth(), ClientHeight(), 32)) m_Client.Cls(m_BackColor);
    }

    QImage ClientImage() const
    {
        QImage image(m_Client.Width(), m_Client.Height(), QImage::Format_RGB32);
        const auto rowBytes = static_cast<std::size_t>(m_Client.Width()) * 4;
        for (int y = 0; y < m_Client.Height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            std::memcpy(row, m_Client.lpBits() + static_cast<std::size_t>(y) * m_Client.BytesPerScanline(), rowBytes);
            // The surface's fourth byte is reserved (0); Qt wants it opaque.
            for (int x = 0; x < m_Client.Width(); ++x)
                row[x] |= 0xFF000000U;
        }
        return image;
    }

    std::int32_t ClientWidth() const override { return m_Owner.contentsRect().width(); }
    std::int32_t ClientHeight() const override { return m_Owner.contentsRect().height(); }
    gdi::HDC hDC() const override { return m_Client.hDC(); }
    gdi::OLE_COLOR BackColor() const override { return m_BackColor; }
    void SetBackColor(gdi::OLE_COLOR New_BackColor) override { m_BackColor = New_BackColor; }
    std::int16_t BorderStyle() const override { return m_BorderStyle; }
    void SetBorderStyle(std::int16_t New_BorderStyle) override
    {
        m_BorderStyle = New_BorderStyle;
        m_Owner.setContentsMargins(New_BorderStyle, New_BorderStyle, New_BorderStyle, New_BorderStyle);
        Recreate();
        m_Owner.update();
    }
    bool Enabled() const override { return !m_Owner.testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool New_Enabled) override { m_Owner.setEnabled(New_Enabled); }
    void Refresh() override { m_Owner.update(m_Owner.contentsRect()); }

private:
    ucGIFViewer& m_Owner;
    imaging::cDIB m_Client;
    gdi::OLE_COLOR m_BackColor = DefaultBackColor;
    std::int16_t m_BorderStyle = 0;
};

ucGIFViewer::ucGIFViewer(platform::TimerFactory& timers, const platform::ResourceLookup& resources, QWidget* parent)
    : QWidget(parent),
      m_Surface(std::make_unique<Surface>(*this)),
      m_Timer(timers.CreateTimer()),
      m_Player(*m_Surface, *m_Timer, resources),
      // Positions are in client pixels, inside the border.
      m_Mouse(
          *this, [this](QPointF at) { return at - QPointF(contentsRect().topLeft()); },
          {[this](std::int16_t Button, std::int16_t Shift, float x, float y) { emit MouseDown(Button, Shift, x, y); },
           [this](std::int16_t Button, std::int16_t Shift, float x, float y) { emit MouseMove(Button, Shift, x, y); },
           [this](std::int16_t Button, std::int16_t Shift, float x, float y) { emit MouseUp(Button, Shift, x, y); },
           [this] { emit Click(); }, [this] { emit DblClick(); }})
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_Player.SetGIFFrameRenderedHandler([this](std::int16_t Frame) { emit GIFFrameRendered(Frame); });
}

ucGIFViewer::~ucGIFViewer() = default;

void ucGIFViewer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_Surface->BorderStyle() != 0) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.drawImage(contentsRect().topLeft(), m_Surface->ClientImage());
}

void ucGIFViewer::resizeEvent(QResizeEvent*)
{
    m_Surface->Recreate();
    m_Player.Resize();
}

void ucGIFViewer::mousePressEvent(QMouseEvent* event)
{
    m_Mouse.Press(*event);
}

void ucGIFViewer::mouseMoveEvent(QMouseEvent* event)
{
    m_Mouse.Move(*event);
}

void ucGIFViewer::mouseReleaseEvent(QMouseEvent* event)
{
    m_Mouse.Release(*event);
}

void ucGIFViewer::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_Mouse.DoubleClick(*event);
}

void ucGIFViewer::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.size() != 1 || text.front().unicode() > 0xFF) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit KeyPress(static_cast<std::int16_t>(text.front().unicode()));
}

}  // namespace korvane::controls

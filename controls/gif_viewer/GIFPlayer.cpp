#include "controls/gif_viewer/GIFPlayer.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/gdi/CheckedNumbers.h"
#include "platform/gdi/ScopedObject.h"

namespace korvane::controls {
namespace {

constexpr std::int32_t FirstTickInterval = 1;  // frame 1 follows almost at once
constexpr std::int32_t CreatedInterval = 10;

using gdi::ScopedObject;

gdi::COLORREF TranslatedColour(gdi::OLE_COLOR colour)
{
    gdi::COLORREF rgb = 0;
    if (!gdi::OleTranslateColor(colour, rgb)) throw std::out_of_range("invalid colour value");
    return rgb;
}

std::int16_t CheckedBorderStyle(std::int64_t value)
{
    const std::int16_t style = gdi::CheckedInt16(value, "border style does not fit 16 bits");
    if (style != 0 && style != 1) throw std::out_of_range("border style must be 0 or 1");
    return style;
}

bool IsEmpty(const gdi::RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

gdi::RECT Union(const gdi::RECT& a, const gdi::RECT& b)
{
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

gdi::OLE_COLOR CheckedColour(std::int64_t value)
{
    if (value < 0 || value > std::numeric_limits<gdi::OLE_COLOR>::max())
        throw std::out_of_range("invalid colour value");
    const auto colour = static_cast<gdi::OLE_COLOR>(value);
    TranslatedColour(colour);
    return colour;
}

}  // namespace

std::int32_t FrameInterval(std::int16_t d)
{
    if (d < 0) return 60000;
    if (d == 0) return 100;
    if (d < 5) return 50;
    return std::int32_t{d} * 10;
}

GIFPlayer::GIFPlayer(ControlSurface& surface, platform::Timer& timer, const ResourceLookup& resources)
    : m_Surface(surface), m_Timer(timer), m_Resources(resources)
{
    m_Timer.SetEnabled(false);
    m_Timer.SetInterval(CreatedInterval);
    m_Timer.OnTick([this] { TimerTick(); });
}

GIFPlayer::~GIFPlayer()
{
    m_Timer.SetEnabled(false);
    m_Timer.OnTick(nullptr);
}

bool GIFPlayer::LoadFromFile(const std::string& FileName)
{
    m_Timer.SetEnabled(false);
    m_FrameCount = 0;
    return StartLoaded(LoadFrameCount(m_GIF.LoadFromFile(FileName)));
}

bool GIFPlayer::LoadFromResource(const std::string& ResourceID, const std::string& ResourceType)
{
    m_Timer.SetEnabled(false);
    m_FrameCount = 0;
    bool loaded = false;
    {
        const std::vector<std::uint8_t> bytes = m_Resources.ResourceData(ResourceID, ResourceType);
        loaded = LoadFrameCount(m_GIF.LoadFromStream(bytes));
    }
    return StartLoaded(loaded);
}

bool GIFPlayer::StartLoaded(bool loaded)
{
    // A loader answers False on any failure, also when the loaded picture
    // cannot be shown (a logical screen too large for the surfaces).
    try {
        StartAnimation(m_AutoPlay);
    } catch (const std::exception&) {
        m_Timer.SetEnabled(false);
        m_FrameCount = 0;
        return false;
    }
    return loaded;
}

bool GIFPlayer::LoadFrameCount(bool loaded)
{
    if (loaded) m_FrameCount = m_GIF.FramesCount();
    return m_FrameCount > 0;
}

void GIFPlayer::Play()
{
    m_Timer.SetEnabled(m_FrameCount > 1);
}

void GIFPlayer::Pause()
{
    m_Timer.SetEnabled(false);
}

void GIFPlayer::Rewind()
{
    m_CurrentFrame = 1;
}

void GIFPlayer::NextFrame()
{
    if (m_FrameCount > 0 && !m_Timer.Enabled()) Tick();
}

void GIFPlayer::Destroy()
{
    m_Timer.SetEnabled(false);
    m_FrameCount = 0;
    m_GIF.Destroy();
    m_Canvas.Destroy();
    m_BackBuffer.Destroy();
    m_Background.Destroy();
    m_PaintedValid = false;
    m_bfW = 0;
    m_bfH = 0;
    EraseMargins();
}

void GIFPlayer::SetBackColor(gdi::OLE_COLOR New_BackColor)
{
    TranslatedColour(New_BackColor);
    m_Surface.SetBackColor(New_BackColor);
    const bool playing = m_Timer.Enabled();
    m_Timer.SetEnabled(false);
    StartAnimation(playing);
}

void GIFPlayer::SetBorderStyle(std::int32_t New_BorderStyle)
{
    m_Surface.SetBorderStyle(CheckedBorderStyle(New_BorderStyle));
    // The border changed the client area: lay the picture out again.
    Resize();
}

void GIFPlayer::ReadProperties(const PropertyBag& PropBag)
{
    m_AutoPlay = PropBag.ReadProperty("AutoPlay", 0) != 0;
    m_Surface.SetBackColor(CheckedColour(PropBag.ReadProperty("BackColor", DefaultBackColor)));
    m_Surface.SetBorderStyle(CheckedBorderStyle(PropBag.ReadProperty("BorderStyle", 0)));
    m_Surface.SetEnabled(PropBag.ReadProperty("Enabled", 1) != 0);
}

void GIFPlayer::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty("AutoPlay", m_AutoPlay ? 1 : 0, 0);
    PropBag.WriteProperty("BackColor", m_Surface.BackColor(), DefaultBackColor);
    PropBag.WriteProperty("BorderStyle", m_Surface.BorderStyle(), 0);
    PropBag.WriteProperty("Enabled", m_Surface.Enabled() ? 1 : 0, 1);
}

void GIFPlayer::SetGIFFrameRenderedHandler(std::function<void(std::int16_t Frame)> handler)
{
    m_GIFFrameRendered = std::move(handler);
}

void GIFPlayer::Resize()
{
    UpdateBestFit();
    EraseMargins();
    Paint();
}

void GIFPlayer::Paint()
{
    if (!m_Canvas.hDIB()) return;
    m_Canvas.Stretch(m_Surface.hDC(), m_bfx, m_bfy, m_bfW, m_bfH, 0, 0, 0, 0, gdi::SRCCOPY, gdi::COLORONCOLOR);
    m_PaintedValid = true;
    m_PaintedDC = m_Surface.hDC();
    m_PaintedClientWidth = m_Surface.ClientWidth();
    m_PaintedClientHeight = m_Surface.ClientHeight();
    m_PaintedRect = {m_bfx, m_bfy, m_bfx + m_bfW, m_bfy + m_bfH};
    m_Unpainted = {};
    m_Surface.Refresh();
}

// At natural size the stretch is a plain copy, pixel for pixel, so copying
// only the changed part leaves the control as a whole paint would.
bool GIFPlayer::PaintedAtNaturalSize() const
{
    return m_PaintedValid && m_PaintedDC == m_Surface.hDC() && m_PaintedClientWidth == m_Surface.ClientWidth() &&
           m_PaintedClientHeight == m_Surface.ClientHeight() &&
           m_PaintedRect == gdi::RECT{m_bfx, m_bfy, m_bfx + m_bfW, m_bfy + m_bfH} && m_bfW == m_Canvas.Width() &&
           m_bfH == m_Canvas.Height();
}

void GIFPlayer::PaintChanges()
{
    if (!m_Canvas.hDIB()) return;
    if (!PaintedAtNaturalSize()) {
        Paint();
        return;
    }
    const gdi::RECT& r = m_Unpainted;
    if (!IsEmpty(r)) {
        gdi::BitBlt(m_Surface.hDC(), m_bfx + r.left, m_bfy + r.top, r.right - r.left, r.bottom - r.top, m_Canvas.hDC(),
                    r.left, r.top, gdi::SRCCOPY);
    }
    m_Unpainted = {};
    m_Surface.Refresh();
}

void GIFPlayer::CanvasChanged(const gdi::RECT& rect)
{
    m_Unpainted = Union(m_Unpainted, rect);
}

void GIFPlayer::StartAnimation(bool play)
{
    if (m_FrameCount <= 0) return;
    CreateSurfaces();
    m_CurrentFrame = 1;
    EraseMargins();
    if (m_FrameCount > 1 && play) {
        m_Timer.SetInterval(FirstTickInterval);
        m_Timer.SetEnabled(true);
    } else {
        Tick();
    }
}

void GIFPlayer::CreateSurfaces()
{
    const std::int32_t width = m_GIF.ScreenWidth();
    const std::int32_t height = m_GIF.ScreenHeight();
    m_Canvas.Create(width, height, 32);
    m_BackBuffer.Create(width, height, 32);
    m_Background.Create(width, height, 32);
    const gdi::OLE_COLOR back = m_Surface.BackColor();
    m_Canvas.Cls(back);
    m_BackBuffer.Cls(back);
    m_Background.Cls(back);
    m_Stale = WholeScreen();
    m_StaleIsBackground = false;
    m_PaintedValid = false;
    UpdateBestFit();
}

void GIFPlayer::UpdateBestFit()
{
    m_Canvas.GetBestFitInfo(m_Surface.ClientWidth(), m_Surface.ClientHeight(), m_bfx, m_bfy, m_bfW, m_bfH, false);
}

void GIFPlayer::EraseMargins()
{
    const ScopedObject<gdi::HBRUSH> brush(gdi::CreateSolidBrush(TranslatedColour(m_Surface.BackColor())));
    const ScopedObject<gdi::HRGN> margins(gdi::CreateRectRgn(0, 0, m_Surface.ClientWidth(), m_Surface.ClientHeight()));
    const ScopedObject<gdi::HRGN> picture(gdi::CreateRectRgn(m_bfx, m_bfy, m_bfx + m_bfW, m_bfy + m_bfH));
    gdi::CombineRgn(margins.get(), margins.get(), picture.get(), gdi::RGN_DIFF);
    gdi::FillRgn(m_Surface.hDC(), margins.get(), brush.get());
    // The picture rectangle may have moved under the margins: paint it whole next time.
    m_PaintedValid = false;
    m_Surface.Refresh();
}

void GIFPlayer::TimerTick()
{
    // A tick of the timer has no caller to hand an error to (a throwing
    // GIFFrameRendered handler, a damaged frame): the animation stops there.
    try {
        Tick();
    } catch (const std::exception&) {
        m_Timer.SetEnabled(false);
    }
}

void GIFPlayer::Tick()
{
    RenderCurrentFrame();
    if (m_CurrentFrame < m_FrameCount) {
        ++m_CurrentFrame;
    } else {
        m_CurrentFrame = 1;
    }
    PaintChanges();
}

void GIFPlayer::RenderCurrentFrame()
{
    const std::int16_t n = m_CurrentFrame;
    m_Timer.SetInterval(FrameInterval(m_GIF.FrameDelay(n)));
    // Every pass of the animation starts on an empty canvas.
    if (n == 1) {
        m_BackBuffer.Cls(m_Surface.BackColor());
        m_Stale = WholeScreen();
        m_StaleIsBackground = false;
    }
    // The canvas becomes what this frame goes over; outside m_Stale it is that already.
    if (m_StaleIsBackground) {
        RestoreBackground(m_Canvas, m_Stale);
    } else {
        CopyRect(m_Canvas, m_BackBuffer, m_Stale);
    }
    CanvasChanged(m_Stale);
    m_Stale = {};
    m_StaleIsBackground = false;
    const gdi::RECT frame = FrameRect(n);
    const std::int32_t disposal = m_GIF.FrameDisposalMethod(n);
    // A frame that leaves no trace: keep what it covers for the next one.
    if (disposal < 0 || disposal > 2) CopyRect(m_BackBuffer, m_Canvas, frame);
    CanvasChanged(frame);
    m_GIF.FrameDraw(m_Canvas.hDC(), n, 0, 0, 1.0F, false);
    DisposeFrame(disposal, frame);
    if (m_GIFFrameRendered) m_GIFFrameRendered(n);
}

// The frame draws inside its rectangle only, so the next frame goes over the
// canvas as it stands except there.
void GIFPlayer::DisposeFrame(std::int32_t disposal, const gdi::RECT& frame)
{
    switch (disposal) {
        case 0:
        case 1:
            // The frame stays: the canvas is what the next frame goes over.
            break;
        case 2:
            // Restored to the control's back colour, not the GIF's background index.
            m_Stale = frame;
            m_StaleIsBackground = true;
            break;
        default:
            // 3 and every other value: what the frame covered, kept in the back buffer.
            m_Stale = frame;
            break;
    }
}

gdi::RECT GIFPlayer::FrameRect(std::int16_t n) const
{
    const auto image = m_GIF.FrameDIBXOR(n);
    if (!image) return {};
    const std::int32_t left = m_GIF.FrameLeft(n);
    const std::int32_t top = m_GIF.FrameTop(n);
    return {left, top, left + image->Width(), top + image->Height()};
}

gdi::RECT GIFPlayer::WholeScreen() const
{
    return {0, 0, m_Canvas.Width(), m_Canvas.Height()};
}

// The background is one colour throughout, so its pixels under a rectangle
// are what stretching all of it there gives: a fill of that colour, which
// reads nothing, or else a copy of them.
void GIFPlayer::RestoreBackground(imaging::cDIB& to, const gdi::RECT& rect) const
{
    if (IsEmpty(rect)) return;
    if (m_Background.hDIB() && m_Background.bpp() == 32) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, m_Background.lpBits(), sizeof pixel);
        // A fill stores 0x00RRGGBB; any other pixel value is copied as it is.
        if ((pixel >> 24) == 0) {
            const gdi::COLORREF colour =
                gdi::RGB(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                         static_cast<std::uint8_t>(pixel));
            const ScopedObject<gdi::HBRUSH> brush(gdi::CreateSolidBrush(colour));
            gdi::FillRect(to.hDC(), rect, brush.get());
            return;
        }
    }
    CopyRect(to, m_Background, rect);
}

void GIFPlayer::CopyRect(imaging::cDIB& to, const imaging::cDIB& from, const gdi::RECT& rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    gdi::BitBlt(to.hDC(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, from.hDC(), rect.left,
                rect.top, gdi::SRCCOPY);
}

}  // namespace korvane::controls

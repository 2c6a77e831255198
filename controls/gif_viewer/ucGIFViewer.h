// The GIF viewer control: a widget that shows a GIF, still or animated,
// fitted and centred in its client area, and passes the user's clicks, keys
// and mouse actions on as events of its own. The playback itself is
// GIFPlayer's; this class gives it a window surface, a frame timer from the
// platform and the program's resources, and turns widget input into the control's
// signals.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QWidget>

#include "controls/gif_viewer/GIFPlayer.h"
#include "platform/ResourceLookup.h"
#include "platform/Timer.h"
#include "platform/qt/QtMouseInput.h"

namespace korvane::controls {

class ucGIFViewer : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("BackColor", "Devuelve o establece el color de fondo usado para mostrar texto y gráficos en un objeto.")
    Q_CLASSINFO("enabled",
                "Devuelve o establece un valor que determina si un objeto puede responder a eventos generados por el "
                "usuario.")

public:
    // The frame timer `tmrDelay` comes from `timers`; LoadFromResource reads `resources`.
    ucGIFViewer(platform::TimerFactory& timers, const platform::ResourceLookup& resources, QWidget* parent = nullptr);
    ~ucGIFViewer() override;

    bool LoadFromFile(const std::string& FileName) { return m_Player.LoadFromFile(FileName); }
    // The resource of that type and identifier; ResourceNotFoundError when there is none.
    bool LoadFromResource(const std::string& ResourceID, const std::string& ResourceType)
    {
        return m_Player.LoadFromResource(ResourceID, ResourceType);
    }
    void Play() { m_Player.Play(); }
    void Pause() { m_Player.Pause(); }
    void Rewind() { m_Player.Rewind(); }
    void NextFrame() { m_Player.NextFrame(); }
    void Destroy() { m_Player.Destroy(); }

    bool GIFLoaded() const { return m_Player.GIFLoaded(); }
    std::int16_t GIFWidth() const { return m_Player.GIFWidth(); }
    std::int16_t GIFHeight() const { return m_Player.GIFHeight(); }
    std::int16_t GIFFrames() const { return m_Player.GIFFrames(); }
    std::int16_t GIFCurrentFrame() const { return m_Player.GIFCurrentFrame(); }
    gdi::StdPicture GIFCurrentFrameImage() const { return m_Player.GIFCurrentFrameImage(); }
    bool GIFIsPlaying() const { return m_Player.GIFIsPlaying(); }

    bool AutoPlay() const { return m_Player.AutoPlay(); }
    void SetAutoPlay(bool New_AutoPlay) { m_Player.SetAutoPlay(New_AutoPlay); }
    gdi::OLE_COLOR BackColor() const { return m_Player.BackColor(); }
    void SetBackColor(gdi::OLE_COLOR New_BackColor) { m_Player.SetBackColor(New_BackColor); }
    std::int32_t BorderStyle() const { return m_Player.BorderStyle(); }
    void SetBorderStyle(std::int32_t New_BorderStyle) { m_Player.SetBorderStyle(New_BorderStyle); }
    // The control's own enabled state (QWidget's, without the parents').
    bool Enabled() const { return m_Player.Enabled(); }
    void SetEnabled(bool New_Enabled) { m_Player.SetEnabled(New_Enabled); }

    void ReadProperties(const PropertyBag& PropBag) { m_Player.ReadProperties(PropBag); }
    void WriteProperties(PropertyBag& PropBag) const { m_Player.WriteProperties(PropBag); }

signals:
    void Click();
    void DblClick();
    void KeyPress(std::int16_t KeyAscii);
    // Button: 1 left, 2 right, 4 middle (for MouseMove, the buttons held);
    // Shift: 1 shift, 2 control, 4 alt; x, y in client pixels.
    void MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y);
    void MouseMove(std::int16_t Button, std::int16_t Shift, float x, float y);
    void MouseUp(std::int16_t Button, std::int16_t Shift, float x, float y);
    void GIFFrameRendered(std::int16_t Frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Surface;

    std::unique_ptr<Surface> m_Surface;
    std::unique_ptr<platform::Timer> m_Timer;
    GIFPlayer m_Player;
    platform::qt::QtMouseInput m_Mouse;
};

}  // namespace korvane::controls

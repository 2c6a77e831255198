// The GIF viewer's playback engine, free of any window toolkit: it owns the
// GIF document and the three composition surfaces, plays the frames with
// their delays and disposal methods on a frame timer, and paints the composed
// canvas, fitted and centred, into a control surface.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "controls/gif_viewer/ControlSurface.h"
#include "controls/gif_viewer/PropertyBag.h"
#include "imaging/dib/cDIB.h"
#include "imaging/gif/cGIF.h"
#include "platform/ResourceLookup.h"
#include "platform/Timer.h"
#include "platform/gdi/gdi.h"

namespace korvane::controls {

// Resources are the platform's; the player, its tests and its tools name them as their own.
using platform::ResourceLookup;
using platform::ResourceNotFoundError;

// The back colour a new control starts with: the button face.
constexpr gdi::OLE_COLOR DefaultBackColor = 0x8000000F;

// How long a frame with delay d (hundredths of a second, read as signed
// 16 bits) stays on screen, in milliseconds.
std::int32_t FrameInterval(std::int16_t d);

class GIFPlayer {
public:
    // The player drives `timer` (it takes over its callback) and draws into
    // `surface`; both must outlive it.
    GIFPlayer(ControlSurface& surface, platform::Timer& timer, const ResourceLookup& resources);
    ~GIFPlayer();
    GIFPlayer(const GIFPlayer&) = delete;
    GIFPlayer& operator=(const GIFPlayer&) = delete;

    // True when the document holds at least one frame afterwards and it can
    // be shown; False on any failure, which leaves the picture composed
    // before on the surfaces.
    bool LoadFromFile(const std::string& FileName);
    // As LoadFromFile, from the resource's bytes; a missing resource throws
    // ResourceNotFoundError with the timer already off and nothing loaded.
    bool LoadFromResource(const std::string& ResourceID, const std::string& ResourceType);
    void Play();
    void Pause();
    void Rewind();
    void NextFrame();
    void Destroy();

    bool GIFLoaded() const { return m_FrameCount > 0; }
    std::int16_t GIFWidth() const { return m_GIF.ScreenWidth(); }
    std::int16_t GIFHeight() const { return m_GIF.ScreenHeight(); }
    std::int16_t GIFFrames() const { return m_FrameCount; }
    std::int16_t GIFCurrentFrame() const { return m_CurrentFrame; }
    // A snapshot of the composed canvas at the logical screen size; null
    // before anything was composed.
    gdi::StdPicture GIFCurrentFrameImage() const { return m_Canvas.Image(); }
    bool GIFIsPlaying() const { return m_Timer.Enabled(); }

    bool AutoPlay() const { return m_AutoPlay; }
    void SetAutoPlay(bool New_AutoPlay) { m_AutoPlay = New_AutoPlay; }
    gdi::OLE_COLOR BackColor() const { return m_Surface.BackColor(); }
    // Restarts the display from frame 1 in the new colour, playing if it was
    // playing. A colour that cannot be translated throws std::out_of_range.
    void SetBackColor(gdi::OLE_COLOR New_BackColor);
    std::int32_t BorderStyle() const { return m_Surface.BorderStyle(); }
    // std::overflow_error outside 16 bits, std::out_of_range for a style
    // other than 0 (none) or 1 (single line).
    void SetBorderStyle(std::int32_t New_BorderStyle);
    bool Enabled() const { return m_Surface.Enabled(); }
    void SetEnabled(bool New_Enabled) { m_Surface.SetEnabled(New_Enabled); }

    // Saved properties "AutoPlay", "BackColor", "BorderStyle", "Enabled".
    void ReadProperties(const PropertyBag& PropBag);
    void WriteProperties(PropertyBag& PropBag) const;

    // Called after every composed frame with its number, before painting.
    void SetGIFFrameRenderedHandler(std::function<void(std::int16_t Frame)> handler);

    // The surface reports a new client size.
    void Resize();
    // Draws the canvas into its picture rectangle; margins stay as they are.
    void Paint();

private:
    bool LoadFrameCount(bool loaded);
    // Starts the loaded document; False, with nothing loaded, when it cannot.
    bool StartLoaded(bool loaded);
    void StartAnimation(bool play);
    void CreateSurfaces();
    void UpdateBestFit();
    void EraseMargins();
    void TimerTick();
    void Tick();
    void RenderCurrentFrame();
    void DisposeFrame(std::int32_t disposal, const gdi::RECT& frame);
    void PaintChanges();
    bool PaintedAtNaturalSize() const;
    void CanvasChanged(const gdi::RECT& rect);
    gdi::RECT FrameRect(std::int16_t n) const;
    gdi::RECT WholeScreen() const;
    void RestoreBackground(imaging::cDIB& to, const gdi::RECT& rect) const;
    static void CopyRect(imaging::cDIB& to, const imaging::cDIB& from, const gdi::RECT& rect);

    ControlSurface& m_Surface;
    platform::Timer& m_Timer;
    const ResourceLookup& m_Resources;
    std::function<void(std::int16_t)> m_GIFFrameRendered;

    bool m_AutoPlay = false;
    imaging::cGIF m_GIF;
    std::int16_t m_FrameCount = 0;
    std::int16_t m_CurrentFrame = 0;
    imaging::cDIB m_Canvas;
    imaging::cDIB m_BackBuffer;
    imaging::cDIB m_Background;
    // What the next frame goes over is the canvas, except in m_Stale: there
    // it is the back buffer's pixels, or the background when
    // m_StaleIsBackground. Only that rectangle is restored before a frame and
    // only a frame that leaves no trace saves what it covers: the pictures of
    // whole-surface copies at a fraction of the bytes.
    gdi::RECT m_Stale;
    bool m_StaleIsBackground = false;
    // What the control shows of the canvas. A tick repaints only the part of
    // the canvas it changed, as long as the last paint went into the same
    // client area at the same place and at natural size: the control surface
    // keeps what was drawn into it.
    bool m_PaintedValid = false;
    gdi::HDC m_PaintedDC;
    std::int32_t m_PaintedClientWidth = 0;
    std::int32_t m_PaintedClientHeight = 0;
    gdi::RECT m_PaintedRect;
    gdi::RECT m_Unpainted;
    std::int32_t m_bfx = 0;
    std::int32_t m_bfy = 0;
    std::int32_t m_bfW = 0;
    std::int32_t m_bfH = 0;
};

}  // namespace korvane::controls

// The picture button's behaviour without a window: which of its three
// pictures it shows, when it announces the pointer's arrival and departure,
// and which events it raises. The widget feeds it mouse input and draws what
// it asks for; tests drive it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Pointer.h"
#include "platform/Timer.h"
#include "platform/gdi/gdi.h"

namespace korvane::controls {

// What the control needs of its window: identity, drawing and size, in pixels.
class PictureButtonSurface {
public:
    virtual ~PictureButtonSurface() = default;
    virtual platform::WindowId Id() const = 0;
    virtual void Clear() = 0;
    // Draws `picture` at its natural size with its top-left corner at (x, y).
    virtual void Draw(const gdi::StdPicture& picture, int x, int y) = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
};

// The events raised to the host, in declaration order. The mouse events get
// their arguments by reference; the control goes on with what the host leaves.
struct PictureButtonEvents {
    using MouseHandler = std::function<void(std::int16_t& Button, std::int16_t& Shift, float& x, float& y)>;
    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    MouseHandler MouseDown;
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;
    // The host's notice that a saved property changed.
    std::function<void(const std::string& name)> PropertyChanged;
};

// Saved properties by key ("Picture", "PictureHover", "PictureDown").
using PictureBag = std::map<std::string, gdi::StdPicture>;

// Which picture the button shows.
enum class ButtonState : std::int16_t { Normal = 0, Hover = 1, Down = 2 };

class PictureButtonCore {
public:
    PictureButtonCore(PictureButtonSurface& surface, platform::Pointer& pointer, platform::TimerFactory& timers);

    PictureButtonEvents& Events() { return events_; }

    const gdi::StdPicture& Picture() const { return m_Picture; }
    void SetPicture(const gdi::StdPicture& m_New_Picture);
    const gdi::StdPicture& PictureHover() const { return m_PictureHover; }
    void SetPictureHover(const gdi::StdPicture& m_New_PictureHover);
    const gdi::StdPicture& PictureDown() const { return m_PictureDown; }
    void SetPictureDown(const gdi::StdPicture& m_New_PictureDown);

    // The three pictures straight from the host's saved properties, without a
    // redraw: the first drawing comes with the first resize.
    void ReadProperties(const PictureBag& bag);
    void WriteProperties(PictureBag& bag) const;

    // Input from the window. Button: 1 left, 2 right, 4 middle; x, y in twips.
    void MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y);
    void MouseMove(std::int16_t Button, std::int16_t Shift, float x, float y);
    void MouseUp(std::int16_t Button, std::int16_t Shift, float x, float y);
    void Click();
    void DblClick();
    void Resize() { DrawState(); }

    ButtonState State() const { return m_State; }
    bool MouseOver() const { return m_MouseOver; }
    bool Polling() const { return tmrUpdate->Enabled(); }

    // Size of the picture holder when it has no picture: its design size,
    // 1635 x 855 twips, until a picture gives it another.
    static constexpr int kHolderWidth = 109;
    static constexpr int kHolderHeight = 57;

private:
    void DrawState();
    bool IsMouseOver() const;
    void tmrUpdate_Timer();
    void Raise(const PictureButtonEvents::MouseHandler& handler, std::int16_t& Button, std::int16_t& Shift, float& x,
               float& y);

    PictureButtonSurface& surface_;
    platform::Pointer& pointer_;
    PictureButtonEvents events_;
    std::unique_ptr<platform::Timer> tmrUpdate;

    gdi::StdPicture m_Picture;
    gdi::StdPicture m_PictureHover;
    gdi::StdPicture m_PictureDown;
    ButtonState m_State = ButtonState::Normal;
    bool m_MouseOver = false;
    // Picture1's size: it follows the picture it is given.
    int holderWidth_ = kHolderWidth;
    int holderHeight_ = kHolderHeight;
};

}  // namespace korvane::controls

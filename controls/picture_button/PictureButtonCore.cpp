#include "controls/picture_button/PictureButtonCore.h"

#include <exception>

namespace korvane::controls {
namespace {

constexpr int kPollMilliseconds = 1;

// Drawing never fails outward: a failing step is left undone and the next runs.
template <class Step>
void Attempt(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

gdi::StdPicture Saved(const PictureBag& bag, const std::string& key)
{
    const auto found = bag.find(key);
    return found == bag.end() ? gdi::StdPicture{} : found->second;
}

}  // namespace

PictureButtonCore::PictureButtonCore(PictureButtonSurface& surface, platform::Pointer& pointer,
                                     platform::TimerFactory& timers)
    : surface_(surface), pointer_(pointer), tmrUpdate(timers.CreateTimer())
{
    tmrUpdate->SetEnabled(false);
    tmrUpdate->SetInterval(kPollMilliseconds);
    tmrUpdate->OnTick([this] { tmrUpdate_Timer(); });
}

void PictureButtonCore::SetPicture(const gdi::StdPicture& m_New_Picture)
{
    m_Picture = m_New_Picture;
    DrawState();
    if (events_.PropertyChanged) events_.PropertyChanged("Picture");
}

void PictureButtonCore::SetPictureHover(const gdi::StdPicture& m_New_PictureHover)
{
    m_PictureHover = m_New_PictureHover;
    DrawState();
    if (events_.PropertyChanged) events_.PropertyChanged("PictureHover");
}

void PictureButtonCore::SetPictureDown(const gdi::StdPicture& m_New_PictureDown)
{
    m_PictureDown = m_New_PictureDown;
    DrawState();
    if (events_.PropertyChanged) events_.PropertyChanged("PictureDown");
}

void PictureButtonCore::ReadProperties(const PictureBag& bag)
{
    m_Picture = Saved(bag, "Picture");
    m_PictureHover = Saved(bag, "PictureHover");
    m_PictureDown = Saved(bag, "PictureDown");
}

void PictureButtonCore::WriteProperties(PictureBag& bag) const
{
    bag["Picture"] = m_Picture;
    bag["PictureHover"] = m_PictureHover;
    bag["PictureDown"] = m_PictureDown;
}

void PictureButtonCore::MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y)
{
    Raise(events_.MouseDown, Button, Shift, x, y);
    if (Button == 1) {
        m_State = ButtonState::Down;
        DrawState();
    }
}

void PictureButtonCore::MouseMove(std::int16_t Button, std::int16_t Shift, float x, float y)
{
    Raise(events_.MouseMove, Button, Shift, x, y);
    if (Button >= 2) return;
    if (!IsMouseOver()) {
        // Polling goes on: its next tick announces the departure.
        m_MouseOver = false;
        m_State = ButtonState::Normal;
        DrawState();
    } else if (Button == 0 && !m_MouseOver) {
        tmrUpdate->SetEnabled(true);
        m_MouseOver = true;
        if (events_.MouseEnter) events_.MouseEnter();
        m_State = ButtonState::Hover;
        DrawState();
    } else if (Button == 1) {
        // The announcement stays as it is: a drag back in with the button
        // held is no new arrival.
        m_State = ButtonState::Down;
        DrawState();
    }
}

void PictureButtonCore::MouseUp(std::int16_t Button, std::int16_t Shift, float x, float y)
{
    Raise(events_.MouseUp, Button, Shift, x, y);
    m_State = IsMouseOver() ? ButtonState::Hover : ButtonState::Normal;
    DrawState();
}

void PictureButtonCore::Click()
{
    if (events_.Click) events_.Click();
}

void PictureButtonCore::DblClick()
{
    if (events_.DblClick) events_.DblClick();
}

void PictureButtonCore::tmrUpdate_Timer()
{
    if (IsMouseOver()) return;
    tmrUpdate->SetEnabled(false);
    m_MouseOver = false;
    if (events_.MouseLeave) events_.MouseLeave();
    m_State = ButtonState::Normal;
    DrawState();
}

void PictureButtonCore::DrawState()
{
    const gdi::StdPicture& picture = m_State == ButtonState::Hover  ? m_PictureHover
                                     : m_State == ButtonState::Down ? m_PictureDown
                                                                    : m_Picture;
    Attempt([&] { surface_.Clear(); });
    Attempt([&] { surface_.Draw(picture, 0, 0); });
    if (picture) {
        holderWidth_ = picture->Width();
        holderHeight_ = picture->Height();
    }
    Attempt([&] { surface_.SetWidth(holderWidth_); });
    Attempt([&] { surface_.SetHeight(holderHeight_); });
}

bool PictureButtonCore::IsMouseOver() const
{
    return pointer_.WindowFromPoint(pointer_.CursorPos()) == surface_.Id();
}

void PictureButtonCore::Raise(const PictureButtonEvents::MouseHandler& handler, std::int16_t& Button,
                              std::int16_t& Shift, float& x, float& y)
{
    if (handler) handler(Button, Shift, x, y);
}

}  // namespace korvane::controls

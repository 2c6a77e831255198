// Owns a created drawing object (a brush, region or bitmap) or a memory
// context and deletes it when it goes out of scope, so a temporary object is
// deleted right after use on every path out of a function.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/gdi/gdi.h"

namespace korvane::gdi {

template <class H>
class ScopedObject {
public:
    explicit ScopedObject(H handle) : m_Handle(handle) {}
    ~ScopedObject()
    {
        if (!m_Handle) return;
        if constexpr (std::is_same_v<H, HDC>) {
            DeleteDC(m_Handle);
        } else {
            DeleteObject(m_Handle);
        }
    }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;

    H get() const { return m_Handle; }
    // Hands the object on: it is no longer deleted here.
    H release() { return std::exchange(m_Handle, H{}); }

private:
    H m_Handle;
};

}  // namespace korvane::gdi

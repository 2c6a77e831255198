// Objects of one kind by handle value. A value holds a slot index and the
// slot's generation, which changes whenever the slot is freed, so a stale
// handle finds nothing instead of the slot's next tenant. Not locked itself:
// the object registry holds one lock over all tables.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace korvane::gdi {

template <class T>
class HandleTable {
public:
    // The new object's handle value, 0 when every slot is taken.
    std::uint32_t Add(T object)
    {
        std::uint32_t index = 0;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            if (m_slots.size() > IndexMask) return 0;
            index = static_cast<std::uint32_t>(m_slots.size());
            m_slots.emplace_back();
        }
        Slot& slot = m_slots[index];
        slot.object = std::move(object);
        return (slot.generation << IndexBits) | index;
    }

    T* Find(std::uint32_t handle)
    {
        Slot* slot = SlotOf(handle);
        return slot ? &*slot->object : nullptr;
    }

    bool Remove(std::uint32_t handle)
    {
        Slot* slot = SlotOf(handle);
        if (!slot) return false;
        slot->object.reset();
        slot->generation = slot->generation % MaxGeneration + 1;
        m_free.push_back(handle & IndexMask);
        return true;
    }

private:
    static constexpr unsigned IndexBits = 20;
    static constexpr std::uint32_t IndexMask = (1u << IndexBits) - 1;
    static constexpr std::uint32_t MaxGeneration = (1u << (32 - IndexBits)) - 1;

    struct Slot {
        std::uint32_t generation = 1;  // never 0, so no handle value is 0
        std::optional<T> object;
    };

    Slot* SlotOf(std::uint32_t handle)
    {
        const std::uint32_t index = handle & IndexMask;
        if (index >= m_slots.size()) return nullptr;
        Slot& slot = m_slots[index];
        if (!slot.object || slot.generation != handle >> IndexBits) return nullptr;
        return &slot;
    }

    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
};

}  // namespace korvane::gdi

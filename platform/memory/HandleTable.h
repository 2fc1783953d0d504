#pragma once
// A table of owned objects addressed by handles that go stale safely.
//
// A handle is a pointer-sized value: the slot number + 1 in its low 32 bits and the slot's
// generation in its high 32 bits. Removing an object advances its slot's generation, so a
// handle kept past the removal never resolves again, not even after the slot holds a new
// object. The null handle and handles that were never issued resolve to nothing.
// Removed slots go on a free list and are reused before the table grows.
//
// Objects are held by unique_ptr: their addresses stay put while the table grows, and
// Remove hands the object back, so a caller may keep it alive past its handle.
// Find is inline and costs one bounds check and one comparison: it runs for every message
// and every font selected in a paint pass.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

template <class T, class Handle>
class THandleTable {
    static_assert(sizeof(Handle) == sizeof(std::uintptr_t) && sizeof(std::uintptr_t) >= 8,
                  "a handle holds a 32-bit slot and a 32-bit generation");

public:
    // Stores the object and returns its handle.
    Handle Add(std::unique_ptr<T> Object)
    {
        std::uint32_t Slot;
        if (!FFreeSlots.empty()) {
            Slot = FFreeSlots.back();
            FFreeSlots.pop_back();
        } else {
            Slot = std::uint32_t(FSlots.size());
            FSlots.emplace_back();
        }
        FSlots[Slot].Object = std::move(Object);
        return Encode(Slot, FSlots[Slot].Generation);
    }

    // The object of a live handle; null for a stale, garbage or null handle.
    T* Find(Handle H) const
    {
        const auto Bits = reinterpret_cast<std::uintptr_t>(H);
        // Slot 0 in the handle wraps to the largest index and fails the bounds check.
        const std::uint32_t Slot = std::uint32_t(Bits & LowHalf) - 1;
        if (Slot >= FSlots.size() || FSlots[Slot].Generation != std::uint32_t(Bits >> 32))
            return nullptr;
        return FSlots[Slot].Object.get();
    }

    // Takes the object of a live handle out of the table, which makes the handle stale;
    // null (and no change) for a handle that does not resolve.
    std::unique_ptr<T> Remove(Handle H)
    {
        if (!Find(H))
            return nullptr;
        const std::uint32_t Slot = std::uint32_t(reinterpret_cast<std::uintptr_t>(H) & LowHalf) - 1;
        TSlot& S = FSlots[Slot];
        if (++S.Generation == 0) // generation 0 would match a handle made of a bare slot number
            S.Generation = FirstGeneration;
        FFreeSlots.push_back(Slot);
        return std::move(S.Object);
    }

private:
    static constexpr std::uintptr_t LowHalf = 0xFFFFFFFFu;
    static constexpr std::uint32_t FirstGeneration = 1;

    struct TSlot {
        std::unique_ptr<T> Object;
        std::uint32_t Generation = FirstGeneration;
    };

    static Handle Encode(std::uint32_t Slot, std::uint32_t Generation)
    {
        return reinterpret_cast<Handle>((std::uintptr_t(Generation) << 32) | (std::uintptr_t(Slot) + 1));
    }

    std::vector<TSlot> FSlots;
    std::vector<std::uint32_t> FFreeSlots;
};

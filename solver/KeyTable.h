#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace solver {

// A set of 64-bit keys in open addressing. It starts small and doubles up to
// its size in bytes (a short solve then never touches the rest); when three
// quarters of the full size are used it is emptied and the current path put
// back, so the search never loops and a "not winnable" stays a proof (it then
// only searches some positions twice).
class TKeyTable {
public:
    explicit TKeyTable(std::size_t bytes)
    {
        while (MaxSize * 2 * sizeof(std::uint64_t) <= bytes)
            MaxSize *= 2;
        Resize(std::min<std::size_t>(MaxSize, 1 << 16));
    }
    bool Full() const { return Used >= Limit && Size == MaxSize; }
    void Clear()
    {
        std::fill(Slots.get(), Slots.get() + Size, 0);
        Used = 0;
    }
    // Inserts `key`; false when it was there already.
    bool Insert(std::uint64_t key)
    {
        if (Used >= Limit && Size < MaxSize)
            Grow();
        key |= 1; // 0 marks a free slot
        for (std::size_t i = Slot(key);; i = (i + 1) & Mask) {
            if (Slots[i] == key)
                return false;
            if (Slots[i] == 0) {
                Slots[i] = key;
                ++Used;
                return true;
            }
        }
    }
    // Brings the slot of `key` into the cache ahead of its Insert.
    void Prefetch(std::uint64_t key) const { __builtin_prefetch(Slots.get() + Slot(key | 1)); }

private:
    // Memory from the allocator, or (large tables) pages straight from the
    // system, which come zeroed: filling them with zeros first would touch
    // every page before the search does.
    struct TFree {
        std::size_t MappedBytes; // 0: from the allocator
        void operator()(std::uint64_t* p) const
        {
#ifdef __linux__
            if (MappedBytes > 0) {
                munmap(p, MappedBytes);
                return;
            }
#endif
            std::free(p);
        }
    };
    using TSlots = std::unique_ptr<std::uint64_t[], TFree>;

    // The high bits pick the slot (the low bit is forced to 1).
    std::size_t Slot(std::uint64_t key) const { return static_cast<std::size_t>(key >> Shift); }
    // Every probe is a cache miss in a different page: large pages spare the
    // page-table walks that would otherwise cost as much as the misses.
    static TSlots Allocate(std::size_t size)
    {
        constexpr std::size_t LargePage = std::size_t{2} << 20;
        const std::size_t bytes = size * sizeof(std::uint64_t);
#ifdef __linux__
        if (bytes >= LargePage) {
            // Mapped with a large page's room to spare, then trimmed to a large page's boundary.
            const std::size_t mapped = bytes + LargePage;
            void* region = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (region == MAP_FAILED)
                throw std::bad_alloc();
            const auto start = reinterpret_cast<std::uintptr_t>(region);
            const std::uintptr_t aligned = (start + LargePage - 1) & ~(std::uintptr_t{LargePage} - 1);
            if (aligned > start)
                munmap(region, aligned - start);
            if (const std::size_t tail = start + mapped - (aligned + bytes); tail > 0)
                munmap(reinterpret_cast<void*>(aligned + bytes), tail);
            auto* table = reinterpret_cast<std::uint64_t*>(aligned);
            madvise(table, bytes, MADV_HUGEPAGE);
            return TSlots(table, TFree{bytes});
        }
#endif
        const std::size_t alignment = 64;
        TSlots memory(static_cast<std::uint64_t*>(std::aligned_alloc(alignment, std::max(bytes, alignment))), TFree{0});
        if (!memory)
            throw std::bad_alloc();
        std::fill(memory.get(), memory.get() + size, 0);
        return memory;
    }
    void Resize(std::size_t size)
    {
        Slots = Allocate(size);
        Size = size;
        Mask = size - 1;
        Limit = size / 4 * 3;
        Shift = 64 - std::countr_zero(size);
        Used = 0;
    }
    void Grow()
    {
        const TSlots old = std::move(Slots);
        const std::size_t oldSize = Size;
        Resize(Size * 2);
        for (std::size_t i = 0; i < oldSize; ++i)
            if (old[i] != 0)
                Insert(old[i]);
    }

    TSlots Slots;
    std::size_t Size = 0;
    std::size_t MaxSize = 1024;
    std::size_t Mask = 0;
    std::size_t Limit = 0;
    std::size_t Used = 0;
    int Shift = 54;
};

} // namespace solver

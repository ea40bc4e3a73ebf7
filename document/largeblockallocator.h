#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// An allocator for the big arrays of a table read from a large file. Blocks of 2 MB and
// more go on transparent huge pages where the system offers them: a first touch of a
// normal 4 KB page costs microseconds on a virtual machine, so a million-row table would
// otherwise spend most of its reading time in page faults. Elements are left
// uninitialised on resize, since the reader writes every one of them. Blocks from
// `HugeFrom` bytes take a whole huge page: one first touch in place of hundreds.
template <class T, std::size_t HugeFrom = (std::size_t(2) << 20)> class LargeBlockAllocator
{
public:
    using value_type = T;
    template <class U> struct rebind
    {
        using other = LargeBlockAllocator<U, HugeFrom>;
    };

    LargeBlockAllocator() = default;
    template <class U> LargeBlockAllocator(const LargeBlockAllocator<U, HugeFrom> &) noexcept {}

    T *allocate(std::size_t count)
    {
        if (count > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = count * sizeof(T);
        if (bytes < HugeFrom)
            return static_cast<T *>(::operator new(bytes));
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void *block = std::aligned_alloc(kHugePage, rounded);
        if (!block)
            throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        ::madvise(block, rounded, MADV_HUGEPAGE); // only advice: failure changes nothing
#endif
        return static_cast<T *>(block);
    }

    void deallocate(T *block, std::size_t count) noexcept
    {
        if (count * sizeof(T) < HugeFrom)
            ::operator delete(block);
        else
            std::free(block);
    }

    template <class U> void construct(U *place) noexcept
    {
        ::new (static_cast<void *>(place)) U;
    }
    template <class U, class... Args> void construct(U *place, Args &&...args)
    {
        ::new (static_cast<void *>(place)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const LargeBlockAllocator &, const LargeBlockAllocator &)
    {
        return true;
    }

private:
    static constexpr std::size_t kHugePage = std::size_t(2) << 20;
};

// qorv's operator new. A run lasts a few milliseconds, and most of what it allocates
// is the small strings and vectors of the parameter tables; with malloc, allocating
// and freeing them was a third of a `qorv changes`. Small blocks therefore come from
// one region, carved off by bumping a cursor, and a freed one goes onto a list of its
// size class for the next block of that size (a freed block whose size is not known
// stays unused). Large blocks, and every block once the region is used up, go to
// malloc, so a run needs at most the region more memory than with malloc alone.
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define QV_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QV_SANITIZED 1
#endif

// Sanitizers bring an operator new of their own, which must stay in charge.
#ifndef QV_SANITIZED

namespace {

constexpr std::size_t kRegionSize = std::size_t{8} << 20;
constexpr std::size_t kLargest = 1024;
constexpr std::size_t kAlign = alignof(std::max_align_t);

// Zero-initialised, so it lies in .bss: a page costs something only once touched.
alignas(kAlign) char region[kRegionSize];
std::size_t cursor = 0;
// Singly linked through the freed blocks themselves, one list per multiple of kAlign.
// No locks: qorv runs on one thread.
void* freed[kLargest / kAlign + 1];

bool inRegion(const void* p) {
    const char* c = static_cast<const char*>(p);
    return c >= region && c < region + kRegionSize;
}

std::size_t sizeClass(std::size_t n) {
    return (n + kAlign - 1) / kAlign;
}

void* allocate(std::size_t n) {
    if (n <= kLargest) {
        const std::size_t c = sizeClass(n == 0 ? 1 : n);
        if (void* p = freed[c]) {
            freed[c] = *static_cast<void**>(p);
            return p;
        }
        if (cursor + c * kAlign <= kRegionSize) {
            void* p = region + cursor;
            cursor += c * kAlign;
            return p;
        }
    }
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}

void release(void* p) noexcept {
    if (!inRegion(p)) std::free(p);
}

void release(void* p, std::size_t n) noexcept {
    if (!inRegion(p)) return std::free(p);
    const std::size_t c = sizeClass(n == 0 ? 1 : n);
    *static_cast<void**>(p) = freed[c];
    freed[c] = p;
}

} // namespace

void* operator new(std::size_t n) {
    return allocate(n);
}
void* operator new[](std::size_t n) {
    return allocate(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t n) noexcept {
    release(p, n);
}
void operator delete[](void* p, std::size_t n) noexcept {
    release(p, n);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}

#endif

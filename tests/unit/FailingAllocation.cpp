// The replaced global operator new and delete behind FailingAllocation.h. Both sides go to
// malloc and free, so the sanitizers still watch every block.
#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t countdown = 0;
bool failed = false;

void* Allocate(std::size_t size)
{
    if (countdown != 0 && --countdown == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

}  // namespace

namespace failing_allocation {

void FailNth(std::size_t n)
{
    countdown = n;
    failed = false;
}

bool Failed()
{
    return failed;
}

}  // namespace failing_allocation

// Over-aligned blocks keep the library's own operators, which pair only with each other:
// nothing tested allocates one.
void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

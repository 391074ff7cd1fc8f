// The C runtime's heap as the program's block allocator.
#include "platform/heap.h"

#include <cstdlib>

void* SystemHeap::Allocate(std::size_t size) noexcept {
    return size == 0 ? nullptr : std::malloc(size);
}

void SystemHeap::Free(void* block) noexcept {
    std::free(block);
}

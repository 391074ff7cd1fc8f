// The memory service behind the cache walk's entry block; separate so that a test can
// make an allocation fail.
#pragma once

#include <cstddef>

class Heap {
public:
    virtual ~Heap() = default;
    // Null when the block cannot be had; never throws.
    virtual void* Allocate(std::size_t size) noexcept = 0;
    virtual void Free(void* block) noexcept = 0;
};

// The process heap, through the C runtime.
class SystemHeap final : public Heap {
public:
    void* Allocate(std::size_t size) noexcept override;
    void Free(void* block) noexcept override;
};

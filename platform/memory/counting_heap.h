// A heap that counts its live blocks and can refuse an allocation.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/heap.h"
#include "platform/memory/faults.h"

class CountingHeap final : public Heap {
public:
    explicit CountingHeap(Faults& faults) : faults_(faults) {}

    void* Allocate(std::size_t size) noexcept override {
        if (faults_.Hit("HeapAlloc")) return nullptr;
        void* block = system_.Allocate(size);
        if (block != nullptr) {
            ++live_;
            sizes_.push_back(size);
        }
        return block;
    }
    void Free(void* block) noexcept override {
        if (block == nullptr) return;
        --live_;
        system_.Free(block);
    }
    int Live() const { return live_; }
    const std::vector<std::size_t>& Sizes() const { return sizes_; }

private:
    Faults& faults_;
    SystemHeap system_;
    int live_ = 0;
    std::vector<std::size_t> sizes_;
};

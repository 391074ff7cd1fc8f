// Fault rules of the stand-ins.
#include "platform/memory/faults.h"

void Faults::FailCall(std::string op, std::uint32_t error, int occurrence, int times) {
    rules_.push_back({std::move(op), error, occurrence, times});
}

void Faults::FailCallAt(long index, std::uint32_t error) {
    failIndex_ = index;
    failIndexError_ = error;
}

void Faults::Clear() {
    rules_.clear();
    calls_.clear();
    events_.clear();
    occurrences_.clear();
    failIndex_ = -1;
}

std::optional<std::uint32_t> Faults::Hit(std::string_view op) {
    const long index = static_cast<long>(calls_.size());
    calls_.emplace_back(op);
    events_.emplace_back(op);
    auto counted = occurrences_.find(op);
    if (counted == occurrences_.end()) counted = occurrences_.emplace(std::string(op), 0).first;
    const int occurrence = ++counted->second;
    if (index == failIndex_) return failIndexError_;
    for (const Rule& rule : rules_) {
        if (rule.op != op || occurrence < rule.first) continue;
        if (rule.times == 0 || occurrence < rule.first + rule.times) return rule.error;
    }
    return std::nullopt;
}

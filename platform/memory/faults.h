// Makes chosen calls of the in-memory stand-ins fail, by name and occurrence or by their
// place in the sequence of all calls, and records that sequence.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Faults {
public:
    // The occurrence-th call of op (counted from 1) fails with error, and the times-1
    // calls after it too; times 0 means every call from then on.
    void FailCall(std::string op, std::uint32_t error, int occurrence = 1, int times = 1);
    // The call at this index of the whole sequence (counted from 0) fails.
    void FailCallAt(long index, std::uint32_t error);
    void Clear();

    // Called by a stand-in at the start of each operation: the error to report, if any.
    std::optional<std::uint32_t> Hit(std::string_view op);

    const std::vector<std::string>& Calls() const { return calls_; }
    // Records something that happened without being a call that can fail; Events() holds
    // these and every call, in one order.
    void Note(std::string event) { events_.push_back(std::move(event)); }
    const std::vector<std::string>& Events() const { return events_; }

private:
    struct Rule {
        std::string op;
        std::uint32_t error;
        int first;
        int times;
    };
    std::vector<Rule> rules_;
    std::vector<std::string> calls_;
    std::vector<std::string> events_;
    std::map<std::string, int, std::less<>> occurrences_;
    long failIndex_ = -1;
    std::uint32_t failIndexError_ = 0;
};

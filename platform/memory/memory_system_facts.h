// Stand-in system facts: a platform family and a Windows directory chosen by the test.
#pragma once

#include "platform/memory/faults.h"
#include "platform/system_facts.h"

class MemorySystemFacts final : public SystemFacts {
public:
    explicit MemorySystemFacts(Faults& faults) : faults_(faults) {}

    std::uint32_t platformId = kPlatformWin32Nt;
    std::string windowsDir = "C:\\WINDOWS";

    bool QueryPlatformId(std::uint32_t& id) override {
        if (faults_.Hit("GetVersionEx")) return false;
        id = platformId;
        return true;
    }
    bool QueryWindowsDirectory(std::string& path) override {
        if (faults_.Hit("GetWindowsDirectory")) return false;
        path = windowsDir;
        return true;
    }

private:
    Faults& faults_;
};

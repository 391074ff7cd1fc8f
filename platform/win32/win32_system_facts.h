// The platform family and the Windows directory, as kernel32 reports them.
#pragma once

#include "platform/system_facts.h"

class Win32SystemFacts final : public SystemFacts {
public:
    bool QueryPlatformId(std::uint32_t& platformId) override;
    bool QueryWindowsDirectory(std::string& path) override;
};

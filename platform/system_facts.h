// What the system reports about itself: its platform family and its Windows directory.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint32_t kPlatformWin32Windows = 1;
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    // False when the version query fails.
    virtual bool QueryPlatformId(std::uint32_t& platformId) = 0;
    // False when the system cannot report it; the text has no trailing separator except
    // for a drive's root.
    virtual bool QueryWindowsDirectory(std::string& path) = 0;
};

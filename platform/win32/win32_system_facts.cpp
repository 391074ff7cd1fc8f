// GetVersionExA and GetWindowsDirectoryA behind the SystemFacts interface.
#include "platform/win32/win32_system_facts.h"

#include <windows.h>

#include <array>

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record's size field must say 148");
static_assert(kPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS && kPlatformWin32Nt == VER_PLATFORM_WIN32_NT);

namespace {

constexpr UINT kWindowsDirRoom = 255;

}  // namespace

bool Win32SystemFacts::QueryPlatformId(std::uint32_t& platformId) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    // Deprecated because it may report an older version than the real one; the platform
    // family is all that is asked, and that it reports truthfully.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL answered = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (!answered) return false;
    platformId = version.dwPlatformId;
    return true;
}

bool Win32SystemFacts::QueryWindowsDirectory(std::string& path) {
    std::array<char, kWindowsDirRoom> buffer{};
    // The result is the length copied, or the room needed (terminator included) when the
    // buffer is too small, in which case nothing usable was written.
    const UINT length = GetWindowsDirectoryA(buffer.data(), kWindowsDirRoom);
    if (length == 0 || length >= kWindowsDirRoom) return false;
    path.assign(buffer.data(), length);
    return true;
}

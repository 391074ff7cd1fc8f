// brumix.exe's first step: the DLL search narrowed to the system folder, wininet from there.
#include "cli/win32_system_dlls.h"

#include "cli/exit_code.h"
#include "cli/win32_console.h"
#include "platform/win32/system_dll.h"
#include "platform/win32/win32_url_cache.h"

int LoadSystemDlls() {
    SearchSystemFolderOnly();
    const SystemDllFailure missing = Win32UrlCache::LoadWininet();
    if (!missing) return 0;
    Win32Console console;
    console.Write(Stream::Err, "brumix: " + missing.Describe() + "\n");
    return kExitSystemDll;
}

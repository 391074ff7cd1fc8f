// DLLs that are not among Windows' known DLLs, taken from the system folder alone: whoever
// may write into the folder the program runs from never gets code run inside it.
#pragma once

#include <windows.h>

#include <string>

// What could not be had from the system folder; false when nothing failed.
struct SystemDllFailure {
    const char* dll = nullptr;
    // Null when the DLL itself could not be loaded.
    const char* function = nullptr;
    DWORD error = 0;

    explicit operator bool() const { return dll != nullptr; }
    // One sentence for a message box or standard error.
    std::string Describe() const;
};

// Called first in each program: from then on a DLL loaded by name, by the program or by a DLL
// it loads, is looked for in the system folder only.
void SearchSystemFolderOnly();

// The DLL from the system folder, kept for the rest of the process; null with GetLastError()
// when it cannot be had. name is a bare file name such as L"wininet.dll".
HMODULE LoadSystemDll(const wchar_t* name);

// A function of a DLL loaded from the system folder, as the type the caller declares for it.
template <typename Function>
Function SystemDllFunction(HMODULE dll, const char* name) {
    // GetProcAddress hands out one type for every function; the caller names the true one.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

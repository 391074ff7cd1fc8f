// Loading the DLLs that are not known DLLs from the system folder, on every Windows from 7 on.
#include "platform/win32/system_dll.h"

#include <string>

namespace {

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Windows 7 has SetDefaultDllDirectories and the LOAD_LIBRARY_SEARCH_* flags only with the
// update that brought them (KB2533623); it is looked up, so that the program starts without.
SetDefaultDllDirectoriesCall SetDefaultDllDirectoriesIfAny() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? SystemDllFunction<SetDefaultDllDirectoriesCall>(kernel, "SetDefaultDllDirectories")
                             : nullptr;
}

// The full path of a file in the system folder; empty when the folder cannot be named.
std::wstring InSystemFolder(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name;
}

}  // namespace

std::string SystemDllFailure::Describe() const {
    const std::string code = " (error " + std::to_string(error) + ")";
    if (function != nullptr) return std::string("the system's ") + dll + " has no " + function + code;
    return std::string(dll) + " could not be loaded from the system folder" + code;
}

void SearchSystemFolderOnly() {
    if (SetDefaultDllDirectoriesCall restrict = SetDefaultDllDirectoriesIfAny()) {
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // Without the update the program's folder cannot be taken out of the search; the current
    // folder at least can, and the program's own loads name full paths.
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemDll(const wchar_t* name) {
    if (SetDefaultDllDirectoriesIfAny() != nullptr) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A full path, and its own folder first for what it loads in turn, in place of the
    // program's folder.
    const std::wstring path = InSystemFolder(name);
    if (path.empty()) return nullptr;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

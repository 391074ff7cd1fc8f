// Loading the DLLs that are not known DLLs from the system folder, on every Windows from 7 on.
#include "platform/win32/system_dll.h"

#include <cwchar>
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
    wchar_t path[MAX_PATH] = {};
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    const std::size_t length = std::wcslen(name);
    if (folder == 0 || folder + 1 + length >= MAX_PATH) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    path[folder] = L'\\';
    std::wmemcpy(path + folder + 1, name, length + 1);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

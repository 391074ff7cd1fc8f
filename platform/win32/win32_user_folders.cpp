// %LOCALAPPDATA% and %APPDATA%, which Windows sets in every process from the user's profile
// (and from folder redirection). The shell's known-folder call would say the same, but it lives
// in shell32, which loads user32 into the console program: a process with user32 gets no console
// control handler call at log-off or shutdown. The Windows 9x family sets neither variable.
#include "platform/win32/win32_user_folders.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace {

// A full path: a drive's root or a UNC share, never one relative to the current folder.
bool IsFullPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return drive || share;
}

}  // namespace

bool Win32UserFolders::Find(UserFolder folder, std::string& path) {
    const wchar_t* name = folder == UserFolder::LocalAppData ? L"LOCALAPPDATA" : L"APPDATA";
    std::wstring value(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length >= value.size()) {
        value.resize(length);
        length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length >= value.size()) return false;
    }
    value.resize(length);
    while (value.size() > 3 && value.back() == L'\\') value.pop_back();
    if (!IsFullPath(value)) return false;
    path = WideToUtf8(value);
    return !path.empty();
}

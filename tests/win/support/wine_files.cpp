// kernel32 calls that lay out and inspect test folders.
#include "tests/win/support/wine_files.h"

#include <windows.h>

std::string CookieFolderPath() {
    char windowsDir[MAX_PATH] = {};
    GetWindowsDirectoryA(windowsDir, MAX_PATH);
    return std::string(windowsDir) + "\\Cookies";
}

void MakeEmptyFolder(const std::string& folder) {
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
}

void RemoveFolder(const std::string& folder) {
    // A process's current directory cannot be removed on Windows.
    SetCurrentDirectoryA("C:\\");
    for (const std::string& name : FindNames(folder)) {
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

bool MakeFile(const std::string& folder, const std::string& name, bool readOnly) {
    const std::string path = folder + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, "cookie\n", 7, &written, nullptr);
    CloseHandle(file);
    return wrote != FALSE;
}

std::vector<std::string> FindNames(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

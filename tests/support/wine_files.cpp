// kernel32 calls that lay out, read and inspect test folders and files.
#include "tests/support/wine_files.h"

#include <windows.h>

#include <algorithm>

std::string ToWindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, length < MAX_PATH ? length : 0);
}

std::string CookieFolderPath() {
    return WindowsDir() + "\\Cookies";
}

bool MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
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

bool WriteTextFile(const std::string& path, const std::string& content, bool readOnly) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(handle);
    return wrote && written == content.size();
}

bool MakeFile(const std::string& folder, const std::string& name, bool readOnly) {
    return WriteTextFile(folder + "\\" + name, "cookie\n", readOnly);
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    // Shared for writing too: a program that wrote the file, or a helper process of its, may
    // still hold it open for a moment after it ended.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(handle);
    return content;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

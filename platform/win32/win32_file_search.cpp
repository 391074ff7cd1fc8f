// kernel32's file search behind the FileSearch interface; names are the bare cFileName.
#include "platform/win32/win32_file_search.h"

#include <windows.h>

bool Win32FileSearch::SetCurrentDir(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

FileSearch::SearchHandle Win32FileSearch::FindFirst(const std::string& pattern, std::string& fileName) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return kNoSearch;
    fileName = found.cFileName;
    return reinterpret_cast<SearchHandle>(search);
}

bool Win32FileSearch::FindNext(SearchHandle search, std::string& fileName) {
    WIN32_FIND_DATAA found{};
    if (!FindNextFileA(reinterpret_cast<HANDLE>(search), &found)) return false;
    fileName = found.cFileName;
    return true;
}

void Win32FileSearch::CloseSearch(SearchHandle search) {
    FindClose(reinterpret_cast<HANDLE>(search));
}

bool Win32FileSearch::DeleteByName(const std::string& fileName) {
    return DeleteFileA(fileName.c_str()) != FALSE;
}

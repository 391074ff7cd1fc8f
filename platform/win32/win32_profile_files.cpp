// The wide calls throughout, so that a profile under a user name outside the code page (an
// accent, another script) is reached; UTF-8 on the program's side.
#include "platform/win32/win32_profile_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/errors.h"
#include "platform/win32/wide_text.h"

namespace {

// A path the program names in full: a long one takes the "\\?\" form, which lifts the limit
// of MAX_PATH characters from the file calls.
std::wstring SystemPath(const std::string& path) {
    std::wstring wide;
    if (std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        wide.assign(path.begin(), path.end());
    else
        wide = Utf8ToWide(path);
    if (wide.size() < MAX_PATH - 12) return wide;
    if (wide.size() > 2 && wide[0] == L'\\' && wide[1] == L'\\') return L"\\\\?\\UNC" + wide.substr(1);
    return L"\\\\?\\" + wide;
}

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

void Fill(const WIN32_FIND_DATAW& found, FolderEntry& entry) {
    // A walk meets tens of thousands of names, nearly all of them ASCII: those are copied into
    // the entry's own buffer as they are.
    const wchar_t* name = found.cFileName;
    entry.name.clear();
    while (*name != 0 && *name < 0x80) entry.name.push_back(static_cast<char>(*name++));
    if (*name != 0) entry.name = WideToUtf8(found.cFileName);
    entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The next entry that is not "." or "..".
std::uint32_t Advance(HANDLE search, FolderEntry& entry) {
    WIN32_FIND_DATAW found{};
    do {
        if (!FindNextFileW(search, &found)) return GetLastError();
    } while (IsDots(found.cFileName));
    Fill(found, entry);
    return kErrorSuccess;
}

}  // namespace

bool Win32ProfileFiles::IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

ProfileFiles::Listing Win32ProfileFiles::FirstEntry(const std::string& folder, FolderEntry& entry,
                                                    std::uint32_t& error) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(SystemPath(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return kNoListing;
    }
    if (!IsDots(found.cFileName)) {
        Fill(found, entry);
        return reinterpret_cast<Listing>(search);
    }
    error = Advance(search, entry);
    if (error == kErrorSuccess) return reinterpret_cast<Listing>(search);
    FindClose(search);
    return kNoListing;
}

std::uint32_t Win32ProfileFiles::NextEntry(Listing listing, FolderEntry& entry) {
    return Advance(reinterpret_cast<HANDLE>(listing), entry);
}

void Win32ProfileFiles::CloseListing(Listing listing) {
    FindClose(reinterpret_cast<HANDLE>(listing));
}

std::uint32_t Win32ProfileFiles::ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& content) {
    HANDLE file =
        CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    std::uint32_t status = kErrorSuccess;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        status = GetLastError();
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        status = kErrorFileTooLarge;
    } else {
        std::string read(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        std::size_t filled = 0;
        while (filled < read.size()) {
            if (!ReadFile(file, read.data() + filled, static_cast<DWORD>(read.size() - filled), &got, nullptr)) {
                status = GetLastError();
                break;
            }
            if (got == 0) break;
            filled += got;
        }
        read.resize(filled);
        if (status == kErrorSuccess) content = std::move(read);
    }
    CloseHandle(file);
    return status;
}

std::uint32_t Win32ProfileFiles::RemoveFile(const std::string& path) {
    return DeleteFileW(SystemPath(path).c_str()) ? kErrorSuccess : GetLastError();
}

std::uint32_t Win32ProfileFiles::TryOpenForWriting(const std::string& path) {
    // Everything is shared on this side: only a holder that shares no writing makes it fail.
    HANDLE file =
        CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return kErrorSuccess;
}

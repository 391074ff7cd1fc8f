// SQLite opens the file itself (its Windows layer takes the UTF-8 path to the wide calls). A
// running browser holds its cookies without sharing: the open fails with a sharing violation,
// which SQLite retries for over a second before it says "unable to open"; the file is looked at
// first with everything shared, so that a held one is told at once and by its own error.
#include "platform/win32/win32_databases.h"

#include <sqlite3.h>
#include <windows.h>

#include "platform/database_probe.h"
#include "platform/errors.h"
#include "platform/win32/wide_text.h"

namespace {

DatabaseOpen FromError(DWORD error) {
    switch (error) {
        case kErrorFileNotFound:
        case kErrorPathNotFound:
            return DatabaseOpen::Missing;
        case kErrorSharingViolation:
            return DatabaseOpen::Held;
        default:
            return DatabaseOpen::Failed;
    }
}

}  // namespace

DatabaseOpen Win32Databases::Open(const std::string& path, sqlite3*& db) {
    db = nullptr;
    const std::wstring wide = Utf8ToWide(path);
    if (wide.empty()) return DatabaseOpen::Failed;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FromError(GetLastError());
    CloseHandle(file);

    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(path.c_str(), &opened, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const DWORD error = opened != nullptr ? static_cast<DWORD>(sqlite3_system_errno(opened)) : 0;
        sqlite3_close(opened);
        return FromError(error);
    }
    const DatabaseOpen probed = ProbeDatabase(opened);
    if (probed != DatabaseOpen::Opened) {
        sqlite3_close(opened);
        return probed;
    }
    db = opened;
    return DatabaseOpen::Opened;
}

void Win32Databases::Close(sqlite3* db) {
    sqlite3_close(db);
}

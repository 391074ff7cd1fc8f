// A process that holds a file as a running browser does, for the Windows-side tests: share
// modes and SQLite's locks hold between processes only.
//   brumix_hold_file lockfile|parentlock|nosharing|exclusive PATH EVENT
// lockfile: created for writing, shared for reading only, deleted when closed (a Chromium
// browser's lockfile); parentlock: created for reading and writing with no sharing, left when
// closed (Firefox's parent.lock); nosharing: opened with no sharing at all (Chromium's cookies);
// exclusive: a SQLite connection in exclusive locking mode that has written (the other
// databases). It sets the event EVENT-ready once it holds the file, and lets go when
// EVENT-release is set (or after a minute).
#include <sqlite3.h>
#include <windows.h>
// After windows.h, which WIN32_LEAN_AND_MEAN keeps from including it.
#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count != 4) return 2;
    const std::wstring mode = args[1];
    const std::wstring path = args[2];
    const std::wstring event = args[3];
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (event + L"-ready").c_str());
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, (event + L"-release").c_str());
    HANDLE file = INVALID_HANDLE_VALUE;
    sqlite3* db = nullptr;
    if (mode == L"lockfile") {
        file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    } else if (mode == L"parentlock") {
        file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    } else if (mode == L"nosharing") {
        file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    } else if (mode == L"exclusive") {
        if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr) !=
                SQLITE_OK)
            return 3;
    }
    if (file == INVALID_HANDLE_VALUE && db == nullptr) return 3;
    SetEvent(ready);
    WaitForSingleObject(release, 60000);
    sqlite3_close(db);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 0;
}

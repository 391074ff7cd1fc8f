// Browser profiles as real files in the throwaway prefix, for the Windows-side tests of the
// browsers' passes: files written and read by their UTF-8 paths, and a helper process that holds
// a file as a running browser does (share modes and SQLite's locks hold between processes only).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/browser_services.h"
#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/browser_sweep.h"
#include "tests/support/chromium_fixture.h"

// "Zoë Ñ": a user name outside ASCII, and outside most code pages together.
inline const std::string kNonAsciiUser = "C:\\users\\Zo\xC3\xAB \xC3\x91";

// The browsers' services over the real system, the user folders being those of kNonAsciiUser.
struct Win32Browsers {
    Win32Browsers();

    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    BrowserServices services{folders, files, databases};
};

// The folder and every folder above it that is missing.
void MakeFolders(const std::string& path);
// Fails the test when the file cannot be written.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Empty when the file cannot be read.
std::string ReadFileBytes(const std::string& path);
bool Exists(const std::string& path);
// The database file's bytes, read as a rollback-journal database whatever its journal mode says,
// which SQLite can open from memory.
FixtureDatabase OpenDatabaseFile(const std::string& path);

// For the test's length, brumix_hold_file (beside the test) holds the file in the mode given
// (see hold_file.cpp); it lets go when the holder goes.
class Holder {
public:
    Holder(const wchar_t* mode, const std::string& path);
    ~Holder();
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool Holding() const { return holding_; }

private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool holding_ = false;
};

// A file held by another process as the running browser holds it (a Holder's mode and path).
struct HeldFile {
    const wchar_t* mode;
    std::string path;
};
// With each file held in turn, a clear finds the browser in use, finds cachedFiles and deletes
// none, leaves cachedFile there and every file of unchanged byte for byte.
void ExpectEachHoldLeavesTheBrowserWhole(const std::vector<HeldFile>& holds,
                                         const std::function<BrowserResult()>& clear, int cachedFiles,
                                         const std::string& cachedFile, const std::vector<std::string>& unchanged);

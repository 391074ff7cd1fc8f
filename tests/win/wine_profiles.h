// Browser profiles as real files in the throwaway prefix, for the Windows-side tests of the
// browsers' passes: files written and read by their UTF-8 paths, and a helper process that holds
// a file as a running browser does (share modes and SQLite's locks hold between processes only).
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/chromium_fixture.h"

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

// Profile files through the wide calls, so that a path under a user name outside ASCII is
// reached as the program reaches it.
#include "tests/win/wine_profiles.h"

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_profile_files.h"

void MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Utf8ToWide(path.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    Win32ProfileFiles().ReadSmallFile(path, 1 << 24, bytes);
    return bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FixtureDatabase OpenDatabaseFile(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() > 19) bytes[18] = bytes[19] = 1;
    return FixtureDatabase::FromBytes(bytes);
}

Holder::Holder(const wchar_t* mode, const std::string& path) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring helper = self;
    helper.replace(helper.rfind(L'\\'), std::wstring::npos, L"\\brumix_hold_file.exe");
    const std::wstring event = L"brumix-hold-" + std::to_wstring(GetCurrentProcessId());
    ready_ = CreateEventW(nullptr, TRUE, FALSE, (event + L"-ready").c_str());
    release_ = CreateEventW(nullptr, TRUE, FALSE, (event + L"-release").c_str());
    std::wstring command = L"\"" + helper + L"\" " + mode + L" \"" + Utf8ToWide(path) + L"\" " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process_)) {
        CloseHandle(process_.hThread);
        HANDLE waits[] = {ready_, process_.hProcess};
        holding_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
    }
}

Holder::~Holder() {
    SetEvent(release_);
    if (process_.hProcess != nullptr) {
        WaitForSingleObject(process_.hProcess, 20000);
        CloseHandle(process_.hProcess);
    }
    CloseHandle(ready_);
    CloseHandle(release_);
}

Win32Browsers::Win32Browsers() {
    SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8ToWide(kNonAsciiUser + "\\AppData\\Local").c_str());
    SetEnvironmentVariableW(L"APPDATA", Utf8ToWide(kNonAsciiUser + "\\AppData\\Roaming").c_str());
}

void ExpectEachHoldLeavesTheBrowserWhole(const std::vector<HeldFile>& holds,
                                         const std::function<BrowserResult()>& clear, int cachedFiles,
                                         const std::string& cachedFile, const std::vector<std::string>& unchanged) {
    for (const HeldFile& hold : holds) {
        std::vector<std::string> before;
        for (const std::string& path : unchanged) before.push_back(ReadFileBytes(path));
        BrowserResult result;
        {
            Holder holder(hold.mode, hold.path);
            ASSERT_TRUE(holder.Holding()) << hold.path;
            result = clear();
        }
        EXPECT_TRUE(result.inUse) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].found, cachedFiles) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].deleted, 0) << hold.path;
        EXPECT_TRUE(Exists(cachedFile)) << hold.path;
        // Compared whole, printed by name: the bytes of a database say nothing read.
        for (std::size_t i = 0; i < unchanged.size(); ++i)
            EXPECT_TRUE(ReadFileBytes(unchanged[i]) == before[i]) << unchanged[i] << " while " << hold.path << " held";
    }
}

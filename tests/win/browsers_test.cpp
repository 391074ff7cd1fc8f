// The Chromium browsers' pass over the Win32 adapters and real files in the prefix: a profile
// under a user name outside ASCII, a write-ahead log and a page size kept, and a browser that
// holds its files, from another process, left whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/browser_services.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/chromium_sweep.h"
#include "tests/support/chromium_fixture.h"

namespace {

// "Zoë Ñ": a user name outside ASCII, and outside most code pages together.
const std::string kUser = "C:\\users\\Zo\xC3\xAB \xC3\x91";
const std::string kLocal = kUser + "\\AppData\\Local";
const std::string kEdge = kLocal + "\\Microsoft\\Edge\\User Data";
const std::string kDefault = kEdge + "\\Default";
constexpr KindSet kAll = KindSet::All();

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

// The file's bytes as a rollback-journal database, which SQLite can open from memory.
FixtureDatabase Open(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() > 19) bytes[18] = bytes[19] = 1;
    return FixtureDatabase::FromBytes(bytes);
}

class WinBrowsersTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8ToWide(kLocal).c_str());
        SetEnvironmentVariableW(L"APPDATA", Utf8ToWide(kUser + "\\AppData\\Roaming").c_str());
        const std::string profiles[] = {"Default"};
        WriteFileBytes(kEdge + "\\Local State", LocalStateJson(profiles));
        WriteFileBytes(kDefault + "\\Cache\\Cache_Data\\f_000001", "entry");
        WriteFileBytes(kDefault + "\\GPUCache\\data_0", "shader");
        const FixtureCookie cookies[] = {{".bank.example"}, {"shop.example"}};
        WriteFileBytes(kDefault + "\\Network\\Cookies", CookiesFile(cookies));
        const FixtureUrl urls[] = {{"https://typed.example/", 1}, {"https://a.example/"}};
        WriteFileBytes(kDefault + "\\History", HistoryFile(urls));
        WriteFileBytes(kDefault + "\\Bookmarks", "{}");
    }
    BrowserResult Clear() {
        SweepObserver observer;
        return SweepChromiumBrowser(services, *FindChromiumBrowser("edge"), {kAll, kAll, {}}, observer);
    }

    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    BrowserServices services{folders, files, databases};
};

TEST_F(WinBrowsersTest, AProfileUnderAUserNameOutsideAsciiIsClearedKeepingItsJournalModeAndPageSize) {
    // History in write-ahead-log mode with pages of 1 KB: what the clear must leave as it found it.
    FixtureDatabase history("PRAGMA page_size = 1024;");
    history.Execute(kHistorySchema);
    history.Execute(
        "INSERT INTO urls VALUES (1, 'https://a.example/', 't', 1, 0, 1, 0);"
        "INSERT INTO visits (id, url, visit_time) VALUES (1, 1, 1)");
    std::string bytes = history.Bytes();
    bytes[18] = bytes[19] = 2;
    WriteFileBytes(kDefault + "\\History", bytes);
    const std::string header = bytes.substr(16, 4);

    const BrowserResult result = Clear();
    EXPECT_EQ(result.profiles, 1);
    EXPECT_TRUE(result.complete && !result.inUse && result.layoutProblems.empty());
    EXPECT_EQ(result[Kind::CachedFiles].deleted, 2);
    EXPECT_EQ(result[Kind::Cookies].deleted, 2);
    EXPECT_EQ(result[Kind::VisitedPages].deleted, 1);
    EXPECT_FALSE(Exists(kDefault + "\\Cache\\Cache_Data\\f_000001"));
    EXPECT_TRUE(Exists(kDefault + "\\Cache\\Cache_Data"));
    EXPECT_EQ(ReadFileBytes(kDefault + "\\History").substr(16, 4), header);
    EXPECT_FALSE(Exists(kDefault + "\\History-wal"));
    EXPECT_EQ(Open(kDefault + "\\History").Number("SELECT count(*) FROM visits"), 0);
    EXPECT_EQ(Open(kDefault + "\\History").Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(Open(kDefault + "\\Network\\Cookies").Number("SELECT count(*) FROM cookies"), 0);
    EXPECT_EQ(ReadFileBytes(kDefault + "\\Bookmarks"), "{}");
}

// Started for the test's length: holds the file as the browser does until the test ends.
class Holder {
public:
    Holder(const wchar_t* mode, const std::string& path) {
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
    ~Holder() {
        SetEvent(release_);
        if (process_.hProcess != nullptr) {
            WaitForSingleObject(process_.hProcess, 20000);
            CloseHandle(process_.hProcess);
        }
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    bool Holding() const { return holding_; }

private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool holding_ = false;
};

TEST_F(WinBrowsersTest, ABrowserHoldingItsFilesFromAnotherProcessIsLeftWhole) {
    const struct {
        const wchar_t* mode;
        std::string path;
    } holds[] = {
        {L"lockfile", kEdge + "\\lockfile"},
        {L"nosharing", kDefault + "\\Network\\Cookies"},
        {L"exclusive", kDefault + "\\History"},
    };
    for (const auto& hold : holds) {
        const std::string cookies = ReadFileBytes(kDefault + "\\Network\\Cookies");
        const std::string history = ReadFileBytes(kDefault + "\\History");
        BrowserResult result;
        {
            Holder holder(hold.mode, hold.path);
            ASSERT_TRUE(holder.Holding()) << hold.path;
            result = Clear();
        }
        EXPECT_TRUE(result.inUse) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].found, 2) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].deleted, 0) << hold.path;
        EXPECT_TRUE(Exists(kDefault + "\\Cache\\Cache_Data\\f_000001")) << hold.path;
        // Compared whole, printed by name: the bytes of a database say nothing read.
        EXPECT_TRUE(ReadFileBytes(kDefault + "\\Network\\Cookies") == cookies) << hold.path;
        EXPECT_TRUE(ReadFileBytes(kDefault + "\\History") == history) << hold.path;
    }
    EXPECT_FALSE(Exists(kEdge + "\\lockfile"));
}

}  // namespace

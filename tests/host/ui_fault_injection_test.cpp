// Every platform call of a whole run of the program (start-up with its restore and count, a sniff
// count, a clear, the close) made to fail in turn, with each error Windows documents for it:
// the program must go on as written, end with nothing left open, and touch nothing else.
#include <map>
#include <regex>

#include "platform/errors.h"
#include "settings/settings_store.h"
#include "ui_fixture.h"

namespace {

constexpr char kOtherProgram[] = "SOFTWARE\\Other Maker\\Other Program";

// What the platform's documentation gives as failures of each call.
const std::map<std::string, std::vector<std::uint32_t>>& DocumentedErrors() {
    static const std::map<std::string, std::vector<std::uint32_t>> errors = {
        {"RegOpenKeyEx", {kErrorFileNotFound, kErrorAccessDenied, kErrorNotEnoughMemory}},
        {"RegCreateKeyEx", {kErrorAccessDenied, kErrorNotEnoughMemory}},
        {"RegQueryValueEx", {kErrorFileNotFound, kErrorMoreData, kErrorAccessDenied}},
        {"RegSetValueEx", {kErrorAccessDenied, kErrorNotEnoughMemory}},
        {"RegEnumValue", {kErrorNoMoreItems, kErrorMoreData, kErrorAccessDenied}},
        {"RegDeleteValue", {kErrorFileNotFound, kErrorAccessDenied}},
        {"RegCloseKey", {6}},
        {"FindFirstUrlCacheEntry",
         {kErrorNoMoreItems, kErrorInsufficientBuffer, kErrorFileNotFound, kErrorNotEnoughMemory,
          kErrorInternetInternalError}},
        {"FindNextUrlCacheEntry", {kErrorNoMoreItems, kErrorInsufficientBuffer, 6, kErrorInternetInternalError}},
        {"DeleteUrlCacheEntry", {kErrorFileNotFound, kErrorAccessDenied, kErrorSharingViolation}},
        {"FindCloseUrlCache", {6}},
        {"SetCurrentDirectory", {kErrorFileNotFound, 3, kErrorAccessDenied}},
        {"FindFirstFile", {kErrorFileNotFound, 3, kErrorAccessDenied}},
        {"FindNextFile", {kErrorNoMoreFiles, kErrorAccessDenied}},
        {"DeleteFile", {kErrorFileNotFound, kErrorAccessDenied, kErrorSharingViolation}},
        {"FindClose", {6}},
        {"GetVersionEx", {kErrorInvalidParameter}},
        {"GetWindowsDirectory", {kErrorInsufficientBuffer}},
        {"HeapAlloc", {kErrorNotEnoughMemory}},
        {"SetTimer", {kErrorNotEnoughMemory}},
        {"MessageBox", {kErrorNotEnoughMemory}},
    };
    return errors;
}

void Seed(MainWindowPlatform& p) {
    p.system.platformId = kPlatformWin32Windows;
    p.registry.SetText(kSettingsPath, "cached_urls", "1");
    p.registry.SetText(kSettingsPath, "cookies", "1");
    p.registry.SetText(kSettingsPath, "IE_history", "1");
    p.registry.SetText(kSettingsPath, "snifTimer", "1");
    p.registry.SetText(kSettingsPath, "auto_clear", "1");
    p.registry.SetText(kSettingsPath, "timer", "5");
    p.registry.SetText(kTypedUrlsPath, "url1", "http://a/");
    p.registry.SetText(kTypedUrlsPath, "url2", "http://b/");
    p.registry.ProtectValue(kTypedUrlsPath, "url2");
    p.registry.SetText(kOtherProgram, "keep", "me");
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("http://a.example/big", kNormalCacheEntry, 5000);
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFolder("C:\\WINDOWS");
    p.files.AddFolder(kWindowsCookies);
    p.files.AddFile(kWindowsCookies, "user@a.txt");
    p.files.AddFile(kWindowsCookies, "index.dat");
    p.files.AddFile("C:\\WINDOWS", "win.txt");
}

// The status line right after the clear; the close then writes its own.
std::string RunProgram(MainWindowPlatform& p) {
    g_bIsNT = 0;
    g_strWindowsDir.clear();
    g_nPulsePos = 0;
    CBrumixDlg dlg(p.window, p.Services(), p.passes);
    dlg.OnInitDialog();
    p.window.minimised = true;
    dlg.OnTimer(ID_SNIFF_TIMER);
    p.window.minimised = false;
    dlg.OnTimer(ID_PULSE_TIMER);
    dlg.OnClearNow();
    std::string statusAfterClear = p.window.control(IDC_STATUS).text;
    dlg.OnCancel();
    return statusAfterClear;
}

void ExpectSoundEnd(MainWindowPlatform& p, const std::string& statusAfterClear, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(LeftOpen(p), "");
    EXPECT_EQ(p.window.EndResult(), IDCANCEL);
    EXPECT_TRUE(p.window.Timers().empty());
    EXPECT_EQ(statusAfterClear, "Done!");
    // The close writes its own text only when it had a running sniffer to stop.
    const std::string& statusAfterClose = p.window.control(IDC_STATUS).text;
    EXPECT_TRUE(statusAfterClose == "Sniffer Timer OFF" || statusAfterClose == "Done!") << statusAfterClose;
    EXPECT_EQ(p.window.Title(), "Win Brumix");
    EXPECT_NE(p.window.control(IDC_FOUND_MARK).visible, p.window.control(IDC_CLEAN_MARK).visible);
    EXPECT_TRUE(std::regex_match(p.window.control(IDC_CACHED_COUNT).text, std::regex("Cached Files: [0-9]+")));
    EXPECT_TRUE(std::regex_match(p.window.control(IDC_COOKIE_COUNT).text, std::regex("Cookies: [0-9]+")));
    const std::string& history = p.window.control(IDC_HISTORY_COUNT).text;
    EXPECT_TRUE(history == "Static" || std::regex_match(history, std::regex("URLs In History: [0-9]+"))) << history;
    // Nothing outside the three stores is touched.
    EXPECT_EQ(p.registry.ValueBytes(kOtherProgram, "keep"), (std::vector<std::uint8_t>{'m', 'e', 0}));
    EXPECT_TRUE(p.files.HasFile(kWindowsCookies, "index.dat"));
    EXPECT_TRUE(p.files.HasFile("C:\\WINDOWS", "win.txt"));
    // The only boxes are those naming a typed address that could not be deleted.
    for (const auto& box : p.window.MessageBoxes()) {
        EXPECT_EQ(box.text, "NOT DELETED");
        EXPECT_TRUE(box.caption == "url1" || box.caption == "url2") << box.caption;
    }
}

TEST(FaultInjection, UntouchedRunClearsWhatIsSelected) {
    MainWindowPlatform p;
    Seed(p);
    ExpectSoundEnd(p, RunProgram(p), "no fault");
    EXPECT_EQ(p.cache.Size(), 0u);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath), std::vector<std::string>{"url2"});
    EXPECT_FALSE(p.files.HasFile(kWindowsCookies, "user@a.txt"));
    EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "timer"), (std::vector<std::uint8_t>{'5', 0}));
}

TEST(FaultInjection, EveryCallFailingInTurnWithEachDocumentedError) {
    MainWindowPlatform recording;
    Seed(recording);
    RunProgram(recording);
    const std::vector<std::string> calls = recording.faults.Calls();
    ASSERT_GT(calls.size(), 40u);

    int runs = 0;
    for (std::size_t index = 0; index < calls.size(); ++index) {
        auto errors = DocumentedErrors().find(calls[index]);
        ASSERT_NE(errors, DocumentedErrors().end()) << "no documented errors listed for " << calls[index];
        for (std::uint32_t error : errors->second) {
            MainWindowPlatform p;
            Seed(p);
            p.faults.FailCallAt(static_cast<long>(index), error);
            const std::string status = RunProgram(p);
            ExpectSoundEnd(
                p, status,
                "call " + std::to_string(index) + " " + calls[index] + " failing with " + std::to_string(error));
            ++runs;
        }
    }
    EXPECT_GT(runs, 100);
}

}  // namespace

// The clear-now run: what each selection asks for, the recount and the report, the button and
// the cookie box while it lasts, and an exception inside it.
#include <new>

#include "ui_fixture.h"

namespace {

class ClearNowTest : public DialogTest {
protected:
    ClearNowTest() {
        SeedTyped({"url1"});
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        Control(IDC_STATUS).text = "before";
    }
};

TEST_F(ClearNowTest, NothingSelectedAsksForASelectionAndChangesNothing) {
    dlg.OnClearNow();
    ASSERT_EQ(platform.window.MessageBoxes().size(), 1u);
    const auto& box = platform.window.MessageBoxes()[0];
    EXPECT_EQ(box.text,
              "Nothing to clear! Select:\n- 'Temporary Internet Files' (+ Cookies) or\n- 'Internet Explorer History'");
    EXPECT_EQ(box.caption, "winbrumix");
    EXPECT_EQ(box.style, 0x30u);
    EXPECT_EQ(Text(IDC_STATUS), "before");
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Static");
    EXPECT_EQ(platform.cache.Size(), 2u);
}

TEST_F(ClearNowTest, HistoryOnlyDeletesTypedAddressesAndCountsTheCache) {
    Select(IDC_HISTORY);
    dlg.OnClearNow();
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());
    EXPECT_EQ(platform.cache.Size(), 2u);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 0");
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    // The cookie box comes back enabled even though the temporary-files box is unchecked.
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
}

// A list of cookies to keep that cannot be read keeps every cookie; the status line says why
// rather than "Done!", and the counter shows the cookies that are there.
TEST_F(ClearNowTest, CookiesHeldByAnUnreadableListAreSaidNotDone) {
    platform.registry.SetValue(kSettingsPath, "keep_cookies", kRegSz, {'a', 0});
    Select(IDC_TEMP_FILES);
    Select(IDC_COOKIES);
    dlg.OnClearNow();
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(Text(IDC_STATUS), "Cookies kept: their list cannot be read");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");

    platform.registry.SetValue(kSettingsPath, "keep_cookies", kRegMultiSz, {0, 0});
    dlg.OnClearNow();
    EXPECT_EQ(Text(IDC_STATUS), "Done!") << "the next clear that deletes them says so again";
    EXPECT_EQ(platform.cache.Size(), 0u);
}

TEST_F(ClearNowTest, TemporaryFilesWithoutCookiesKeepsCookies) {
    Select(IDC_TEMP_FILES);
    dlg.OnClearNow();
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), 1u);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
}

TEST_F(ClearNowTest, EverythingSelectedClearsEverything) {
    Select(IDC_TEMP_FILES);
    Select(IDC_COOKIES);
    Select(IDC_HISTORY);
    dlg.OnClearNow();
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);
    EXPECT_FALSE(Control(IDC_FOUND_MARK).visible);
}

TEST_F(ClearNowTest, ButtonAndCookieBoxAreDisabledWhileTheRunLasts) {
    Select(IDC_HISTORY);
    platform.registry.ProtectValue(kTypedUrlsPath, "url1");
    bool disabledInside = false;
    platform.window.whileMessageBoxOpen = [&](const MemoryWindow::MessageBoxShown&) {
        disabledInside = !Control(IDOK).enabled && !Control(IDC_COOKIES).enabled;
    };
    dlg.OnClearNow();
    EXPECT_TRUE(disabledInside);
    EXPECT_TRUE(Control(IDOK).enabled);
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
}

// The real cache service, except that one deletion runs out of memory.
class ThrowingUrlCache final : public UrlCache {
public:
    explicit ThrowingUrlCache(UrlCache& inner) : inner_(inner) {}
    bool armed = true;

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override {
        return inner_.FindFirstEntry(pattern, block, size);
    }
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override {
        return inner_.FindNextEntry(walk, block, size);
    }
    bool DeleteEntry(const char* sourceUrl) override {
        if (armed) {
            armed = false;
            throw std::bad_alloc();
        }
        return inner_.DeleteEntry(sourceUrl);
    }
    void CloseWalk(WalkHandle walk) override { inner_.CloseWalk(walk); }
    std::uint32_t LastError() override { return inner_.LastError(); }

private:
    UrlCache& inner_;
};

TEST_F(ClearNowTest, ExceptionInsideAClearLeavesAWindowThatStillWorks) {
    ThrowingUrlCache throwing(platform.cache);
    CBrumixDlg throwingDlg(platform.window, platform.Services().WithUrlCache(throwing), platform.passes);
    Select(IDC_TEMP_FILES);
    Select(IDC_HISTORY);
    // The exception ends the pass on the worker and reaches no caller.
    EXPECT_NO_THROW(throwingDlg.OnClearNow());
    EXPECT_TRUE(Control(IDOK).enabled);
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(LeftOpen(platform), "");
    EXPECT_EQ(Text(IDC_STATUS), "before");

    // The sniffer's automatic clear is not held off for ever: the next tick clears.
    Select(IDC_AUTO_CLEAR);
    platform.window.minimised = true;
    throwingDlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
}

}  // namespace

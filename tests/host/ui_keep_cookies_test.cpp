// The "Cookies to keep" dialog over the stand-ins: the sites a count collects beside the stored
// list, moved, typed in, written on OK and counted again; nothing written otherwise.
#include "settings/kept_cookies_store.h"
#include "settings/settings_store.h"
#include "sweep/kept_list.h"
#include "ui/keep_cookies_dlg.h"
#include "ui_fixture.h"

namespace {

class KeepCookiesTest : public DialogTest {
protected:
    KeepCookiesTest() {
        for (const char* site : {"a.example", "www.bank.example", "mail.bank.example", "192.168.1.10"}) {
            platform.cache.Add(std::string("Cookie:ann@") + site + "/", kCookieCacheEntry);
        }
        dlg.OnInitDialog();
    }
    std::vector<std::string> Stored() {
        return ParseKeptCookieList(ReadKeptCookiesValue(platform.registry)).sites.Sites();
    }
    const std::vector<std::string>& Found() { return keepWindow.List(IDC_KEEP_FOUND); }
    const std::vector<std::string>& Kept() { return keepWindow.List(IDC_KEEP_LIST); }
    void Choose(int list, const std::string& site) {
        const std::vector<std::string>& entries = keepWindow.List(list);
        keepWindow.selections[list].push_back(
            static_cast<int>(std::find(entries.begin(), entries.end(), site) - entries.begin()));
    }

    MemoryWindow keepWindow{platform.faults};
};

TEST_F(KeepCookiesTest, ShowsMovesAndTakesTypedSitesAndWritesThemOnOkOnly) {
    ASSERT_EQ(WriteKeptCookiesValue(platform.registry, KeptSites::Read({"bank.example"})->MultiSz()), 0);
    EXPECT_EQ(dlg.OnSysCommand(IDM_KEEP_COOKIES), CBrumixDlg::SystemCommand::KeepCookies);
    CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
    keep.OnInitDialog();
    EXPECT_EQ(Kept(), (std::vector<std::string>{"bank.example"}));
    EXPECT_EQ(Found(), (std::vector<std::string>{"192.168.1.10", "a.example"})) << "the bank's subdomains are kept";

    Choose(IDC_KEEP_FOUND, "a.example");
    keep.OnKeep();
    Choose(IDC_KEEP_LIST, "bank.example");
    keep.OnRemove();
    EXPECT_EQ(Found(), (std::vector<std::string>{"192.168.1.10", "mail.bank.example", "www.bank.example"}));
    keepWindow.control(IDC_KEEP_TYPED).text = "exa mple";
    keep.OnAdd();
    ASSERT_EQ(keepWindow.MessageBoxes().size(), 1u) << "no site: said, and nothing added";
    keepWindow.control(IDC_KEEP_TYPED).text =
        "  https://B\xC3\xBC"
        "cher.example:8080/a?b ";
    keep.OnAdd();
    EXPECT_EQ(keepWindow.control(IDC_KEEP_TYPED).text, "");
    EXPECT_EQ(Stored(), (std::vector<std::string>{"bank.example"})) << "nothing written before OK";

    keep.OnOk();
    EXPECT_EQ(keepWindow.EndResult(), IDOK);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"a.example", "xn--bcher-kva.example"}));
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 3") << "counted again with the new list";
}

TEST_F(KeepCookiesTest, CancelWritesNothingAndAnUnreadableListIsSaidAndNeverWrittenOver) {
    {
        CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
        keep.OnInitDialog();
        Choose(IDC_KEEP_FOUND, "a.example");
        keep.OnKeep();
        keep.OnCancel();
    }
    EXPECT_FALSE(platform.registry.HasValue(kSettingsPath, kKeepCookiesValue));

    // Made unreadable while the dialog was open, by hand or another program: OK says so.
    {
        CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
        keep.OnInitDialog();
        Choose(IDC_KEEP_FOUND, "a.example");
        keep.OnKeep();
        platform.registry.SetValue(kSettingsPath, kKeepCookiesValue, kRegSz, {'a', 0});
        keep.OnOk();
        ASSERT_EQ(keepWindow.MessageBoxes().size(), 1u);
        EXPECT_EQ(keepWindow.EndResult(), IDCANCEL);
        EXPECT_EQ(platform.registry.ValueType(kSettingsPath, kKeepCookiesValue), kRegSz) << "not written over";
    }

    platform.registry.SetValue(kSettingsPath, kKeepCookiesValue, kRegSz, {'a', 0});
    MemoryWindow second(platform.faults);
    CKeepCookiesDlg keep(second, platform.registry, dlg);
    const int passesBefore = platform.passes.PassesStarted();
    keep.OnInitDialog();
    ASSERT_EQ(second.MessageBoxes().size(), 1u);
    EXPECT_EQ(second.EndResult(), IDCANCEL) << "the dialog goes at once";
    EXPECT_EQ(platform.passes.PassesStarted(), passesBefore);
    EXPECT_EQ(platform.registry.ValueType(kSettingsPath, kKeepCookiesValue), kRegSz) << "left as it was";
}

// The count that collects the sites may end after the dialog has gone: nothing is handed to it.
TEST_F(KeepCookiesTest, SitesArrivingAfterTheDialogClosedGoNowhere) {
    platform.passes.runAtOnce = false;
    {
        CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
        keep.OnInitDialog();
    }
    platform.passes.RunHeldPass();
    EXPECT_TRUE(Found().empty());
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 4");
}

}  // namespace

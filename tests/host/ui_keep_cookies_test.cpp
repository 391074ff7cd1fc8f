// The "Cookies to keep" dialog over the stand-ins: the sites a count collects beside the stored
// list, moved, typed in, written on OK and counted again; nothing written otherwise.
#include "settings/kept_cookies_store.h"
#include "settings/settings_store.h"
#include "sweep/kept_list.h"
#include "sweep/site_name.h"
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
    std::vector<std::string> Found() { return keepWindow.List(IDC_KEEP_FOUND); }
    std::vector<std::string> Kept() { return keepWindow.List(IDC_KEEP_LIST); }
    int IndexOf(int list, const std::string& site) {
        const std::vector<std::string> entries = keepWindow.List(list);
        return static_cast<int>(std::find(entries.begin(), entries.end(), site) - entries.begin());
    }
    void Choose(int list, const std::string& site) { keepWindow.Select(list, IndexOf(list, site)); }
    std::vector<std::string> Chosen(int list) {
        std::vector<std::string> sites;
        for (int index : keepWindow.ListSelection(list)) sites.push_back(keepWindow.ListText(list, index));
        return sites;
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

    // Another program (brumix keep add) adds a site while the dialog is open: OK keeps it.
    ASSERT_EQ(
        WriteKeptCookiesValue(platform.registry, KeptSites::Read({"bank.example", "mail.example.com"})->MultiSz()), 0);
    keep.OnOk();
    EXPECT_EQ(keepWindow.EndResult(), IDOK);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"a.example", "mail.example.com", "xn--bcher-kva.example"}));
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 3") << "counted again with the new list";
}

// Nothing is refused in silence: the sites "Keep >" cannot store are named with their reasons
// in one box, once the others have moved; a typed one is told why, in the UTF-8 it was typed in;
// a site the list holds already is no error.
TEST_F(KeepCookiesTest, RefusedSitesAreSaidWithTheirReasons) {
    platform.cache.Add("Cookie:ann@x!y.example/", kCookieCacheEntry);
    platform.cache.Add("Cookie:ann@my_site.example/", kCookieCacheEntry);
    CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
    keep.OnInitDialog();
    for (const char* site : {"a.example", "x!y.example", "my_site.example"}) Choose(IDC_KEEP_FOUND, site);
    keep.OnKeep();
    EXPECT_EQ(Kept(), (std::vector<std::string>{"a.example", "my_site.example"}));
    ASSERT_EQ(keepWindow.MessageBoxes().size(), 1u);
    const std::string why = WhyNotASite("x!y.example");
    ASSERT_FALSE(why.empty());
    EXPECT_NE(keepWindow.MessageBoxes()[0].text.find("\nx!y.example: " + why), std::string::npos)
        << keepWindow.MessageBoxes()[0].text;

    const std::string typed = "mu\xcc\x88nchen.example";
    keepWindow.control(IDC_KEEP_TYPED).text = typed;
    keep.OnAdd();
    ASSERT_EQ(keepWindow.MessageBoxes().size(), 2u);
    EXPECT_TRUE(keepWindow.MessageBoxes()[1].utf8);
    EXPECT_NE(keepWindow.MessageBoxes()[1].text.find(WhyNotASite(typed)), std::string::npos)
        << keepWindow.MessageBoxes()[1].text;
    keepWindow.control(IDC_KEEP_TYPED).text = "https://a.example/";
    keep.OnAdd();
    EXPECT_EQ(keepWindow.MessageBoxes().size(), 2u);
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

// A count while the user chooses (every second with the sniffer on) changes the lists in place:
// a new site joins, one gone leaves, and the chosen sites, the caret and the view stay on their
// entries, though positions shift under them.
TEST_F(KeepCookiesTest, CountWhileChoosingLeavesTheSelectionTheCaretAndTheView) {
    CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
    keep.OnInitDialog();
    ASSERT_EQ(Found(),
              (std::vector<std::string>{"192.168.1.10", "a.example", "mail.bank.example", "www.bank.example"}));
    keepWindow.SetListPlace(IDC_KEEP_FOUND, {IndexOf(IDC_KEEP_FOUND, "a.example"), 0, 0});
    Choose(IDC_KEEP_FOUND, "a.example");
    Choose(IDC_KEEP_FOUND, "www.bank.example");

    platform.cache.Add("Cookie:ann@0.example/", kCookieCacheEntry);
    platform.cache.Add("Cookie:ann@b.example/", kCookieCacheEntry);
    ASSERT_TRUE(platform.cache.DeleteEntry("Cookie:ann@mail.bank.example/"));
    dlg.CountAgain();

    EXPECT_EQ(Found(),
              (std::vector<std::string>{"0.example", "192.168.1.10", "a.example", "b.example", "www.bank.example"}));
    EXPECT_EQ(Chosen(IDC_KEEP_FOUND), (std::vector<std::string>{"a.example", "www.bank.example"}));
    const ListPlace place = keepWindow.GetListPlace(IDC_KEEP_FOUND);
    EXPECT_EQ(keepWindow.ListText(IDC_KEEP_FOUND, place.top), "a.example") << "the view moved";
    EXPECT_EQ(keepWindow.ListText(IDC_KEEP_FOUND, place.caret), "www.bank.example") << "the caret moved";
    EXPECT_EQ(keepWindow.ListText(IDC_KEEP_FOUND, place.anchor), "www.bank.example") << "the anchor moved";

    keep.OnKeep();
    EXPECT_EQ(Kept(), (std::vector<std::string>{"a.example", "www.bank.example"}));
    EXPECT_TRUE(Chosen(IDC_KEEP_FOUND).empty()) << "the sites kept left with their selection";
}

// Two kept sites that differ only far to the right can be told apart: each list scrolls sideways
// as far as its widest entry, and no further once that entry has gone.
TEST_F(KeepCookiesTest, EachListScrollsSidewaysToItsWidestEntry) {
    const std::string longSite = "accounts.login.eu-west-1.signin.bank.example";
    platform.cache.Add("Cookie:ann@" + longSite + "/", kCookieCacheEntry);
    CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
    keep.OnInitDialog();
    EXPECT_EQ(keepWindow.ScrollWidth(IDC_KEEP_FOUND), static_cast<int>(longSite.size()));
    EXPECT_EQ(keepWindow.ScrollWidth(IDC_KEEP_LIST), 0);

    Choose(IDC_KEEP_FOUND, longSite);
    keep.OnKeep();
    EXPECT_EQ(keepWindow.ScrollWidth(IDC_KEEP_LIST), static_cast<int>(longSite.size()));
    EXPECT_EQ(keepWindow.ScrollWidth(IDC_KEEP_FOUND), static_cast<int>(std::string("mail.bank.example").size()));
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

// The "Cookies to keep" dialog of the real program: opened from the system menu, filled by a
// count, changed and confirmed with the messages a user's clicks and typing send; the list it
// writes is read by the count that follows. (Its bytes, and a clear that keeps the sites, are
// brumix's end-to-end cases: the same engine.)

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

class KeepCookiesDialog : public E2eTest {
protected:
    // Read in UTF-16: Wine hands another process a list box's text in the ANSI form wrongly.
    // The sites are ASCII.
    static std::vector<std::string> Entries(HWND dialog, int id) {
        std::vector<std::string> entries;
        const auto count = static_cast<int>(SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendDlgItemMessageW(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            std::string ascii;
            for (const wchar_t* c = text; *c != 0; ++c) ascii += static_cast<char>(*c);
            entries.push_back(ascii);
        }
        return entries;
    }
    static bool Choose(HWND dialog, int id, const std::string& site) {
        const std::wstring wide(site.begin(), site.end());
        const LRESULT at = SendDlgItemMessageW(dialog, id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(wide.c_str()));
        return at != LB_ERR && SendDlgItemMessageA(dialog, id, LB_SETSEL, TRUE, at) != LB_ERR;
    }
    static void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
};

TEST_F(KeepCookiesDialog, SitesChosenAreWrittenAndNoLongerCounted) {
    SeedCookiesFor({"a.example", "www.bank.example", "mail.bank.example", "tracker.example"});
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(app.Text(IDC_COOKIE_COUNT), CookieText(4));

    ASSERT_TRUE(PostMessageA(app.Main(), WM_SYSCOMMAND, IDM_KEEP_COOKIES, 0));
    const HWND keep = app.WaitForBox("Cookies to keep");
    ASSERT_TRUE(keep) << "no dialog captioned \"Cookies to keep\"";
    EXPECT_EQ(GetWindow(keep, GW_OWNER), app.Main());
    ASSERT_TRUE(WaitUntil([&] { return Entries(keep, IDC_KEEP_FOUND).size() == 4; }, Millis(10000)))
        << "the count did not fill the sites with cookies";

    ASSERT_TRUE(Choose(keep, IDC_KEEP_FOUND, "www.bank.example"));
    Press(keep, IDC_KEEP_MOVE);
    SetDlgItemTextA(keep, IDC_KEEP_TYPED, "https://a.example/login");
    Press(keep, IDC_KEEP_ADD);
    EXPECT_EQ(Entries(keep, IDC_KEEP_FOUND), std::vector<std::string>{"tracker.example"})
        << "the bank's other sites are kept with it";

    Press(keep, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(keep); }, Millis(5000))) << "OK did not close the dialog";
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_COOKIE_COUNT) == CookieText(1); }, Millis(10000)))
        << "kept cookies are no traces: " << app.Text(IDC_COOKIE_COUNT);

    ASSERT_TRUE(app.Close());
}

}  // namespace
}  // namespace e2e

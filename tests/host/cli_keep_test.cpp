// brumix.exe and the cookies to keep: count, preview and clear leave the kept cookies out and say
// how many there were; a list that cannot be read holds every cookie and exits 3; keep shows and
// changes the list.
#include "cli_host_fixture.h"
#include "platform/errors.h"
#include "settings/kept_cookies_store.h"
#include "sweep/kept_list.h"

namespace {

using namespace std::string_view_literals;
using Sites = std::vector<std::string>;

// A picture, and three cookies of which the list keeps two.
class CliKeepTest : public CliTest {
protected:
    CliKeepTest() {
        platform.cache.Add("http://a.example/1.gif");
        for (const char* url :
             {"Cookie:ann@bank.example/", "Cookie:ann@mail.bank.example/", "Cookie:ann@tracker.example/"})
            platform.cache.Add(url, kCookieCacheEntry);
        const std::string_view list = "www.bank.example\0\0"sv;
        platform.registry.SetValue(kSettingsPath, "keep_cookies", kRegMultiSz, {list.begin(), list.end()});
    }
    // A REG_SZ, which is no list.
    void KeepUnreadable() { platform.registry.SetText(kSettingsPath, "keep_cookies", "bank.example"); }
    Sites Kept() { return ParseKeptCookieList(ReadKeptCookiesValue(platform.registry)).sites.Sites(); }
};

// Count, preview and clear leave the kept cookies out and say how many there are; a command
// without the cookies keeps them all, and says nothing of them.
TEST_F(CliKeepTest, CountPreviewAndClearLeaveTheKeptCookiesOutAndSayHowManyThereAre) {
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(Line(console.out, "Cookies: "), "Cookies: 1");
    EXPECT_EQ(Line(console.out, "Cookies kept: "), "Cookies kept: 2");
    EXPECT_EQ(Run({"preview", "--temp", "--cookies", "--json"}), 0);
    EXPECT_EQ(console.out,
              "{\"items\": [\n{\"store\": \"cache\", \"name\": \"http://a.example/1.gif\"},\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@tracker.example/\"}\n], \"kept\": [\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@bank.example/\"},\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@mail.bank.example/\"}\n]}\n");
    EXPECT_EQ(Run({"preview", "--temp", "--json"}), 0);
    EXPECT_EQ(console.out, "{\"items\": [\n{\"store\": \"cache\", \"name\": \"http://a.example/1.gif\"}\n]}\n");

    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    EXPECT_EQ(Line(console.out, "Cookies deleted: "), "Cookies deleted: 0");
    EXPECT_EQ(Line(console.out, "Cookies kept: "), "");
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json"}), 0);
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cookies"}), "1");
    EXPECT_EQ(JsonValue(console.out, {"kept"}), "{\"cookies\": 2}");
    EXPECT_EQ(Run({"clear", "--temp", "--cookies"}), 0);
    EXPECT_EQ(Line(console.out, "Cookies deleted: "), "Cookies deleted: 0");
    EXPECT_EQ(Line(console.out, "Cookies kept: "), "Cookies kept: 2");
}

// Never delete what the user may have asked to keep: the rest of the clear goes on, the script
// hears of it on standard error and from exit 3.
TEST_F(CliKeepTest, AListThatCannotBeReadHoldsEveryCookieAndExitsThree) {
    KeepUnreadable();
    EXPECT_EQ(Run({"count"}), 3);
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep cannot be read; a clear would delete no cookie\n");
    EXPECT_EQ(Run({"preview", "--temp", "--cookies"}), 3);
    EXPECT_EQ(console.out, "cache\thttp://a.example/1.gif\n");
    EXPECT_NE(console.err.find("no cookie is listed"), std::string::npos) << console.err;
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json"}), 3);
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cached_files"}), "1");
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cookies"}), "0");
    EXPECT_EQ(JsonValue(console.out, {"kept"}), "") << "none was kept by the list";
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "true");
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep cannot be read; no cookie was deleted\n");

    EXPECT_EQ(Run({"clear", "--temp"}), 0) << "a clear that leaves the cookies anyway";
    EXPECT_TRUE(console.err.empty()) << console.err;
}

TEST_F(CliKeepTest, KeepShowsAddsAndRemovesSitesAsTheListStoresThem) {
    EXPECT_EQ(Run({"keep", "--json"}), 0);
    EXPECT_EQ(console.out, "{\"keep\": [\"www.bank.example\"]}\n");
    EXPECT_FALSE(RegistryWritten());

    EXPECT_EQ(Run({"KEEP", "Add", "https://WWW.Bank.Example:8443/login", "10.0.0.1", "m\xC3\xBCnchen.example"}), 0);
    EXPECT_EQ(console.out, "10.0.0.1\nwww.bank.example\nxn--mnchen-3ya.example\n");
    EXPECT_EQ(Kept(), (Sites{"10.0.0.1", "www.bank.example", "xn--mnchen-3ya.example"}));

    EXPECT_EQ(Run({"keep", "remove", "www.bank.example", "nothere.example", "--json"}), 1);
    EXPECT_EQ(console.out, "{\"keep\": [\"10.0.0.1\", \"xn--mnchen-3ya.example\"]}\n");
    EXPECT_EQ(console.err, "brumix: not on the list of cookies to keep: nothere.example\n");
    EXPECT_EQ(Kept(), (Sites{"10.0.0.1", "xn--mnchen-3ya.example"}));
}

// A list that cannot be written is said to be as it was; one that cannot be read is not written over.
TEST_F(CliKeepTest, KeepThatCannotWriteOrReadTheListSaysWhyAndExitsThree) {
    platform.faults.FailCall("RegSetValueEx", kErrorAccessDenied);
    EXPECT_EQ(Run({"keep", "add", "mail.example"}), 3);
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep could not be written (error 5); it is as it was\n");
    EXPECT_EQ(console.out, "");

    KeepUnreadable();
    EXPECT_EQ(Run({"keep", "add", "bank.example"}), 3);
    EXPECT_EQ(console.err,
              "brumix: the list of cookies to keep cannot be read (keep_cookies is not a REG_MULTI_SZ value); it is "
              "left as it is\n");
    EXPECT_EQ(platform.registry.ValueType(kSettingsPath, "keep_cookies"), kRegSz);
    platform.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(Run({"keep", "--json"}), 3);
    EXPECT_EQ(console.out, "");
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep cannot be read (error 5)\n");
}

}  // namespace

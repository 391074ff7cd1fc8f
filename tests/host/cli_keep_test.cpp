// brumix.exe and the cookies to keep: count, preview and clear leave the kept cookies out and say
// how many there were; a list that cannot be read holds every cookie and exits 3; keep shows and
// changes the list.
#include "cli_host_fixture.h"
#include "platform/errors.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes MultiSz(std::initializer_list<std::string> strings) {
    Bytes data;
    for (const std::string& s : strings) {
        data.insert(data.end(), s.begin(), s.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

class CliKeepTest : public CliTest {
protected:
    CliKeepTest() {
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
        platform.cache.Add("Cookie:ann@mail.bank.example/", kCookieCacheEntry);
        platform.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    }
    void Keep(const Bytes& data, std::uint32_t type = kRegMultiSz) {
        platform.registry.SetValue(kSettingsPath, "keep_cookies", type, data);
    }
    Bytes Stored() const { return platform.registry.ValueBytes(kSettingsPath, "keep_cookies"); }
};

TEST_F(CliKeepTest, CountLeavesTheKeptCookiesOutAndSaysHowManyThereAre) {
    Keep(MultiSz({"www.bank.example"}));
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(console.out, "Cached Files: 1\nCookies: 1\nURLs In History: 0\nPages Visited: 0\nCookies kept: 2\n");
    EXPECT_EQ(Run({"count", "--json"}), 0);
    EXPECT_EQ(console.out,
              "{\"cached_files\": 1, \"cookies\": 1, \"cookies_kept\": 2, \"typed_urls\": 0, \"visited_pages\": 0}\n");
    EXPECT_TRUE(console.err.empty()) << console.err;
}

TEST_F(CliKeepTest, PreviewListsNoKeptCookieAndItsJsonNamesThem) {
    Keep(MultiSz({"www.bank.example"}));
    EXPECT_EQ(Run({"preview", "--temp", "--cookies", "--json"}), 0);
    EXPECT_EQ(console.out,
              "{\"items\": [\n{\"store\": \"cache\", \"name\": \"http://a.example/1.gif\"},\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@tracker.example/\"}\n], \"kept\": [\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@bank.example/\"},\n"
              "{\"store\": \"cookie\", \"name\": \"Cookie:ann@mail.bank.example/\"}\n]}\n");
    EXPECT_EQ(Run({"preview", "--temp", "--json"}), 0);
    EXPECT_EQ(console.out, "{\"items\": [\n{\"store\": \"cache\", \"name\": \"http://a.example/1.gif\"}\n]}\n")
        << "a clear without the cookies keeps them all";
}

TEST_F(CliKeepTest, ClearKeepsTheKeptCookiesAndSaysHowMany) {
    Keep(MultiSz({"www.bank.example"}));
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json"}), 0);
    EXPECT_EQ(console.out,
              "{\"deleted\": {\"cached_files\": 1, \"cookies\": 1, \"typed_urls\": 0}, \"kept\": {\"cookies\": 2}, "
              "\"not_deleted\": [], \"complete\": true}\n");
    EXPECT_EQ(platform.cache.Urls(),
              (std::vector<std::string>{"Cookie:ann@bank.example/", "Cookie:ann@mail.bank.example/"}));
    EXPECT_EQ(Run({"clear", "--temp", "--cookies"}), 0);
    EXPECT_EQ(console.out,
              "Cached Files deleted: 0\nCookies deleted: 0\nURLs In History deleted: 0\nCookies kept: 2\n");
    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    EXPECT_EQ(console.out, "Cached Files deleted: 0\nCookies deleted: 0\nURLs In History deleted: 0\n")
        << "without the cookies, nothing is kept from the clear";
    EXPECT_TRUE(console.err.empty()) << console.err;
}

// Never delete what the user may have asked to keep: the rest of the clear goes on, the script
// hears of it on standard error and from exit 3.
TEST_F(CliKeepTest, AListThatCannotBeReadHoldsEveryCookieAndExitsThree) {
    Keep({'b', '.', 'e', 'x', 0}, kRegSz);
    EXPECT_EQ(Run({"count"}), 3);
    EXPECT_EQ(console.out, "Cached Files: 1\nCookies: 3\nURLs In History: 0\nPages Visited: 0\n");
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep cannot be read; a clear would delete no cookie\n");

    EXPECT_EQ(Run({"preview", "--temp", "--cookies"}), 3);
    EXPECT_EQ(console.out, "cache\thttp://a.example/1.gif\n");
    EXPECT_NE(console.err.find("no cookie is listed"), std::string::npos) << console.err;

    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json"}), 3);
    EXPECT_EQ(console.out,
              "{\"deleted\": {\"cached_files\": 1, \"cookies\": 0, \"typed_urls\": 0}, \"not_deleted\": [], "
              "\"complete\": true}\n");
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep cannot be read; no cookie was deleted\n");
    EXPECT_EQ(platform.cache.Size(), 3u);

    platform.cache.Add("http://a.example/2.gif");
    EXPECT_EQ(Run({"clear", "--temp"}), 0) << "a clear that leaves the cookies anyway";
    EXPECT_TRUE(console.err.empty()) << console.err;
}

TEST_F(CliKeepTest, KeepShowsAddsAndRemovesSitesAsTheListStoresThem) {
    EXPECT_EQ(Run({"keep"}), 0);
    EXPECT_EQ(console.out, "");
    EXPECT_EQ(Run({"keep", "--json"}), 0);
    EXPECT_EQ(console.out, "{\"keep\": []}\n");
    EXPECT_FALSE(RegistryWritten());

    EXPECT_EQ(Run({"KEEP", "Add", "https://WWW.Bank.Example:8443/login", "10.0.0.1",
                   "b\xC3\xBC"
                   "cher.example"}),
              0);
    EXPECT_EQ(console.out, "10.0.0.1\nwww.bank.example\nxn--bcher-kva.example\n");
    EXPECT_EQ(Stored(), MultiSz({"10.0.0.1", "www.bank.example", "xn--bcher-kva.example"}));
    EXPECT_EQ(platform.registry.ValueType(kSettingsPath, "keep_cookies"), kRegMultiSz);

    EXPECT_EQ(Run({"keep", "remove", "www.bank.example", "nothere.example", "--json"}), 1);
    EXPECT_EQ(console.out, "{\"keep\": [\"10.0.0.1\", \"xn--bcher-kva.example\"]}\n");
    EXPECT_EQ(console.err, "brumix: not on the list of cookies to keep: nothere.example\n");
    EXPECT_EQ(Stored(), MultiSz({"10.0.0.1", "xn--bcher-kva.example"}));

    EXPECT_EQ(Run({"keep", "remove", "10.0.0.1", "http://xn--bcher-kva.example/"}), 0);
    EXPECT_EQ(console.out, "");
    EXPECT_FALSE(platform.registry.HasValue(kSettingsPath, "keep_cookies")) << "an empty list is no list";
    EXPECT_EQ(platform.registry.OpenKeys(), 0);
}

// A list that cannot be read is not written over; one that cannot be written is said to be as it was.
TEST_F(CliKeepTest, KeepThatCannotReadOrWriteTheListSaysWhyAndExitsThree) {
    Keep({'b', '.', 'e', 'x', 0}, kRegSz);
    EXPECT_EQ(Run({"keep", "add", "bank.example"}), 3);
    EXPECT_EQ(console.err,
              "brumix: the list of cookies to keep cannot be read (keep_cookies is not a REG_MULTI_SZ value); it is "
              "left as it is\n");
    EXPECT_EQ(platform.registry.ValueType(kSettingsPath, "keep_cookies"), kRegSz);
    EXPECT_EQ(Run({"keep"}), 3);
    EXPECT_EQ(console.out, "");

    Keep(MultiSz({"bank.example"}));
    platform.faults.FailCall("RegSetValueEx", kErrorAccessDenied);
    EXPECT_EQ(Run({"keep", "add", "mail.example"}), 3);
    EXPECT_EQ(console.err, "brumix: the list of cookies to keep could not be written (error 5); it is as it was\n");
    EXPECT_EQ(console.out, "");
    EXPECT_EQ(Stored(), MultiSz({"bank.example"}));
}

}  // namespace

// brumix.exe and the cookies to keep on Wine's real cookies: a stored list keeps exactly its
// sites' cookies through count, preview and clear; keep changes the list at once; a list that
// cannot be read deletes no cookie and exits 3.
#include "tests/e2e/cli_e2e_fixture.h"

namespace e2e {
namespace {

// The hosts of the cookie entries, from their URLs ("Cookie:user@host/").
std::set<std::string> CookieHosts() {
    std::set<std::string> hosts;
    for (const std::string& url : TakeCensus().cookies) {
        const std::string rest = url.substr(url.rfind('@') + 1);
        hosts.insert(rest.substr(0, rest.find('/')));
    }
    return hosts;
}

std::vector<std::string> Texts(const JsonValue* array) {
    std::vector<std::string> texts;
    if (array != nullptr) {
        for (const JsonValue& item : array->items) texts.push_back(item.text);
    }
    return texts;
}

class CliKeep : public CliE2e {};

TEST_F(CliKeep, AStoredListKeepsExactlyItsSitesCookies) {
    SeedCacheFiles(1);
    SeedCookiesFor({"bank.example", "mail.bank.example", "10.0.0.1", "tracker.example", "notbank.example"});
    StoreKeptSites({"www.bank.example", "10.0.0.1"});
    const std::set<std::string> kept = {"bank.example", "mail.bank.example", "10.0.0.1"};
    ASSERT_EQ(CookieHosts().size(), 5u);

    CliResult run = RunCli({"count", "--json"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue counts = ParseOrFail(run.out);
    ASSERT_TRUE(counts.Get("cookies") && counts.Get("cookies_kept")) << run.out;
    EXPECT_EQ(counts.Get("cookies")->number, 2);
    EXPECT_EQ(counts.Get("cookies_kept")->number, 3);

    run = RunCli({"preview", "--temp", "--cookies", "--json"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue preview = ParseOrFail(run.out);
    ASSERT_TRUE(preview.Get("items") && preview.Get("kept")) << run.out;
    EXPECT_EQ(JsonItems(*preview.Get("items")).size(), 3u) << run.out;
    Items keptCookies;
    for (const Item& item : CacheItems(true)) {
        const std::string host = item.second.substr(item.second.rfind('@') + 1);
        if (item.first == "cookie" && kept.count(host.substr(0, host.find('/'))) != 0) keptCookies.insert(item);
    }
    EXPECT_EQ(JsonItems(*preview.Get("kept")), keptCookies);

    run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out, "Cached Files deleted: 1\nCookies deleted: 2\nURLs In History deleted: 0\nCookies kept: 3\n");
    EXPECT_EQ(CookieHosts(), kept);
    EXPECT_TRUE(TakeCensus().files.empty());
    ExpectNeighboursIntact();
}

TEST_F(CliKeep, KeepAddAndRemoveChangeTheListAtOnce) {
    CliResult run = RunCli({"keep", "add", "https://WWW.Bank.Example/login", "10.0.0.1"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out, "10.0.0.1\nwww.bank.example\n");
    std::optional<RegValue> value = ReadValue(kSettingsPath, "keep_cookies");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(value->data.begin(), value->data.end()), std::string("10.0.0.1\0www.bank.example\0\0", 27));

    run = RunCli({"keep", "--json"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(Texts(ParseOrFail(run.out).Get("keep")), (std::vector<std::string>{"10.0.0.1", "www.bank.example"}));

    SeedCookiesFor({"bank.example", "tracker.example"});
    run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(CookieHosts(), std::set<std::string>{"bank.example"}) << "the list written is the one honoured";

    run = RunCli({"keep", "remove", "10.0.0.1", "nothere.example"});
    EXPECT_EQ(run.exitCode, 1u) << Said(run);
    EXPECT_EQ(run.out, "www.bank.example\n");
    EXPECT_EQ(run.err, "brumix: not on the list of cookies to keep: nothere.example\n");

    run = RunCli({"keep", "add", "bank.example", "bank..example"});
    EXPECT_EQ(run.exitCode, 2u) << Said(run);
    run = RunCli({"keep", "remove", "www.bank.example"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(ReadValue(kSettingsPath, "keep_cookies").has_value()) << "an empty list is no value";
    ExpectNeighboursIntact();
}

TEST_F(CliKeep, AListThatCannotBeReadDeletesNoCookieAndExitsThree) {
    SeedCacheFiles(2);
    SeedCookiesFor({"bank.example", "tracker.example"});
    ASSERT_EQ(SetTextValue(kSettingsPath, "keep_cookies", "bank.example"), ERROR_SUCCESS);

    CliResult run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    EXPECT_EQ(run.out, "Cached Files deleted: 2\nCookies deleted: 0\nURLs In History deleted: 0\n");
    EXPECT_EQ(run.err, "brumix: the list of cookies to keep cannot be read; no cookie was deleted\n");
    EXPECT_EQ(CookieHosts(), (std::set<std::string>{"bank.example", "tracker.example"}));
    EXPECT_TRUE(TakeCensus().files.empty());

    run = RunCli({"keep", "add", "mail.example"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    EXPECT_NE(run.err.find("not a REG_MULTI_SZ"), std::string::npos) << Said(run);
    EXPECT_EQ(Describe(ReadValue(kSettingsPath, "keep_cookies")), Describe(SzValue("bank.example")));
    ExpectNeighboursIntact();
}

}  // namespace
}  // namespace e2e

// brumix.exe and the cookies to keep on Wine's real stores: cookies set with InternetSetCookieA
// kept through a clear by the list a Unicode editor stored, or held all with exit 3 when it is no
// list; keep add writing the REG_MULTI_SZ.
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

class CliKeep : public CliE2e {};

TEST_F(CliKeep, AClearKeepsExactlyTheListedSitesCookiesOrEveryCookieWhenTheListIsNone) {
    SeedCookiesFor({"bank.example", "mail.bank.example", "10.0.0.1", "tracker.example", "notbank.example"});
    ASSERT_EQ(SetTextValue(kSettingsPath, "keep_cookies", "bank.example"), ERROR_SUCCESS);
    CliResult run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    EXPECT_EQ(CookieHosts().size(), 5u);

    StoreKeptSites({"www.bank.example", "10.0.0.1"});
    run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cookies deleted: 2", "Cookies kept: 3"});
    EXPECT_EQ(CookieHosts(), (std::set<std::string>{"bank.example", "mail.bank.example", "10.0.0.1"}));
    ExpectNeighboursIntact();
}

TEST_F(CliKeep, KeepAddWritesTheSitesAsRegMultiSz) {
    const CliResult run = RunCli({"keep", "add", "https://WWW.Bank.Example/login", "10.0.0.1"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    const std::optional<RegValue> value = ReadValue(kSettingsPath, "keep_cookies");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(value->data.begin(), value->data.end()), std::string("10.0.0.1\0www.bank.example\0\0", 27));
    ExpectNeighboursIntact();
}

}  // namespace
}  // namespace e2e

// Fuzzes a Chromium browser's pass on what a profile may hold: any Local State, cookies with any
// host_key through the cookies to keep, and databases missing what the layout check expects.
// After a count and a clear: every cookie either kept or deleted, the kept ones exactly those
// the rule keeps, a layout not known left byte for byte, nothing left open.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/memory/memory_databases.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/memory_user_folders.h"
#include "sweep/chromium_stores.h"
#include "sweep/chromium_sweep.h"
#include "sweep/cookie_keep.h"
#include "tests/support/chromium_fixture.h"

namespace {

const std::string kEdge = "C:\\Users\\ann\\AppData\\Local\\Microsoft\\Edge\\User Data";

// Ways a database may differ from what this program knows, each a statement run on the fixture.
const char* const kDamage[] = {
    "",
    "ALTER TABLE cookies RENAME TO cookies_v2",
    "DROP INDEX cookies_unique_index; ALTER TABLE cookies DROP COLUMN path",
    "CREATE TABLE seen(h); CREATE TRIGGER t AFTER DELETE ON cookies BEGIN INSERT INTO seen VALUES (old.host_key); END",
    "CREATE TABLE cookies_old(host_key)",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Faults faults;
    MemoryUserFolders folders;
    MemoryProfileFiles files(faults);
    MemoryDatabases databases(files, faults);
    folders.paths[UserFolder::LocalAppData] = "C:\\Users\\ann\\AppData\\Local";
    const BrowserServices services{folders, files, databases};

    files.WriteFile(kEdge + "\\Local State", input.ConsumeRandomLengthString(400));
    for (const char* folder : {"Default", "Profile 1", "..", "Guest Profile"}) files.AddFolder(kEdge + "\\" + folder);

    std::vector<FixtureCookie> cookies;
    for (int count = input.ConsumeIntegralInRange(0, 8); count > 0; --count)
        cookies.push_back({input.ConsumeRandomLengthString(40), "n" + std::to_string(cookies.size())});
    FixtureDatabase database = FixtureDatabase::FromBytes(CookiesFile(cookies));
    const std::size_t damage = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kDamage) - 1);
    database.Execute(kDamage[damage]);
    const std::string path = kEdge + "\\Default\\Network\\Cookies";
    const std::string before = database.Bytes();
    files.WriteFile(path, before);

    std::vector<std::string> sites;
    for (int count = input.ConsumeIntegralInRange(0, 3); count > 0; --count) {
        if (auto site = SiteFromUserInput(input.ConsumeRandomLengthString(30))) sites.push_back(*site);
    }
    const KeptSites kept = KeptSites::Read(sites).value_or(KeptSites());
    const KeepCookie keep = [&kept](std::string_view site) { return kept.Keeps(site); };
    const auto keeps = [&kept](const FixtureCookie& c) {
        const auto site = CookieHostSite(c.host);
        return site && kept.Keeps(*site);
    };
    const int keptRows = static_cast<int>(std::count_if(cookies.begin(), cookies.end(), keeps));

    SweepObserver observer;
    const KindSet cookieKind{Kind::Cookies};
    const ChromiumBrowser& edge = *FindChromiumBrowser("edge");
    const BrowserResult counted = SweepChromiumBrowser(services, edge, {cookieKind, {}, keep}, observer);
    const BrowserResult cleared = SweepChromiumBrowser(services, edge, {{}, cookieKind, keep}, observer);
    FUZZ_CHECK(files.OpenListings() == 0 && databases.OpenConnections() == 0);
    FUZZ_CHECK(counted.profiles >= 1 && counted.profiles <= 2);

    const std::string after = files.ReadFile(path).value_or("");
    if (damage != 0 && damage != 4) {
        FUZZ_CHECK(after == before);
        FUZZ_CHECK(!cleared.layoutProblems.empty() && cleared[Kind::Cookies].deleted == 0);
        return 0;
    }
    const Tally& c = counted[Kind::Cookies];
    FUZZ_CHECK(c.kept == keptRows && c.found + c.kept == static_cast<int>(cookies.size()));
    FUZZ_CHECK(cleared[Kind::Cookies].deleted == c.found);
    FixtureDatabase left = FixtureDatabase::FromBytes(after);
    FUZZ_CHECK(left.Number("SELECT count(*) FROM cookies") == keptRows);
    FUZZ_CHECK(left.Text("PRAGMA integrity_check") == "ok");
    return 0;
}

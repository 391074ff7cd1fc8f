// Common ground of brumix.exe's end-to-end cases: clean stores and neighbours before each,
// seeding, the platform family, and the checks that the neighbours and the settings stand.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/cli_run.h"
#include "tests/e2e/mini_json.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace e2e {

// What a preview or a not-deleted report names: the store and the item.
using Item = std::pair<std::string, std::string>;
using Items = std::set<Item>;

class CliE2e : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Wine reads the per-executable version override when a process starts.
    static void ReportNonNtFamily();
    static std::vector<std::string> SeedCacheFiles(int count);
    static void SeedCookieDomains(int count);
    static void SeedTypedUrls(const std::vector<std::string>& names);
    // The Windows directory's Cookies folder, made if missing, with these cookie files.
    void SeedCookieFiles(const std::vector<std::string>& names);
    static void Remember(const std::map<std::string, std::string>& values);

    // The census as preview's items: every entry as cache or cookie.
    static Items CacheItems(bool withCookies);
    static Items TypedItems();
    Items CookieFileItems() const;
    static Items ParsePreview(const std::string& out);
    // The items of a --json preview or a clear's not_deleted; fails the test on bad JSON.
    static Items JsonItems(const JsonValue& list);
    static JsonValue ParseOrFail(const std::string& text);

    // Everything next to the three stores, as SetUp left it.
    void ExpectNeighboursIntact() const;
    // The settings key's every value with its type and bytes, to compare before and after.
    static std::map<std::wstring, std::string> SettingsSnapshot();

    std::string cookieFolder_;
    std::vector<std::string> canaryFiles_;
};

// Prints what the program said when a check on its run fails.
std::string Said(const CliResult& run);

}  // namespace e2e

// Common ground of brumix.exe's end-to-end cases: empty stores and their neighbours before each,
// the items the program should name, and the settings as they stand.
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
#include "tests/support/e2e_stores.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace e2e {

// The program's file name, as Wine's per-executable settings know it.
inline constexpr char kCliExe[] = "brumix.exe";

// What a preview or a not-deleted report names: the store and the item.
using Item = std::pair<std::string, std::string>;
using Items = std::set<Item>;

class CliE2e : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The census as preview's items: every entry as cache or cookie.
    static Items CacheItems(bool withCookies);
    // The census's pages visited as preview's items.
    static Items VisitedItems();
    static Items TypedItems();
    static Items CookieFileItems();
    static Items ParsePreview(const std::string& out);
    // The items of a --json preview or a clear's not_deleted; fails the test on bad JSON.
    static Items JsonItems(const JsonValue& list);
    static JsonValue ParseOrFail(const std::string& text);

    // Everything next to the three stores, as SetUp left it.
    void ExpectNeighboursIntact() const { neighbours_.ExpectIntact(); }
    // The settings key's every value with its type and bytes, to compare before and after.
    static std::map<std::wstring, std::string> SettingsSnapshot();

    Neighbours neighbours_;
};

// Prints what the program said when a check on its run fails.
std::string Said(const CliResult& run);

// Each of lines is a whole line of the text output, so that a case asserts the lines it is about
// and a kind added later does not rewrite it.
void ExpectLines(const std::string& out, std::initializer_list<std::string> lines);

}  // namespace e2e

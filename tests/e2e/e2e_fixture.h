// Common ground of winbrumix.exe's end-to-end cases: empty stores before each, and the checks of
// what the window shows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/brumix_process.h"
#include "tests/support/e2e_stores.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace e2e {

inline constexpr char kWelcome[] = "S U R F  F A S T E R  &&  S A F E R";
inline constexpr char kNothingToClear[] =
    "Nothing to clear! Select:\n- 'Temporary Internet Files' (+ Cookies) or\n- 'Internet Explorer History'";

inline std::string CachedText(int n) {
    return "Cached Files: " + std::to_string(n);
}
inline std::string CookieText(int n) {
    return "Cookies: " + std::to_string(n);
}
inline std::string HistoryText(int n) {
    return "URLs In History: " + std::to_string(n);
}
inline std::string SniffCaption(int n) {
    return "Sniff: every " + std::to_string(n) + " second(s)";
}

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(EmptyStores()); }

    static void ExpectCensus(size_t files, size_t cookies) {
        CacheCensus census = TakeCensus();
        EXPECT_TRUE(census.complete);
        EXPECT_EQ(census.files.size(), files) << "ordinary cache entries";
        EXPECT_EQ(census.cookies.size(), cookies) << "cookie cache entries";
    }

    void ExpectCounters(int cached, int cookies, int history) const {
        EXPECT_EQ(app.Text(IDC_CACHED_COUNT), CachedText(cached));
        EXPECT_EQ(app.Text(IDC_COOKIE_COUNT), CookieText(cookies));
        EXPECT_EQ(app.Text(IDC_HISTORY_COUNT), HistoryText(history));
    }

    void ExpectMark(bool found) const {
        EXPECT_EQ(app.Visible(IDC_FOUND_MARK), found) << "found mark";
        EXPECT_EQ(app.Visible(IDC_CLEAN_MARK), !found) << "clean mark";
    }

    BrumixProcess app;
};

}  // namespace e2e

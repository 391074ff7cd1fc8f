// Common ground of the end-to-end cases: clean stores before each, seeding, and counter checks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/brumix_process.h"
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

// One of the seven choices as the program writes it: a REG_SZ of this text.
struct Stored {
    const char* name;
    const char* text;
};

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ClearCache()) << "the URL cache could not be emptied before the case";
        ASSERT_TRUE(DeleteKeyTree(kTypedUrlsPath));
        ASSERT_TRUE(DeleteKeyTree(kSettingsPath));
    }

    // Typed addresses under the given value names, each with an address as its data.
    static void SeedTypedUrls(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            ASSERT_EQ(SetTextValue(kTypedUrlsPath, name, "http://typed.example/" + name), ERROR_SUCCESS);
        }
    }
    static std::vector<std::string> SeedCacheFiles(int count) {
        std::vector<std::string> urls;
        for (int i = 0; i < count; ++i) {
            urls.push_back("http://" + UniqueName("files") + ".example/page.htm");
            EXPECT_TRUE(CommitEntryWithFile(urls.back(), "<html>seeded</html>")) << urls.back();
        }
        return urls;
    }
    // One cookie entry per domain, as wininet keeps them.
    static void SeedCookieDomains(int count) {
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(
                SetPersistentCookie("http://" + UniqueName("crumbs") + ".example/", "session=value-of-session"));
        }
    }

    static void ExpectCensus(size_t files, size_t cookies) {
        CacheCensus census = TakeCensus();
        EXPECT_TRUE(census.complete);
        EXPECT_EQ(census.files.size(), files) << "ordinary cache entries";
        EXPECT_EQ(census.cookies.size(), cookies) << "cookie cache entries";
    }

    static void ExpectStored(const std::vector<Stored>& values) {
        for (const Stored& stored : values) {
            std::optional<RegValue> value = ReadValue(kSettingsPath, stored.name);
            RegValue wanted = SzValue(stored.text);
            EXPECT_TRUE(value && value->type == wanted.type && value->data == wanted.data)
                << stored.name << ": " << Describe(value) << " instead of " << Describe(wanted);
        }
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

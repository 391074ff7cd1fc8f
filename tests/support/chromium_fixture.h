// Chromium's databases as the tests lay them out: the browsers' own tables (read from their
// public layouts), built in memory with the same SQLite the program uses and handed over as the
// bytes of a file, for the stand-ins, the Windows-side tests, the fuzzer and the benchmark.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// A database in memory, made from SQL or from a file's bytes.
class FixtureDatabase {
public:
    // Fails the process on SQL that does not run: a fixture that is not what it says is no test.
    explicit FixtureDatabase(std::string_view sql = {});
    static FixtureDatabase FromBytes(std::string_view bytes);
    ~FixtureDatabase();
    FixtureDatabase(FixtureDatabase&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
    FixtureDatabase(const FixtureDatabase&) = delete;
    FixtureDatabase& operator=(const FixtureDatabase&) = delete;
    FixtureDatabase& operator=(FixtureDatabase&&) = delete;

    void Execute(std::string_view sql);
    // One statement with its parameters ?1, ?2... bound to the texts, any bytes in them.
    void Execute(std::string_view sql, std::initializer_list<std::string_view> texts);
    // The first column of the first row, as text ("" when none); -1 rows when the query fails.
    std::string Text(std::string_view query);
    std::int64_t Number(std::string_view query);
    // The file as SQLite would write it.
    std::string Bytes();

private:
    sqlite3* db_ = nullptr;
};

// The tables of each file, with the indexes that hold the same values.
extern const char kCookiesSchema[];
extern const char kHistorySchema[];
extern const char kShortcutsSchema[];
extern const char kTopSitesSchema[];
// Files never touched, laid out so that a change would show: passwords and autofill.
extern const char kLoginDataSchema[];
extern const char kWebDataSchema[];

struct FixtureCookie {
    std::string host;
    std::string name = "id";
    std::string value = "v";
    std::string path = "/";
};
std::string CookiesFile(std::span<const FixtureCookie> cookies);

struct FixtureUrl {
    std::string url;
    int typedCount = 0;
    int visits = 1;
};
// Each url with its visits and, for each visit, a row in every table that records visits (its
// source, annotations, cluster), and per url a search term, a segment with its usage and a
// visited link.
std::string HistoryFile(std::span<const FixtureUrl> urls);

struct FixtureShortcut {
    std::string text;
    std::string url;
};
std::string ShortcutsFile(std::span<const FixtureShortcut> shortcuts);
std::string TopSitesFile(std::span<const std::string> urls);
// A few rows, so that the bytes are those of a database in use.
std::string LoginDataFile();
std::string WebDataFile();

// Local State with profile.info_cache naming these profiles.
std::string LocalStateJson(std::span<const std::string> profiles);

// The number of rows the query counts in the file's bytes.
std::int64_t CountIn(std::string_view bytes, std::string_view query);

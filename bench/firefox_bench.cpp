// Times Firefox's pass over a places.sqlite of 10,000 places, 1,000 of them bookmarked, as
// Firefox keeps it (pages of 32 KB, a write-ahead log), counting and clearing the typed
// addresses and the pages visited, against a bare SQLite loop over the same file: the rows read
// one by one, and Firefox's own clear of its history (the places nothing holds, every visit, the
// typed text and the history metadata) in one transaction. Rounds alternate which goes first;
// medians and their ratio are printed.
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/firefox_sweep.h"
#include "tests/support/firefox_fixture.h"
#include "tests/support/throwaway_prefix.h"

namespace {

const std::string kRoaming = "C:\\users\\bench\\AppData\\Roaming";
const std::string kLocal = "C:\\users\\bench\\AppData\\Local";
const std::string kProfile = kRoaming + "\\Mozilla\\Firefox\\Profiles\\bench.default-release";
const std::string kPlaces = kProfile + "\\places.sqlite";

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "firefox_bench: %s\n", what);
    std::exit(1);
}

void Put(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Require(file.good(), "a fixture file could not be written");
}

// The places: every tenth typed, every tenth (another one) bookmarked, 500 sites, two visits each.
std::string PlacesBytes(int places, int bookmarked) {
    FixtureDatabase db = PlacesDatabase(32768);
    db.Execute("BEGIN");
    const int every = places / bookmarked;
    for (int i = 0; i < places; ++i) {
        const std::string url = "https://site" + std::to_string(i % 500) + ".example/page" + std::to_string(i);
        const std::int64_t id = AddPlace(db, {url, i % 10 == 0, 2});
        if (i % every == every / 2) Bookmark(db, id, "bookmark " + std::to_string(i));
    }
    db.Execute("COMMIT");
    std::string bytes = db.Bytes();
    bytes[18] = bytes[19] = 2;
    return bytes;
}

double Milliseconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The bare loop's connection, opened as the program opens one.
sqlite3* OpenPlaces() {
    sqlite3* db = nullptr;
    Require(sqlite3_open_v2(kPlaces.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK,
            "places.sqlite could not be opened");
    return db;
}

int BareCount() {
    sqlite3* db = OpenPlaces();
    int rows = 0;
    for (const char* sql : {"SELECT url FROM moz_places", "SELECT input FROM moz_inputhistory"}) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            if (sqlite3_column_text(statement, 0) != nullptr) ++rows;
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

void BareClear() {
    sqlite3* db = OpenPlaces();
    // Firefox's connection has foreign keys on: the places' and visits' extra rows and the new
    // tab's interactions go with them by cascade.
    Require(sqlite3_exec(db,
                         "PRAGMA foreign_keys = ON; PRAGMA secure_delete = ON; BEGIN IMMEDIATE;"
                         " DELETE FROM moz_places_metadata; DELETE FROM moz_places_metadata_search_queries;"
                         " DELETE FROM moz_places WHERE foreign_count = 0; DELETE FROM moz_inputhistory;"
                         " DELETE FROM moz_historyvisits; COMMIT",
                         nullptr, nullptr, nullptr) == SQLITE_OK,
            "the bare clear failed");
    sqlite3_close(db);
}

// Runs both, the sweep first in even rounds, so that a drift in the machine's speed falls on
// both alike.
void Alternate(int round, const std::function<void()>& sweep, const std::function<void()>& bare) {
    (round % 2 == 0 ? sweep : bare)();
    (round % 2 == 0 ? bare : sweep)();
}

struct Series {
    const char* what;
    std::vector<double> sweep;
    std::vector<double> bare;

    void Print() const {
        const double ratio = Median(sweep) / Median(bare);
        std::printf("%s: sweep %.1f ms, bare %.1f ms (medians), %.2fx; per round sweep/bare:", what, Median(sweep),
                    Median(bare), ratio);
        for (std::size_t i = 0; i < sweep.size(); ++i) std::printf(" %.0f/%.0f", sweep[i], bare[i]);
        std::printf("\n");
    }
};

}  // namespace

int main(int argc, char** argv) {
    int places = 10000;
    int bookmarked = 1000;
    int rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--places") places = value;
        if (name == "--bookmarked") bookmarked = value;
        if (name == "--rounds") rounds = value;
    }
    if (argc % 2 == 0 || places <= 0 || bookmarked <= 0 || bookmarked > places || rounds <= 0) {
        std::fprintf(stderr, "usage: firefox_bench [--places N] [--bookmarked B] [--rounds R]\n");
        return 2;
    }
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "REFUSING TO RUN, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    SetEnvironmentVariableA("APPDATA", kRoaming.c_str());
    SetEnvironmentVariableA("LOCALAPPDATA", kLocal.c_str());
    const FixtureIniProfile listed[] = {{"default-release", "Profiles/bench.default-release"}};
    Put(kRoaming + "\\Mozilla\\Firefox\\profiles.ini", ProfilesIniText(listed));
    std::string bytes;
    const double built = Milliseconds([&] { bytes = PlacesBytes(places, bookmarked); });
    const int typed = (places + 9) / 10;
    std::printf("places.sqlite: %d places (%d typed, %d bookmarked, %d visits), %zu KB, built in %.0f ms; %d rounds\n",
                places, typed, bookmarked, 2 * places, bytes.size() / 1024, built, rounds);

    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    const BrowserServices services{folders, files, databases};
    SweepObserver observer;
    const KindSet history{Kind::TypedUrls, Kind::VisitedPages};
    const auto sweep = [&](KindSet remove) { return SweepFirefox(services, {history, remove, {}}, observer); };

    Put(kPlaces, bytes);
    Series counting{"count", {}, {}};
    Series clearing{"clear", {}, {}};
    for (int round = 0; round < rounds; ++round) {
        BrowserResult result;
        int rows = 0;
        Alternate(
            round, [&] { counting.sweep.push_back(Milliseconds([&] { result = sweep({}); })); },
            [&] { counting.bare.push_back(Milliseconds([&] { rows = BareCount(); })); });
        Require(result[Kind::TypedUrls].found == 2 * typed && result[Kind::VisitedPages].found == places - typed &&
                    rows == places + typed,
                "the count miscounted");
    }
    for (int round = 0; round < rounds; ++round) {
        Alternate(
            round,
            [&] {
                Put(kPlaces, bytes);
                BrowserResult result;
                clearing.sweep.push_back(Milliseconds([&] { result = sweep(history); }));
                Require(result[Kind::TypedUrls].deleted + result[Kind::VisitedPages].deleted == places + typed,
                        "the clear missed places");
            },
            [&] {
                Put(kPlaces, bytes);
                clearing.bare.push_back(Milliseconds(BareClear));
            });
    }
    counting.Print();
    clearing.Print();
    return 0;
}

// Times a Chromium browser's pass over real files and databases under Wine: counting and
// clearing a cache of many files against a bare FindFirstFile/DeleteFile loop over the same
// folder (interleaved, the ratio of their medians), and counting and clearing many cookie rows
// and many History rows, with their times.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/chromium_sweep.h"
#include "tests/support/chromium_fixture.h"
#include "tests/support/throwaway_prefix.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTarget = 1.05;
const std::wstring kLocal = L"C:\\brumix-bench\\Local";
const std::wstring kProfile = kLocal + L"\\Microsoft\\Edge\\User Data\\Default";
const std::wstring kCache = kProfile + L"\\Cache\\Cache_Data";

struct Options {
    int files = 20000;
    int rows = 10000;
    int rounds = 6;
};

double TimeMs(const std::function<void()>& run) {
    const Clock::time_point start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void MakeFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "bench: cannot write %s\n", WideToUtf8(path).c_str());
        std::exit(1);
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Names as the blockfile cache gives them.
void SeedCache(int files) {
    MakeFolders(kCache);
    char name[16];
    for (int i = 0; i < files; ++i) {
        std::snprintf(name, sizeof name, "f_%06x", i);
        WriteBytes(kCache + L"\\" + Utf8ToWide(name), "cache entry");
    }
}

// The platform's own loop, as a careful caller writes it: each file of the folder, deleted
// where it stands when asked. Returns the files met.
int BareLoop(bool deleting) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((kCache + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int files = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ++files;
        if (deleting) DeleteFileW((kCache + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

BrowserResult Sweep(const BrowserServices& services, KindSet count, KindSet remove) {
    SweepObserver observer;
    return SweepChromiumBrowser(services, *FindChromiumBrowser("edge"), {count, remove, {}}, observer);
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "bench: %s\n", what);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "REFUSING TO RUN, nothing was touched: %s\n", why.c_str());
        return 3;
    }
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (flag == "--files") options.files = value;
        if (flag == "--rows") options.rows = value;
        if (flag == "--rounds") options.rounds = value;
    }
    SetEnvironmentVariableW(L"LOCALAPPDATA", kLocal.c_str());
    MakeFolders(kProfile);
    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    const BrowserServices services{folders, files, databases};
    const KindSet cache{Kind::CachedFiles};

    bool met = true;
    // --files 0 leaves the cache out, --rows 0 the databases.
    if (options.files > 0) {
        const double seedMs = TimeMs([&] { SeedCache(options.files); });
        std::printf("cache files %d, seeded in %.0f ms, rounds %d\n", options.files, seedMs, options.rounds);
        std::vector<double> sweepCount, bareCount, sweepClear, bareClear;
        const auto countBySweep = [&] {
            int found = 0;
            sweepCount.push_back(TimeMs([&] { found = Sweep(services, cache, {})[Kind::CachedFiles].found; }));
            Check(found == options.files, "the count did not find every file");
        };
        const auto countByBareLoop = [&] {
            int found = 0;
            bareCount.push_back(TimeMs([&] { found = BareLoop(false); }));
            Check(found == options.files, "the bare loop did not find every file");
        };
        const auto clearBySweep = [&] {
            SeedCache(options.files);
            int deleted = 0;
            sweepClear.push_back(TimeMs([&] { deleted = Sweep(services, {}, cache)[Kind::CachedFiles].deleted; }));
            Check(deleted == options.files && BareLoop(false) == 0, "the clear did not delete every file");
        };
        const auto clearByBareLoop = [&] {
            SeedCache(options.files);
            int deleted = 0;
            bareClear.push_back(TimeMs([&] { deleted = BareLoop(true); }));
            Check(deleted == options.files && BareLoop(false) == 0, "the bare loop did not delete every file");
        };
        // Each round runs the two in the other order than the one before, so that what the first of
        // a pair leaves behind (the file system's caches, a folder just filled) weighs on both alike.
        for (int round = 0; round < options.rounds; ++round) {
            if (round % 2 == 0) {
                countBySweep();
                countByBareLoop();
            } else {
                countByBareLoop();
                countBySweep();
            }
        }
        for (int round = 0; round < options.rounds; ++round) {
            if (round % 2 == 0) {
                clearBySweep();
                clearByBareLoop();
            } else {
                clearByBareLoop();
                clearBySweep();
            }
        }
        const auto report = [](const char* what, const std::vector<double>& sweep, const std::vector<double>& bare) {
            const double ratio = Median(sweep) / Median(bare);
            std::printf("%s, median wall: sweep %.1f ms, bare %.1f ms, ratio %.3f (target <= %.2f: %s)\n", what,
                        Median(sweep), Median(bare), ratio, kTarget, ratio <= kTarget ? "met" : "MISSED");
            return ratio <= kTarget;
        };
        met = report("counting cache files", sweepCount, bareCount);
        met = report("clearing cache files", sweepClear, bareClear) && met;
    }

    if (options.rows > 0) {
        // The databases: each round writes them afresh, then counts and clears them.
        std::vector<FixtureCookie> cookies;
        std::vector<FixtureUrl> urls;
        for (int i = 0; i < options.rows; ++i) {
            cookies.push_back({"site" + std::to_string(i) + ".example", "id", "value" + std::to_string(i)});
            urls.push_back({"https://site" + std::to_string(i) + ".example/page", i % 10 == 0 ? 1 : 0});
        }
        const std::string cookiesFile = CookiesFile(cookies);
        const std::string historyFile = HistoryFile(urls);
        MakeFolders(kProfile + L"\\Network");
        std::vector<double> cookieCount, cookieClear, historyCount, historyClear;
        const KindSet cookieKind{Kind::Cookies};
        const KindSet historyKinds{Kind::TypedUrls, Kind::VisitedPages};
        for (int round = 0; round < options.rounds; ++round) {
            WriteBytes(kProfile + L"\\Network\\Cookies", cookiesFile);
            WriteBytes(kProfile + L"\\History", historyFile);
            BrowserResult result;
            cookieCount.push_back(TimeMs([&] { result = Sweep(services, cookieKind, {}); }));
            Check(result[Kind::Cookies].found == options.rows, "the count did not find every cookie");
            cookieClear.push_back(TimeMs([&] { result = Sweep(services, {}, cookieKind); }));
            Check(result[Kind::Cookies].deleted == options.rows, "the clear did not delete every cookie");
            historyCount.push_back(TimeMs([&] { result = Sweep(services, historyKinds, {}); }));
            Check(result[Kind::TypedUrls].found + result[Kind::VisitedPages].found == options.rows,
                  "the count did not find every url");
            historyClear.push_back(TimeMs([&] { result = Sweep(services, {}, historyKinds); }));
            Check(result[Kind::TypedUrls].deleted + result[Kind::VisitedPages].deleted == options.rows,
                  "the clear did not delete every url");
        }
        std::printf("cookie rows %d (%zu KB), median wall: count %.1f ms, clear %.1f ms\n", options.rows,
                    cookiesFile.size() / 1024, Median(cookieCount), Median(cookieClear));
        std::printf("History rows %d urls with a visit each (%zu KB), median wall: count %.1f ms, clear %.1f ms\n",
                    options.rows, historyFile.size() / 1024, Median(historyCount), Median(historyClear));
    }
    return met ? 0 : 1;
}

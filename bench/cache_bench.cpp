// Times the program's cache sweep against a bare wininet loop over the same seeded cache, in
// one process and interleaved, and prints the ratios of their medians.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/win/support/throwaway_prefix.h"
#include "tests/win/support/wine_cache.h"
#include "tests/win/support/wine_dialog.h"
#include "ui/globals.h"
#include "ui/resource_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTarget = 1.10;

struct Options {
    int entries = 10000;
    int rounds = 7;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double TimeMs(const std::function<void()>& run) {
    const Clock::time_point start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The platform's own walk, as a careful caller writes it: one block, grown only when asked,
// deleting where it stands when told to. Returns the entries met.
int BareWalk(bool deleteEach) {
    std::vector<char> block(4096);
    auto record = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data()); };
    HANDLE walk = nullptr;
    int met = 0;
    for (;;) {
        DWORD size = static_cast<DWORD>(block.size());
        const bool ok = walk == nullptr ? (walk = FindFirstUrlCacheEntryA(nullptr, record(), &size)) != nullptr
                                        : FindNextUrlCacheEntryA(walk, record(), &size) != FALSE;
        if (!ok) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            block.resize(size);
            continue;
        }
        ++met;
        if (deleteEach) DeleteUrlCacheEntryA(record()->lpszSourceUrlName);
    }
    if (walk != nullptr) FindCloseUrlCache(walk);
    return met;
}

int CountedBySweep(WineDialog& wine) {
    const std::string& text = wine.Text(IDC_CACHED_COUNT);
    return std::atoi(text.c_str() + std::strlen("Cached Files: "));
}

bool Seed(int entries) {
    for (int i = 0; i < entries; ++i) {
        if (!CommitEntry("http://bench.brumix.example/" + std::to_string(i) + ".gif")) {
            std::fprintf(stderr, "seeding failed at entry %d (error %lu)\n", i, GetLastError());
            return false;
        }
    }
    return true;
}

struct Series {
    std::vector<double> sweepMs;
    std::vector<double> bareMs;
};

// The headline is the ratio of the medians; the median of each round's own ratio is printed
// beside it, as a check that a drift in the machine's speed did not make the figure.
void Report(const char* what, const Series& series) {
    std::vector<double> paired;
    std::printf("%s, sweep/bare ms per round:", what);
    for (std::size_t i = 0; i < series.sweepMs.size(); ++i) {
        std::printf(" %.0f/%.0f", series.sweepMs[i], series.bareMs[i]);
        paired.push_back(series.sweepMs[i] / series.bareMs[i]);
    }
    const double ratio = Median(series.sweepMs) / Median(series.bareMs);
    std::printf(
        "\n  median sweep %.1f ms, median bare %.1f ms: ratio %.3f (median of round ratios %.3f); "
        "target <= %.2f %s\n",
        Median(series.sweepMs), Median(series.bareMs), ratio, Median(paired), kTarget,
        ratio <= kTarget ? "met" : "NOT MET");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--entries") == 0) {
            options.entries = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            options.rounds = std::atoi(argv[i + 1]);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.entries > 0 && options.rounds > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: cache_bench [--entries N] [--rounds R]\n");
        return 2;
    }
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "REFUSING TO RUN: %s\n", why.c_str());
        return 2;
    }
    // The cookie folder belongs to the other family; only the cache walk is measured.
    g_bIsNT = 1;
    WineDialog wine;

    if (ClearCache() != 0) {
        std::fprintf(stderr, "the cache could not be emptied before seeding\n");
        return 1;
    }
    const double seedMs = TimeMs([&] { Seed(options.entries); });
    const int seeded = BareWalk(false);
    std::printf("entries %d, seeded in %.0f ms (%.3f ms each), rounds %d\n", seeded, seedMs, seedMs / options.entries,
                options.rounds);
    if (seeded != options.entries) return 1;

    // One untimed pass of each, so that neither pays for mapping the index first.
    wine.dlg.ScanCache(1, 1);
    BareWalk(false);

    // Each round alternates which goes first, so that a drift in the machine's speed
    // falls on both alike.
    Series counting;
    for (int round = 0; round < options.rounds; ++round) {
        auto sweep = [&] { counting.sweepMs.push_back(TimeMs([&] { wine.dlg.ScanCache(1, 1); })); };
        auto bare = [&] { counting.bareMs.push_back(TimeMs([&] { BareWalk(false); })); };
        if (round % 2 == 0) {
            sweep();
            bare();
        } else {
            bare();
            sweep();
        }
        if (CountedBySweep(wine) != options.entries) {
            std::fprintf(stderr, "the sweep counted %d entries, not %d\n", CountedBySweep(wine), options.entries);
            return 1;
        }
    }

    // Every clearing run starts from a freshly seeded cache; the seeding is not timed.
    Series clearing;
    for (int round = 0; round < options.rounds; ++round) {
        auto sweep = [&] {
            if (!Seed(options.entries)) std::exit(1);
            clearing.sweepMs.push_back(TimeMs([&] { wine.dlg.ScanCache(1, 0); }));
            if (CacheUrls().size() != 0 || CountedBySweep(wine) != options.entries) {
                std::fprintf(stderr, "the clearing sweep left entries or miscounted\n");
                std::exit(1);
            }
        };
        auto bare = [&] {
            if (!Seed(options.entries)) std::exit(1);
            clearing.bareMs.push_back(TimeMs([&] { BareWalk(true); }));
            if (CacheUrls().size() != 0) {
                std::fprintf(stderr, "the bare clearing loop left entries\n");
                std::exit(1);
            }
        };
        if (round % 2 == 0) {
            sweep();
            bare();
        } else {
            bare();
            sweep();
        }
    }

    Report("counting", counting);
    Report("clearing", clearing);
    return 0;
}

// Times the program's cache sweep and brumix.exe's count and clear against a bare wininet loop
// over the same seeded cache, pages visited among its entries, in one process and interleaved,
// and prints the ratios of their medians.
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

#include "cli/commands.h"
#include "res/resource.h"
#include "tests/support/throwaway_prefix.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_files.h"
#include "ui/globals.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTarget = 1.10;

struct Options {
    int entries = 10000;
    int rounds = 7;
    // Every visitedEvery-th entry is a page visited, in Wine's history container; 0 for none.
    int visitedEvery = 5;
    // brumix.exe, to time whole processes of its count as well; empty to skip that.
    std::string cli;
};

// Wall time is what the user waits for; the process's own processor time is printed beside
// it because other work sharing the processor inflates wall time but not this.
struct Timing {
    double wallMs;
    double cpuMs;
};

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

Timing Time(const std::function<void()>& run) {
    const double cpuStart = ProcessCpuMs();
    const Clock::time_point start = Clock::now();
    run();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), ProcessCpuMs() - cpuStart};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// What a bare loop deletes as it walks.
enum class BareDelete { None, Content, Everything };

bool IsVisitedPage(const INTERNET_CACHE_ENTRY_INFOA& entry) {
    return (entry.CacheEntryType & URLHISTORY_CACHE_ENTRY) != 0 ||
           _strnicmp(entry.lpszSourceUrlName, "Visited:", 8) == 0;
}

// The platform's own walk, as a careful caller writes it: one block, grown only when asked,
// deleting where it stands what it is told to (Content: all but the pages visited). Returns the
// entries met.
int BareWalk(BareDelete deleting) {
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
        if (deleting == BareDelete::Everything || (deleting == BareDelete::Content && !IsVisitedPage(*record()))) {
            DeleteUrlCacheEntryA(record()->lpszSourceUrlName);
        }
    }
    if (walk != nullptr) FindCloseUrlCache(walk);
    return met;
}

// brumix.exe's command runner as the executable calls it, over the same stores, its output
// kept only so that the count can be checked.
class KeptOutput final : public Console {
public:
    std::string out;
    void Write(Stream stream, std::string_view utf8) override {
        if (stream == Stream::Out) out.append(utf8);
    }
    void Flush() override {}
    std::uint32_t OutputFailure() override { return 0; }
    bool ErrorIsConsole() override { return false; }
    void SetProgress(std::string_view) override {}
    std::uint64_t NowMs() override { return 0; }
};

// The command's standard output, empty when it did not exit with 0.
std::string RunCli(WineDialog& wine, const std::vector<std::string>& args) {
    KeptOutput output;
    StopFlag stop;
    CliContext context{wine.Services(), output, stop, [](std::string_view ansi) { return std::string(ansi); }, "bench"};
    return RunBrumix(args, context) == 0 ? output.out : std::string();
}

std::string Counts(int files, int visited) {
    return "Cached Files: " + std::to_string(files) +
           "\nCookies: 0\nURLs In History: 0\nPages Visited: " + std::to_string(visited) + "\n";
}

std::string Deleted(int files, int visited) {
    return "Cached Files deleted: " + std::to_string(files) +
           "\nCookies deleted: 0\nURLs In History deleted: 0\nPages Visited deleted: " + std::to_string(visited) + "\n";
}

// One whole brumix.exe count, start-up and exit included, its output thrown away.
bool RunCliProcess(const std::string& exe) {
    std::string line = "\"" + exe + "\" count";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
        return false;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == 0;
}

int CountedBySweep(WineDialog& wine) {
    const std::string& text = wine.Text(IDC_CACHED_COUNT);
    return std::atoi(text.c_str() + std::strlen("Cached Files: "));
}

bool IsSeededAsVisited(int i, int visitedEvery) {
    return visitedEvery > 0 && i % visitedEvery == visitedEvery - 1;
}

// A page visited already there is committed again, which replaces it.
void SeedOrExit(int entries, int visitedEvery) {
    for (int i = 0; i < entries; ++i) {
        const std::string page = "http://bench.brumix.example/" + std::to_string(i);
        const bool seeded = IsSeededAsVisited(i, visitedEvery) ? CommitVisitedPage("Visited: bench@" + page + ".htm")
                                                               : CommitEntry(page + ".gif");
        if (!seeded) {
            std::fprintf(stderr, "seeding failed at entry %d (error %lu)\n", i, GetLastError());
            std::exit(1);
        }
    }
}

void CheckOrExit(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

struct Series {
    std::vector<Timing> sweep;
    std::vector<Timing> bare;
};

// Each round runs both, alternating which goes first, so that a drift in the machine's speed
// falls on both alike.
void Interleave(int rounds, Series& series, const std::function<Timing()>& sweep, const std::function<Timing()>& bare) {
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            series.sweep.push_back(sweep());
            series.bare.push_back(bare());
        } else {
            series.bare.push_back(bare());
            series.sweep.push_back(sweep());
        }
    }
}

double MedianOf(const std::vector<Timing>& timings, double Timing::*field) {
    std::vector<double> values;
    for (const Timing& t : timings) values.push_back(t.*field);
    return Median(values);
}

// informational: a series with no target, whose CPU time is not all in this process.
void Report(const char* what, const Series& series, bool informational = false) {
    std::printf("%s, sweep/bare wall ms per round:", what);
    for (std::size_t i = 0; i < series.sweep.size(); ++i) {
        std::printf(" %.0f/%.0f", series.sweep[i].wallMs, series.bare[i].wallMs);
    }
    const double sweepWall = MedianOf(series.sweep, &Timing::wallMs);
    const double bareWall = MedianOf(series.bare, &Timing::wallMs);
    const double wall = sweepWall / bareWall;
    if (informational) {
        std::printf("\n  median wall: run %.1f ms, bare %.1f ms, ratio %.3f (for information)\n", sweepWall, bareWall,
                    wall);
        return;
    }
    const double cpu = MedianOf(series.sweep, &Timing::cpuMs) / MedianOf(series.bare, &Timing::cpuMs);
    std::printf("\n  median wall: sweep %.1f ms, bare %.1f ms, ratio %.3f (target <= %.2f: %s)\n", sweepWall, bareWall,
                wall, kTarget, wall <= kTarget ? "met" : "NOT MET");
    std::printf("  median process CPU: sweep %.1f ms, bare %.1f ms, ratio %.3f\n",
                MedianOf(series.sweep, &Timing::cpuMs), MedianOf(series.bare, &Timing::cpuMs), cpu);
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--entries") == 0) {
            options.entries = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            options.rounds = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--visited-every") == 0) {
            options.visitedEvery = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--cli") == 0) {
            // A Unix path from the script names the same file through drive Z:.
            options.cli = ToWindowsPath(argv[i + 1]);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.entries > 0 && options.rounds > 0 && options.visitedEvery >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: cache_bench [--entries N] [--rounds R] [--visited-every K] [--cli PATH-TO-brumix.exe]\n");
        return 2;
    }
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "REFUSING TO RUN, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    // The cookie folder belongs to the other family; only the cache walk is measured.
    g_bIsNT = 1;
    WineDialog wine;
    const int n = options.entries;
    int visited = 0;
    for (int i = 0; i < n; ++i) visited += IsSeededAsVisited(i, options.visitedEvery) ? 1 : 0;
    const int files = n - visited;
    const auto seed = [&] { SeedOrExit(n, options.visitedEvery); };

    CheckOrExit(ClearCache(), "the cache could not be emptied before seeding");
    const Timing seeding = Time(seed);
    CheckOrExit(BareWalk(BareDelete::None) == n, "the seeded cache does not hold the entries seeded");
    CheckOrExit(TakeCensus().visited.size() == static_cast<std::size_t>(visited),
                "the seeded cache does not hold the pages visited seeded");
    std::printf("entries %d (%d of them pages visited), seeded in %.0f ms (%.3f ms each), rounds %d\n", n, visited,
                seeding.wallMs, seeding.wallMs / n, options.rounds);

    // One untimed pass of each, so that neither pays for mapping the index first.
    wine.dlg.ScanCache(1, 1);
    BareWalk(BareDelete::None);

    // The bare loop every counting variant is measured against.
    const auto bareCount = [&] {
        int met = 0;
        const Timing t = Time([&] { met = BareWalk(BareDelete::None); });
        CheckOrExit(met == n, "the bare walk miscounted");
        return t;
    };

    // The window's count, its visited-pages option off: the pages are in no counter.
    Series counting;
    Interleave(
        options.rounds, counting,
        [&] {
            const Timing t = Time([&] { wine.dlg.ScanCache(1, 1); });
            CheckOrExit(CountedBySweep(wine) == files, "the counting sweep miscounted");
            return t;
        },
        bareCount);

    RunCli(wine, {"count"});
    Series cliCounting;
    Interleave(
        options.rounds, cliCounting,
        [&] {
            std::string out;
            const Timing t = Time([&] { out = RunCli(wine, {"count"}); });
            CheckOrExit(out == Counts(files, visited), "brumix count miscounted");
            return t;
        },
        bareCount);

    // For information: the process's start and end come on top of the walk.
    Series cliProcess;
    if (!options.cli.empty()) {
        Interleave(
            options.rounds, cliProcess,
            [&] {
                bool ok = false;
                const Timing t = Time([&] { ok = RunCliProcess(options.cli); });
                CheckOrExit(ok, "brumix.exe count did not succeed");
                return t;
            },
            [&] { return Time([&] { BareWalk(BareDelete::None); }); });
    }

    // Every clearing run starts from a freshly seeded cache; the seeding is not timed. The
    // window's clear of the temporary files leaves the pages visited, and so does its bare loop.
    const auto left = [] { return static_cast<int>(CacheUrls().size()); };
    Series clearing;
    Interleave(
        options.rounds, clearing,
        [&] {
            seed();
            const Timing t = Time([&] { wine.dlg.ScanCache(1, 0); });
            CheckOrExit(CountedBySweep(wine) == files && left() == visited,
                        "the clearing sweep left other entries or miscounted");
            return t;
        },
        [&] {
            seed();
            int met = 0;
            const Timing t = Time([&] { met = BareWalk(BareDelete::Content); });
            CheckOrExit(met == n && left() == visited, "the bare clearing loop left other entries or miscounted");
            return t;
        });

    // brumix clear with every store of the cache: the pages go in the same walk as the files.
    Series cliClearing;
    Interleave(
        options.rounds, cliClearing,
        [&] {
            seed();
            std::string out;
            const Timing t = Time([&] { out = RunCli(wine, {"clear", "--temp", "--cookies", "--visited"}); });
            CheckOrExit(out == Deleted(files, visited) && left() == 0, "brumix clear left entries or miscounted");
            return t;
        },
        [&] {
            seed();
            int met = 0;
            const Timing t = Time([&] { met = BareWalk(BareDelete::Everything); });
            CheckOrExit(met == n && left() == 0, "the bare clearing loop left entries or miscounted");
            return t;
        });

    Report("counting", counting);
    Report("brumix count (in process)", cliCounting);
    if (!cliProcess.sweep.empty()) Report("brumix.exe count (whole process)", cliProcess, true);
    Report("clearing", clearing);
    Report("brumix clear --temp --cookies --visited (in process)", cliClearing);
    return 0;
}

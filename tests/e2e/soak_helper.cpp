// Soak run of winbrumix.exe: sniffing every second and clearing while minimised, fed by another
// process, with its handles, GDI objects and memory sampled from outside. Used by soak.sh.
//   brumix_soak_helper soak PATH-TO-winbrumix.exe MINUTES [SAMPLE-SECONDS]
//   brumix_soak_helper feed SECONDS        (the feeder that soak starts as a second process)
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <psapi.h>
#include <winternl.h>
// clang-format on

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/main_window.h"
#include "tests/support/throwaway_prefix.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace {

int Feed(int seconds) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    unsigned long n = 0;
    unsigned long failed = 0;
    while (GetTickCount64() < end) {
        for (int i = 0; i < 5; ++i) {
            failed += !CommitEntryWithFile(
                "http://soak" + std::to_string(n % 50) + ".example/" + std::to_string(n) + ".htm", "soak");
            ++n;
        }
        if (n % 25 == 0) {
            // A new domain each time, so this process's own cookie jar never resurrects a cleared entry.
            std::string url = "http://crumb" + std::to_string(n) + ".example/";
            SetPersistentCookie(url, "soak=1");
            SetTextValue(kTypedUrlsPath, "url" + std::to_string(n), url);
        }
        Sleep(200);
    }
    std::printf("feeder: %lu cache entries added, %lu failed\n", n, failed);
    return 0;
}

struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

// GetProcessHandleCount answers 0 under Wine 8; the system handle list is what Wine keeps.
long HandleCount(HANDLE process, DWORD pid, const char** source) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count) {
        *source = "GetProcessHandleCount";
        return static_cast<long>(count);
    }
    *source = "system handle list";
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &length)) ==
           static_cast<NTSTATUS>(0xC0000004L)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status) return -1;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long mine = 0;
    for (ULONG i = 0; i < table->count; ++i) mine += table->entries[i].ownerPid == pid;
    return mine;
}

// GetGuiResources is a stub under Wine 8; there every process keeps its GDI handle table at the
// place the PEB names (GdiSharedHandleTable), with 24-byte entries whose Type byte (offset 14)
// is 0 for a free slot.
long GdiCount(HANDLE process, const char** source) {
    SetLastError(0);
    DWORD count = GetGuiResources(process, GR_GDIOBJECTS);
    if (count || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        *source = "GetGuiResources";
        return static_cast<long>(count);
    }
    *source = "GDI handle table";
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length)) return -1;
    void* tableAddress = nullptr;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &tableAddress,
                           sizeof tableAddress, &got) ||
        !tableAddress) {
        return -1;
    }
    constexpr size_t kEntries = 0x10000;
    constexpr size_t kEntrySize = 24;
    std::vector<unsigned char> table(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, tableAddress, table.data(), table.size(), &got)) return -1;
    long live = 0;
    for (size_t i = 0; i < got / kEntrySize; ++i) live += table[i * kEntrySize + 14] != 0;
    return live;
}

// Entries now in the cache: stays small while the automatic clear keeps up with the feeder. A
// walk that broke off still shows what it met; -1 only when it met nothing.
long CacheEntries() {
    const CacheCensus census = TakeCensus();
    const long met = static_cast<long>(census.files.size() + census.cookies.size());
    return census.complete || met > 0 ? met : -1;
}

// Committed private memory, the place a leaking heap grows.
SIZE_T PrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

struct WindowCount {
    DWORD pid;
    long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND window, LPARAM param) {
    auto* windows = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->pid) {
        ++windows->count;
        EnumChildWindows(window, CountChild, param);
    }
    return TRUE;
}

struct Sample {
    long handles;
    long gdi;
    long windows;
    // size_t, not SIZE_T: the two differ in type on i686, and the table prints them with %zu.
    std::size_t workingSetKb;
    std::size_t privateKb;
};

int Soak(const std::string& program, int minutes, int sampleSeconds) {
    for (const auto& [name, text] : {std::pair<const char*, const char*>{"cached_urls", "1"},
                                     {"cookies", "1"},
                                     {"IE_history", "1"},
                                     {"snifTimer", "1"},
                                     {"auto_clear", "1"},
                                     {"timer", "1"},
                                     {"modal", "0"}}) {
        SetTextValue(kSettingsPath, name, text);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION app = {};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &app)) {
        std::fprintf(stderr, "soak: cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 300 && !window; ++i) {
        Sleep(100);
        window = e2e::FindMainWindow(app.dwProcessId);
    }
    int result = 0;
    if (!window) {
        std::fprintf(stderr, "soak: no main window\n");
        TerminateProcess(app.hProcess, 1);
        return 1;
    }
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (int i = 0; i < 50 && !IsIconic(window); ++i) Sleep(100);
    if (!IsIconic(window)) std::fprintf(stderr, "soak: the window did not minimise\n");

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string feedLine = std::string("\"") + self + "\" feed " + std::to_string(minutes * 60);
    PROCESS_INFORMATION feeder = {};
    if (!CreateProcessA(self, feedLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &feeder)) {
        std::fprintf(stderr, "soak: cannot start the feeder (%lu)\n", GetLastError());
        TerminateProcess(app.hProcess, 1);
        return 1;
    }

    const char* handleSource = "";
    const char* gdiSource = "";
    std::vector<Sample> samples;
    std::printf("%8s %8s %8s %8s %12s %12s %8s  %s\n", "seconds", "handles", "gdi", "windows", "working-KB",
                "private-KB", "cache", "title");
    ULONGLONG start = GetTickCount64();
    ULONGLONG end = start + static_cast<ULONGLONG>(minutes) * 60000;
    for (ULONGLONG next = start;; next += static_cast<ULONGLONG>(sampleSeconds) * 1000) {
        ULONGLONG now = GetTickCount64();
        if (next > now) Sleep(static_cast<DWORD>(next - now));
        if (WaitForSingleObject(app.hProcess, 0) != WAIT_TIMEOUT) {
            std::printf("soak: the program ended by itself\n");
            result = 1;
            break;
        }
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(app.hProcess, &memory, sizeof memory);
        WindowCount windows{app.dwProcessId, 0};
        EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
        Sample sample{HandleCount(app.hProcess, app.dwProcessId, &handleSource), GdiCount(app.hProcess, &gdiSource),
                      windows.count, static_cast<std::size_t>(memory.WorkingSetSize / 1024),
                      static_cast<std::size_t>(PrivateBytes(app.hProcess) / 1024)};
        samples.push_back(sample);
        std::printf("%8llu %8ld %8ld %8ld %12zu %12zu %8ld  %s\n", (GetTickCount64() - start) / 1000, sample.handles,
                    sample.gdi, sample.windows, sample.workingSetKb, sample.privateKb, CacheEntries(),
                    e2e::WindowText(window).c_str());
        std::fflush(stdout);
        if (GetTickCount64() >= end) break;
    }

    WaitForSingleObject(feeder.hProcess, 30000);
    TerminateProcess(feeder.hProcess, 1);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(app.hProcess, 15000) != WAIT_OBJECT_0) {
        std::printf("soak: the program did not end on the cancel command\n");
        TerminateProcess(app.hProcess, 1);
        result = 1;
    }
    std::printf("sources: handles from %s, GDI objects from %s\n", handleSource, gdiSource);
    if (samples.size() >= 3) {
        // The first sample still carries start-up; compare the second with the last.
        const Sample& first = samples[1];
        const Sample& last = samples.back();
        std::printf(
            "from the second sample to the last: handles %+ld, gdi %+ld, windows %+ld, working set %+lld KB, "
            "private %+lld KB\n",
            last.handles - first.handles, last.gdi - first.gdi, last.windows - first.windows,
            static_cast<long long>(last.workingSetKb) - static_cast<long long>(first.workingSetKb),
            static_cast<long long>(last.privateKb) - static_cast<long long>(first.privateKb));
    }
    CloseHandle(feeder.hProcess);
    CloseHandle(feeder.hThread);
    CloseHandle(app.hProcess);
    CloseHandle(app.hThread);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "brumix_soak_helper refuses to run, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "feed" && argc == 3) return Feed(std::atoi(argv[2]));
    if (mode == "soak" && (argc == 4 || argc == 5)) {
        return Soak(ToWindowsPath(argv[2]), std::max(1, std::atoi(argv[3])), argc == 5 ? std::atoi(argv[4]) : 30);
    }
    std::fprintf(stderr, "usage: brumix_soak_helper soak PATH-TO-winbrumix.exe MINUTES [SAMPLE-SECONDS]\n");
    return 2;
}

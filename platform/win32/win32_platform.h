// Every Win32 adapter over the real stores: what the window, the console program and the
// Windows-side tests build the logic over. The window and its pass runner are not here: they
// belong to the dialog host, which owns the HWND they work on.
#pragma once

#include "platform/heap.h"
#include "platform/platform_services.h"
#include "platform/win32/system_dll.h"
#include "platform/win32/win32_file_search.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system_facts.h"
#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_url_history.h"

struct Win32Platform {
    // Each program's first step, before anything loads a DLL by name: the DLL search narrowed
    // to the system folder, and wininet, which the cache needs, taken from there.
    static SystemDllFailure LoadSystemDlls() {
        SearchSystemFolderOnly();
        return Win32UrlCache::LoadWininet();
    }

    Win32UrlCache cache;
    Win32Registry registry;
    Win32FileSearch files;
    Win32SystemFacts system;
    SystemHeap heap;
    Win32UrlHistory history;

    PlatformServices Services() { return Services(heap); }
    // The real stores over another heap, such as one that counts its blocks.
    PlatformServices Services(Heap& blocks) { return {cache, registry, files, system, blocks, history}; }
};

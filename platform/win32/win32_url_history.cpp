// The browser's history over its COM object.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <urlhist.h>
// clang-format on

#include "platform/win32/win32_url_history.h"

#include "platform/win32/system_dll.h"

namespace {

using CoInitializeExCall = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeCall = void(WINAPI*)();
using CoCreateInstanceCall = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

// The object's identities, as urlhist.h declares them; written out so that no import library
// of GUIDs is linked.
constexpr CLSID kUrlHistoryClass = {0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};
constexpr IID kUrlHistoryStg2 = {0xafa0dc11, 0xc313, 0x11d0, {0x83, 0x1a, 0x00, 0xc0, 0x4f, 0xd5, 0xae, 0x38}};

struct Ole32Calls {
    CoInitializeExCall initialize = nullptr;
    CoUninitializeCall uninitialize = nullptr;
    CoCreateInstanceCall create = nullptr;
};

// ole32 and the COM runtime behind it are not imported, so that neither program pays for them at
// every start: they are loaded the first time a clear of the pages visited needs them.
const Ole32Calls* LoadOle32() {
    static const Ole32Calls calls = [] {
        Ole32Calls loaded;
        HMODULE ole32 = LoadSystemDll(L"ole32.dll");
        if (ole32 == nullptr) return loaded;
        loaded.initialize = SystemDllFunction<CoInitializeExCall>(ole32, "CoInitializeEx");
        loaded.uninitialize = SystemDllFunction<CoUninitializeCall>(ole32, "CoUninitialize");
        loaded.create = SystemDllFunction<CoCreateInstanceCall>(ole32, "CoCreateInstance");
        return loaded;
    }();
    return calls.initialize != nullptr && calls.uninitialize != nullptr && calls.create != nullptr ? &calls : nullptr;
}

}  // namespace

// COM is initialised for the call on the calling thread (the window's worker, or brumix's own),
// and left as it was after it; a thread that already has another apartment keeps it.
std::int32_t Win32UrlHistory::ClearHistory() {
    const Ole32Calls* ole32 = LoadOle32();
    if (ole32 == nullptr) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    const HRESULT initialized = ole32->initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(initialized) && initialized != RPC_E_CHANGED_MODE) return initialized;
    IUrlHistoryStg2* history = nullptr;
    HRESULT result = ole32->create(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                   reinterpret_cast<void**>(&history));
    if (SUCCEEDED(result)) {
        result = history->ClearHistory();
        history->Release();
    }
    if (SUCCEEDED(initialized)) ole32->uninitialize();
    return result;
}

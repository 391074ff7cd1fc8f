// comctl32 from the system folder alone: the window's slider, progress bar and tooltips.
#include "platform/win32/common_controls.h"

#include <commctrl.h>

namespace {

constexpr char kComctl32[] = "comctl32.dll";
constexpr char kInit[] = "InitCommonControlsEx";

}  // namespace

SystemDllFailure InitCommonControlsFromSystem(DWORD classes) {
    HMODULE dll = LoadSystemDll(L"comctl32.dll");
    if (dll == nullptr) return {kComctl32, nullptr, GetLastError()};
    auto init = SystemDllFunction<decltype(&InitCommonControlsEx)>(dll, kInit);
    if (init == nullptr) return {kComctl32, kInit, GetLastError()};
    // A class that is not registered makes the dialog fail to come up, which the start-up
    // reports by itself.
    INITCOMMONCONTROLSEX wanted{sizeof(wanted), classes};
    init(&wanted);
    return {};
}

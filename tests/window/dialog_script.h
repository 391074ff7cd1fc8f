// Runs the main dialog host modally and drives it from inside its own loop: one step per
// timer tick, each after the loop has handled what the one before posted.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog_host.h"
#include "platform/memory/memory_platform.h"
#include "res/resource.h"
#include "ui/globals.h"

using Step = std::function<void(HWND dialog)>;

// A last Escape ends the run if no step did.
class Script {
public:
    static inline Script* current = nullptr;

    explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {}

    INT_PTR Run(MainDialogHost& host) {
        host_ = &host;
        current = this;
        timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
        const INT_PTR result = host.DoModal(nullptr);
        KillTimer(nullptr, timer_);
        current = nullptr;
        return result;
    }

    // A step that holds the script back until the condition holds: a pass ends on the worker
    // in its own time. Fails the test when it does not hold within ten seconds.
    static Step Until(std::function<bool(HWND)> condition, std::string what) {
        auto ticks = std::make_shared<UINT>(0);
        return [condition = std::move(condition), what = std::move(what), ticks](HWND dialog) {
            if (condition(dialog)) return;
            if (++*ticks < kUntilLimitMs / kTickMs) {
                --current->done;
            } else {
                ADD_FAILURE() << "not within ten seconds: " << what;
            }
        };
    }

    std::size_t done = 0;

private:
    static constexpr UINT kTickMs = 30;
    static constexpr UINT kUntilLimitMs = 10000;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* script = current;
        if (script == nullptr || script->host_->Hwnd() == nullptr) return;
        const HWND dialog = script->host_->Hwnd();
        if (script->done < script->steps_.size()) {
            // Counted first: a step may open a nested loop in which the next tick arrives.
            Step step = script->steps_[script->done++];
            step(dialog);
        } else {
            PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        }
    }

    std::vector<Step> steps_;
    MainDialogHost* host_ = nullptr;
    UINT_PTR timer_ = 0;
};

class DialogHostTest : public ::testing::Test {
protected:
    DialogHostTest() {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&classes);
        g_nPulsePos = 0;
    }

    INT_PTR Run(std::vector<Step> steps) { return Run(stores.Services(), std::move(steps)); }
    INT_PTR Run(const PlatformServices& services, std::vector<Step> steps) {
        MainDialogHost host(GetModuleHandleA(nullptr), services);
        Script script(std::move(steps));
        const INT_PTR result = script.Run(host);
        stepsRun = script.done;
        return result;
    }

    static std::string Text(HWND dialog, int id) {
        char text[256] = {};
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    static int Check(HWND dialog, int id) {
        return static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
    }
    // The passes run on the worker, each in its own time.
    static Step CountShown() {
        return Script::Until([](HWND dialog) { return Text(dialog, IDC_CACHED_COUNT).rfind("Cached Files:", 0) == 0; },
                             "first count shown");
    }
    static Step ClearEnded() {
        return Script::Until([](HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; },
                             "clear ended");
    }

    MemoryPlatform stores;
    std::size_t stepsRun = 0;
};

// A named CALLBACK, not a lambda: on i686 the enumeration calls it as stdcall.
inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

inline std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

inline HWND FindThreadWindow(const char* title) {
    for (HWND hwnd : ThreadWindows()) {
        char text[128] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (IsWindowVisible(hwnd) && std::string(text) == title) return hwnd;
    }
    return nullptr;
}

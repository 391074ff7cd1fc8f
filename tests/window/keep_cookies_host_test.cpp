// The "Cookies to keep" dialog in the real host, opened from the system menu over in-memory
// stores: what its real list boxes keep across a count, and a request to close while a box of its
// own is up.
#include <atomic>
#include <string>
#include <vector>

#include "platform/memory/memory_url_cache.h"
#include "res/resource.h"
#include "settings/kept_cookies_store.h"
#include "tests/support/store_paths.h"
#include "tests/window/dialog_script.h"
#include "tests/window/forwarding_url_cache.h"

namespace {

// The in-memory cache, to which the worker itself adds a cookie and from which it deletes one at
// the start of the first walk after Change: the window's thread never touches the cache while a
// pass may run.
class ChangingUrlCache final : public ForwardingUrlCache {
public:
    explicit ChangingUrlCache(MemoryUrlCache& cache) : ForwardingUrlCache(cache), cache_(cache) {}

    void Change(std::string add, std::string remove) {
        add_ = std::move(add);
        remove_ = std::move(remove);
        armed_ = true;
    }

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override {
        if (armed_.exchange(false)) {
            cache_.Add(add_, kCookieCacheEntry);
            cache_.DeleteEntry(remove_.c_str());
        }
        return ForwardingUrlCache::FindFirstEntry(pattern, block, size);
    }

private:
    MemoryUrlCache& cache_;
    std::string add_;
    std::string remove_;
    std::atomic<bool> armed_{false};
};

// The visible window captioned "Cookies to keep" that owner owns: the dialog, or a box of its.
HWND FindOwned(HWND owner) {
    for (HWND hwnd : ThreadWindows()) {
        char text[64] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == owner && std::string(text) == "Cookies to keep") {
            return hwnd;
        }
    }
    return nullptr;
}

std::string Entry(HWND list, LRESULT index) {
    char text[256] = {};
    if (SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) >= static_cast<LRESULT>(sizeof text))
        return {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

Step OpenKeepDialog() {
    return [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, IDM_KEEP_COOKIES, 0); };
}

// With the sniffer on, a count runs every second while the user picks sites out of a list
// longer than the box: the sites chosen, the caret and the view stay on their entries.
TEST_F(DialogHostTest, KeepDialogsListStaysStillThroughACount) {
    for (int index = 0; index < 30; ++index) {
        stores.cache.Add("Cookie:ann@site" + std::string(index < 10 ? "0" : "") + std::to_string(index) + ".example/",
                         kCookieCacheEntry);
    }
    ChangingUrlCache changing(stores.cache);
    const PlatformServices services = stores.Services().WithUrlCache(changing);
    HWND found = nullptr;
    std::vector<std::string> chosen;
    std::string top;
    std::string caret;
    Run(services, {
                      CountShown(),
                      OpenKeepDialog(),
                      Script::Until(
                          [&](HWND dialog) {
                              const HWND keep = FindOwned(dialog);
                              found = keep == nullptr ? nullptr : GetDlgItem(keep, IDC_KEEP_FOUND);
                              return found != nullptr && SendMessageA(found, LB_GETCOUNT, 0, 0) == 30;
                          },
                          "the sites with cookies listed"),
                      [&](HWND) {
                          SendMessageA(found, LB_SETSEL, TRUE, 12);
                          SendMessageA(found, LB_SETSEL, TRUE, 14);
                          SendMessageA(found, LB_SETCARETINDEX, 14, FALSE);
                          SendMessageA(found, LB_SETTOPINDEX, 10, 0);
                          changing.Change("Cookie:ann@0.example/", "Cookie:ann@site29.example/");
                      },
                      // A tick that comes while a pass runs is dropped: ticks until one counts.
                      Script::Until(
                          [&](HWND dialog) {
                              if (Entry(found, 0) == "0.example") return true;
                              SendMessageA(dialog, WM_TIMER, ID_SNIFF_TIMER, 0);
                              return false;
                          },
                          "the count's sites shown"),
                      [&](HWND) {
                          int selected[8] = {};
                          const LRESULT count =
                              SendMessageA(found, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(selected));
                          for (LRESULT i = 0; i < count; ++i) chosen.push_back(Entry(found, selected[i]));
                          top = Entry(found, SendMessageA(found, LB_GETTOPINDEX, 0, 0));
                          caret = Entry(found, SendMessageA(found, LB_GETCARETINDEX, 0, 0));
                          PostMessageA(GetParent(found), WM_COMMAND, IDCANCEL, 0);
                      },
                  });
    EXPECT_EQ(chosen, (std::vector<std::string>{"site12.example", "site14.example"}));
    EXPECT_EQ(top, "site10.example");
    EXPECT_EQ(caret, "site14.example");
}

// An installer's request to close comes while the keep dialog shows a box of its own: the box and
// the dialog are dismissed as Cancel (the site added before is not written) and the run ends.
TEST_F(DialogHostTest, RequestToCloseEndsTheKeepDialogAndItsBox) {
    HWND keep = nullptr;
    HWND box = nullptr;
    bool leftStanding = false;
    const INT_PTR result = Run({
        OpenKeepDialog(),
        Script::Until([&](HWND dialog) { return (keep = FindOwned(dialog)) != nullptr; }, "the keep dialog open"),
        [&](HWND) {
            SetDlgItemTextA(keep, IDC_KEEP_TYPED, "a.example");
            SendDlgItemMessageA(keep, IDC_KEEP_ADD, BM_CLICK, 0, 0);
            SetDlgItemTextA(keep, IDC_KEEP_TYPED, "exa mple");
            PostMessageA(keep, WM_COMMAND, MAKEWPARAM(IDC_KEEP_ADD, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(keep, IDC_KEEP_ADD)));
        },
        Script::Until([&](HWND) { return (box = FindOwned(keep)) != nullptr; }, "the keep dialog's box open"),
        [](HWND dialog) { SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP); },
        Script::Until([](HWND) { return false; }, "the run ended"),
        // Only when the request left them standing: ends them, so that the run can end.
        [&](HWND) {
            leftStanding = true;
            if (IsWindow(box)) PostMessageA(box, WM_COMMAND, IDOK, 0);
            if (IsWindow(keep)) PostMessageA(keep, WM_COMMAND, IDCANCEL, 0);
        },
    });
    EXPECT_FALSE(leftStanding);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(stores.registry.HasValue(kSettingsPath, kKeepCookiesValue)) << "dismissed as OK";
}

}  // namespace

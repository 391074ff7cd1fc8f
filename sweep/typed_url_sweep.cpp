// The addresses typed into the browser's address bar: the values of the TypedURLs key.
#include <string>
#include <vector>

#include "ui/brumix_dlg.h"
#include "ui/format_text.h"
#include "ui/resource_ids.h"
#include "ui/texts.h"

namespace {

constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

class KeyGuard {
public:
    KeyGuard(Registry& registry, Registry::Key key) : registry_(registry), key_(key) {}
    ~KeyGuard() { registry_.CloseKey(key_); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

private:
    Registry& registry_;
    Registry::Key key_;
};

}  // namespace

int CBrumixDlg::ScanTypedUrls(int bCountOnly) {
    Registry::Key key{};
    if (registry_.OpenKey(kTypedUrlsKey, key) != 0) return -1;

    int count = 0;
    {
        KeyGuard keyGuard(registry_, key);
        window_.ListReset(IDC_URL_LIST);
        // Room for the longest name the registry allows, and no data asked for: a long
        // address must not end the listing and hide the values after it.
        std::vector<char> name(kMaxValueNameChars + 1);
        for (std::uint32_t index = 0;; ++index) {
            auto chars = static_cast<std::uint32_t>(name.size());
            if (registry_.EnumValueName(key, index, name.data(), chars) != 0) break;
            window_.ListAdd(IDC_URL_LIST, std::string(name.data()));
        }
        count = window_.ListCount(IDC_URL_LIST);

        if (bCountOnly != 1) {
            // The names are taken out of the list before the first deletion, so that a sweep
            // run while a box below is open cannot change which values this one deletes.
            std::vector<std::string> listed;
            listed.reserve(static_cast<std::size_t>(count));
            for (int position = 0; position < count; ++position) listed.push_back(window_.ListText(IDC_URL_LIST, position));
            for (const std::string& valueName : listed) {
                if (registry_.DeleteValue(key, valueName) != 0) window_.ShowMessageBox(kNotDeleted, valueName, kMbOk);
            }
        }
    }

    window_.SetControlText(IDC_HISTORY_COUNT, FormatText(kHistoryCountFormat, count));
    ShowFound(count != 0);
    return count;
}

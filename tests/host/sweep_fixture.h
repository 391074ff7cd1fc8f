// The engine's sweeps over fresh stand-ins with no window at all, and a recorder of what their
// observer hears and when.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"
#include "sweep/store_sweep.h"
#include "tests/support/left_open.h"
#include "tests/support/store_paths.h"

inline constexpr char kCookieFolder[] = "C:\\WINDOWS\\Cookies";
inline const CookieFolderPlace kWin98{false, "C:\\WINDOWS"};
inline const CookieFolderPlace kNt{true, "C:\\WINDOWS"};

// Writes down every call as "visit STORE NAME", "kept STORE NAME" (not deleted), "pending STORE
// NAME", "keep STORE NAME" (on the list of cookies to keep), "list unreadable" or "typed done" /
// "cache done", and can stop after a given number of visits.
class Recorder : public StoreSweepObserver {
public:
    std::vector<std::string> heard;
    int stopAfterVisits = -1;
    std::function<void(const SweepItem&)> whileNotDeleted;
    std::function<void(std::vector<std::string>&)> orderTyped;

    bool StopRequested() override { return stopAfterVisits >= 0 && visits_ >= stopAfterVisits; }
    void OnVisit(const SweepItem& item) override {
        ++visits_;
        heard.push_back("visit " + StoreName(item.store) + " " + std::string(item.name));
    }
    void OnNotDeleted(const SweepItem& item) override {
        heard.push_back("kept " + StoreName(item.store) + " " + std::string(item.name));
        if (whileNotDeleted) whileNotDeleted(item);
    }
    void OnDeletePending(const SweepItem& item) override {
        heard.push_back("pending " + StoreName(item.store) + " " + std::string(item.name));
    }
    void OnKept(const SweepItem& item) override {
        heard.push_back("keep " + StoreName(item.store) + " " + std::string(item.name));
    }
    void OnKeptListUnreadable() override { heard.emplace_back("list unreadable"); }
    void OnTypedUrlsListed(std::vector<std::string>& names) override {
        if (orderTyped) orderTyped(names);
    }
    void OnTypedUrlsSwept(const TypedUrlResult&) override { heard.emplace_back("typed done"); }
    void OnCacheSwept(const CacheSweepResult&) override { heard.emplace_back("cache done"); }

private:
    static std::string StoreName(Store store) {
        static const std::array<const char*, 5> kNames{"cache", "cookie", "file", "typed", "visited"};
        return kNames.at(static_cast<std::size_t>(store));
    }
    int visits_ = 0;
};

class SweepTest : public ::testing::Test {
protected:
    SweepTest() {
        p.files.AddFolder("C:\\WINDOWS");
        p.files.AddFolder(kCookieFolder);
    }
    void SeedTyped(std::initializer_list<const char*> names) {
        p.registry.AddKey(kTypedUrlsPath);
        for (const char* name : names) p.registry.SetText(kTypedUrlsPath, name, std::string("http://") + name + "/");
    }
    void ExpectNothingOpen() { EXPECT_EQ(LeftOpen(p), ""); }
    // The list of cookies to keep, as the settings hold it.
    void KeepSites(std::initializer_list<std::string> sites) {
        std::vector<std::uint8_t> data;
        for (const std::string& site : sites) {
            data.insert(data.end(), site.begin(), site.end());
            data.push_back(0);
        }
        data.push_back(0);
        p.registry.SetValue(kSettingsPath, "keep_cookies", kRegMultiSz, data);
    }

    MemoryPlatform p;
    Recorder recorder;
};

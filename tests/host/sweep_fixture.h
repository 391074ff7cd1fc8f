// The engine's sweeps over fresh stand-ins with no window at all, and a recorder of what their
// observer hears and when.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"
#include "settings/kept_cookies_store.h"
#include "sweep/sweep.h"
#include "tests/support/left_open.h"
#include "tests/support/store_paths.h"

inline constexpr char kCookieFolder[] = "C:\\WINDOWS\\Cookies";
inline const CookieFolderPlace kWin98{.isNt = false, .windowsDir = "C:\\WINDOWS"};
inline const CookieFolderPlace kNt{.isNt = true, .windowsDir = "C:\\WINDOWS"};

// Writes down every call as "visit STORE NAME" (STORE as StoreName gives it), "stayed STORE NAME"
// (not deleted), "pending STORE NAME", "kept STORE NAME" (on the list of cookies to keep), "list
// unreadable" or "swept KIND", and can stop after a given number of visits.
class Recorder : public SweepObserver {
public:
    std::vector<std::string> heard;
    int stopAfterVisits = -1;
    std::function<void(const SweepItem&)> whileStayed;
    std::function<void(std::vector<std::string>&)> orderTyped;

    bool StopRequested() override { return stopAfterVisits >= 0 && visits_ >= stopAfterVisits; }
    void OnVisit(const SweepItem& item) override {
        ++visits_;
        heard.push_back("visit " + Name(item));
    }
    void OnStayed(const SweepItem& item) override {
        heard.push_back("stayed " + Name(item));
        if (whileStayed) whileStayed(item);
    }
    void OnDeletePending(const SweepItem& item) override { heard.push_back("pending " + Name(item)); }
    void OnKept(const SweepItem& item) override { heard.push_back("kept " + Name(item)); }
    void OnKeptListUnreadable() override { heard.emplace_back("list unreadable"); }
    void OnTypedUrlsListed(std::vector<std::string>& names) override {
        if (orderTyped) orderTyped(names);
    }
    void OnKindSwept(Kind kind, const SweepResult&) override {
        heard.push_back(std::string("swept ") + KindName(kind));
    }

    // A switch over every kind, so that a kind added without a name here does not build.
    static const char* KindName(Kind kind) {
        switch (kind) {
            case Kind::CachedFiles:
                return "cached";
            case Kind::Cookies:
                return "cookies";
            case Kind::TypedUrls:
                return "typed";
            case Kind::VisitedPages:
                return "visited";
        }
        return "?";
    }

private:
    static std::string Name(const SweepItem& item) { return StoreName(item.store) + (" " + std::string(item.name)); }
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
    // A pass over the stand-ins, the list of cookies to keep read from their settings.
    SweepResult Run(KindSet kinds, bool deleteItems, const CookieFolderPlace& place = kWin98,
                    SourceSet sources = SourceSet::All()) {
        return Sweep(p.Services(),
                     {.kinds = kinds,
                      .deleteItems = deleteItems,
                      .sources = sources,
                      .cookieFolder = place,
                      .keptList = [this] { return ReadKeptCookiesValue(p.registry); }},
                     recorder);
    }
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

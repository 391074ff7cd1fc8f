// What the tests of the other browsers' passes share: an observer that records what it is told,
// the stand-in services with the user's folders set, and each kind's figures as one array.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/memory/memory_databases.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/memory_user_folders.h"
#include "sweep/browser_sweep.h"
#include "sweep/sweep_observer.h"
#include "tests/support/chromium_fixture.h"

class BrowserRecorder : public SweepObserver {
public:
    std::vector<std::string> visited;
    std::vector<std::string> kept;
    std::vector<std::string> stayed;
    int stopAfterVisits = -1;

    bool StopRequested() override {
        return stopAfterVisits >= 0 && static_cast<int>(visited.size()) >= stopAfterVisits;
    }
    void OnVisit(const SweepItem& item) override { visited.emplace_back(item.name); }
    void OnKept(const SweepItem& item) override { kept.emplace_back(item.name); }
    void OnStayed(const SweepItem& item) override { stayed.emplace_back(item.name); }
};

class BrowserSweepFixture : public ::testing::Test {
protected:
    BrowserSweepFixture(const std::string& local, const std::string& roaming) {
        folders.paths[UserFolder::LocalAppData] = local;
        folders.paths[UserFolder::RoamingAppData] = roaming;
    }
    void TearDown() override {
        EXPECT_EQ(files.OpenListings(), 0);
        EXPECT_EQ(databases.OpenConnections(), 0);
    }

    std::string File(const std::string& path) { return files.ReadFile(path).value_or("<missing>"); }
    std::int64_t Rows(const std::string& path, std::string_view query) { return CountIn(File(path), query); }
    static std::array<int, kKindCount> Found(const BrowserResult& r) {
        return {r.counts.tallies[0].found, r.counts.tallies[1].found, r.counts.tallies[2].found,
                r.counts.tallies[3].found};
    }
    static std::array<int, kKindCount> Deleted(const BrowserResult& r) {
        return {r.counts.tallies[0].deleted, r.counts.tallies[1].deleted, r.counts.tallies[2].deleted,
                r.counts.tallies[3].deleted};
    }

    Faults faults;
    MemoryUserFolders folders;
    MemoryProfileFiles files{faults};
    MemoryDatabases databases{files, faults};
    BrowserServices services{folders, files, databases};
    KeepCookie keep;
    BrowserRecorder recorder;
};

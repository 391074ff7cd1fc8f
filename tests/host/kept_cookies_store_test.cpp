// The list of cookies to keep in the settings: no list, a list read whole, the ways it is
// unreadable, and the bytes written back. What a string must be to be a site is cookie_keep's.
#include "settings/kept_cookies_store.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "tests/support/store_paths.h"

namespace {

using State = KeptCookieList::State;
using Bytes = std::vector<std::uint8_t>;

Bytes MultiSz(const std::vector<std::string>& strings) {
    Bytes data;
    for (const std::string& s : strings) {
        data.insert(data.end(), s.begin(), s.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

class KeptCookiesStoreTest : public ::testing::Test {
protected:
    void Store(const Bytes& data, std::uint32_t type = kRegMultiSz) {
        p.registry.SetValue(kSettingsPath, "keep_cookies", type, data);
    }
    KeptCookieList Read() { return ReadKeptCookieList(p.registry); }

    MemoryPlatform p;
};

TEST_F(KeptCookiesStoreTest, NoKeyOrNoValueIsNoList) {
    EXPECT_EQ(Read().state, State::NoList);
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(Read().state, State::NoList);
}

// Far larger than the first room, so the read grows its buffer; a registry that says once that
// there is more than it then gives does not stop it, one that always does ends it.
TEST_F(KeptCookiesStoreTest, AListIsReadWholeWhateverItsSize) {
    std::vector<std::string> sites;
    for (int i = 0; i < 400; ++i) sites.push_back("site" + std::to_string(1000 + i) + ".example");
    Store(MultiSz(sites));
    p.faults.FailCall("RegQueryValueEx", kErrorMoreData);
    const KeptCookieList list = Read();
    ASSERT_EQ(list.state, State::List);
    EXPECT_EQ(list.sites.Sites(), sites);

    p.faults.FailCall("RegQueryValueEx", kErrorMoreData, 1, 0);
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

TEST_F(KeptCookiesStoreTest, AValueOfAnotherTypeNoListOfSitesOrARefusedReadIsUnreadable) {
    Store({'a', '.', 'b', 0}, kRegSz);
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().type, kRegSz);
    Store(MultiSz({"Bank.example"}));
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().status, 0);

    Store(MultiSz({"bank.example"}));
    p.faults.Clear();
    p.faults.FailCall("RegQueryValueEx", kErrorNotEnoughMemory);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorNotEnoughMemory));
    p.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

// The key is made for a list; an empty list deletes the value, so it reads back as no list.
TEST_F(KeptCookiesStoreTest, WriteStoresTheSortedSitesAsRegMultiSzAndAnEmptyListAsNoValue) {
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_FALSE(p.registry.HasKey(kSettingsPath));

    KeptSites sites;
    sites.Add("www.bank.example");
    sites.Add("10.0.0.1");
    ASSERT_EQ(WriteKeptCookieList(p.registry, sites), 0);
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "keep_cookies"), kRegMultiSz);
    EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "keep_cookies"), MultiSz({"10.0.0.1", "www.bank.example"}));
    EXPECT_EQ(Read().sites, sites);

    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_EQ(p.registry.ValueNames(kSettingsPath), std::vector<std::string>{"cookies"});
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

TEST_F(KeptCookiesStoreTest, AWriteThatFailsSaysHowAndLeavesTheValueAsItWas) {
    Store(MultiSz({"bank.example"}));
    KeptSites other;
    other.Add("mail.example");
    for (const char* call : {"RegCreateKeyEx", "RegSetValueEx", "RegDeleteValue"}) {
        p.faults.Clear();
        p.faults.FailCall(call, kErrorAccessDenied);
        const KeptSites& written = std::string(call) == "RegDeleteValue" ? KeptSites{} : other;
        EXPECT_EQ(WriteKeptCookieList(p.registry, written), static_cast<std::int32_t>(kErrorAccessDenied)) << call;
        EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "keep_cookies"), MultiSz({"bank.example"})) << call;
    }
}

}  // namespace

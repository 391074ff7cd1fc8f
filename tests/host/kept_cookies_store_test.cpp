// The list of cookies to keep in the settings: no list, a list read whole, the ways it is
// unreadable, and the bytes written back. What a string must be to be a site is cookie_keep's.
#include "settings/kept_cookies_store.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "tests/support/store_paths.h"

namespace {

using namespace std::string_view_literals;
using State = KeptCookieList::State;
using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

class KeptCookiesStoreTest : public ::testing::Test {
protected:
    void Store(const Bytes& data, std::uint32_t type = kRegMultiSz) {
        p.registry.SetValue(kSettingsPath, "keep_cookies", type, data);
    }
    Bytes Stored() const { return p.registry.ValueBytes(kSettingsPath, "keep_cookies"); }
    KeptCookieList Read() { return ReadKeptCookieList(p.registry); }
    void TearDown() override { EXPECT_EQ(p.registry.OpenKeys(), 0); }

    MemoryPlatform p;
};

// No key or no value is no list; another type, strings that are no list of sites, a read or a key
// that is refused make it unreadable.
TEST_F(KeptCookiesStoreTest, NoValueIsNoListAndOneThatCannotBeTakenForAListIsUnreadable) {
    EXPECT_EQ(Read().state, State::NoList);
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(Read().state, State::NoList);

    Store(Of("a.b\0"sv), kRegSz);
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().type, kRegSz);
    Store(Of("Bank.example\0\0"sv));
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().status, 0);

    Store(Of("bank.example\0\0"sv));
    p.faults.Clear();
    p.faults.FailCall("RegQueryValueEx", kErrorNotEnoughMemory);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorNotEnoughMemory));
    p.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(Read().state, State::Unreadable);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorAccessDenied));
}

// Far larger than the first room, so the read grows its buffer; a registry that says once that
// there is more than it then gives does not stop it, one that always does ends it.
TEST_F(KeptCookiesStoreTest, AListIsReadWholeWhateverItsSize) {
    KeptSites sites;
    for (int i = 1000; i < 1400; ++i) sites.Add("site" + std::to_string(i) + ".example");
    Store(sites.MultiSz());
    p.faults.FailCall("RegQueryValueEx", kErrorMoreData);
    const KeptCookieList list = Read();
    ASSERT_EQ(list.state, State::List);
    EXPECT_EQ(list.sites, sites);

    p.faults.FailCall("RegQueryValueEx", kErrorMoreData, 1, 0);
    EXPECT_EQ(Read().state, State::Unreadable);
}

// The key is made for a list; an empty list deletes the value, so it reads back as no list. A
// write that fails says how and leaves the value as it was.
TEST_F(KeptCookiesStoreTest, WriteStoresTheSortedSitesAsRegMultiSzAndAnEmptyListAsNoValue) {
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_FALSE(p.registry.HasKey(kSettingsPath));
    ASSERT_EQ(WriteKeptCookieList(p.registry, *KeptSites::Read({"www.bank.example", "10.0.0.1"})), 0);
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "keep_cookies"), kRegMultiSz);
    const Bytes written = Of("10.0.0.1\0www.bank.example\0\0"sv);
    EXPECT_EQ(Stored(), written);

    // Opening the key and deleting the value are an empty list's.
    for (const char* call : {"RegCreateKeyEx", "RegSetValueEx", "RegOpenKeyEx", "RegDeleteValue"}) {
        p.faults.Clear();
        p.faults.FailCall(call, kErrorAccessDenied);
        const bool empty = std::string(call) == "RegOpenKeyEx" || std::string(call) == "RegDeleteValue";
        EXPECT_EQ(WriteKeptCookieList(p.registry, empty ? KeptSites{} : *KeptSites::Read({"a.example"})),
                  static_cast<std::int32_t>(kErrorAccessDenied))
            << call;
        EXPECT_EQ(Stored(), written) << call;
    }
    p.faults.Clear();
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_EQ(p.registry.ValueNames(kSettingsPath), std::vector<std::string>{"cookies"});
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0) << "no value to delete";
}

}  // namespace

// The list of cookies to keep in the settings: no list, a list read whole, each way it is
// unreadable, and the bytes written back.
#include "settings/kept_cookies_store.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "tests/support/store_paths.h"

namespace {

using State = KeptCookieList::State;
using Bytes = std::vector<std::uint8_t>;

Bytes MultiSz(std::initializer_list<std::string> strings) {
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
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

// Far larger than the first room, so the read grows its buffer; a registry that says once that
// there is more than it then gives does not stop it either.
TEST_F(KeptCookiesStoreTest, AListIsReadWholeWhateverItsSize) {
    std::vector<std::string> sites;
    Bytes data;
    for (int i = 0; i < 400; ++i) {
        sites.push_back("site" + std::to_string(1000 + i) + ".example");
        data.insert(data.end(), sites.back().begin(), sites.back().end());
        data.push_back(0);
    }
    data.push_back(0);
    Store(data);
    p.faults.FailCall("RegQueryValueEx", kErrorMoreData);
    const KeptCookieList list = Read();
    ASSERT_EQ(list.state, State::List);
    EXPECT_EQ(list.sites.Sites(), sites);
    EXPECT_EQ(p.registry.OpenKeys(), 0);

    p.faults.FailCall("RegQueryValueEx", kErrorMoreData, 1, 0);
    EXPECT_EQ(Read().state, State::Unreadable) << "a registry that always asks for more";
}

TEST_F(KeptCookiesStoreTest, AValueThatIsThereButNoListOfSitesIsUnreadable) {
    const struct {
        const char* what;
        Bytes data;
        std::uint32_t type;
    } cases[] = {
        {"a REG_SZ", {'a', '.', 'b', 0}, kRegSz},
        {"a REG_DWORD", {1, 0, 0, 0}, kRegDword},
        {"upper case", MultiSz({"Bank.example"}), kRegMultiSz},
        {"an empty string between two", MultiSz({"a.example", "", "b.example"}), kRegMultiSz},
        {"a URL", MultiSz({"https://bank.example/"}), kRegMultiSz},
        {"a byte outside ASCII", MultiSz({"caf\xE9.example"}), kRegMultiSz},
    };
    for (const auto& c : cases) {
        Store(c.data, c.type);
        const KeptCookieList list = Read();
        EXPECT_EQ(list.state, State::Unreadable) << c.what;
        EXPECT_EQ(list.status, 0) << c.what;
        EXPECT_EQ(list.type, c.type) << c.what;
    }
    Store(MultiSz({}));
    EXPECT_EQ(Read().state, State::List) << "no strings: a list that keeps nothing";
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

TEST_F(KeptCookiesStoreTest, AKeyThatCannotBeOpenedOrAValueThatCannotBeReadIsUnreadable) {
    Store(MultiSz({"bank.example"}));
    for (const char* call : {"RegOpenKeyEx", "RegQueryValueEx"}) {
        for (std::uint32_t error : {kErrorAccessDenied, kErrorNotEnoughMemory}) {
            p.faults.Clear();
            p.faults.FailCall(call, error);
            const KeptCookieList list = Read();
            EXPECT_EQ(list.state, State::Unreadable) << call << " " << error;
            EXPECT_EQ(list.status, static_cast<std::int32_t>(error)) << call;
        }
    }
    p.faults.Clear();
    p.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

TEST_F(KeptCookiesStoreTest, WriteStoresTheSortedSitesAsRegMultiSzCreatingTheKey) {
    KeptSites sites;
    sites.Add("www.bank.example");
    sites.Add("10.0.0.1");
    ASSERT_EQ(WriteKeptCookieList(p.registry, sites), 0);
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "keep_cookies"), kRegMultiSz);
    EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "keep_cookies"), MultiSz({"10.0.0.1", "www.bank.example"}));
    const KeptCookieList back = Read();
    EXPECT_EQ(back.state, State::List);
    EXPECT_EQ(back.sites, sites);
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

// An empty list reads back as no list, with no value left behind and no key made for it.
TEST_F(KeptCookiesStoreTest, WritingAnEmptyListDeletesTheValue) {
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_FALSE(p.registry.HasKey(kSettingsPath));

    Store(MultiSz({"bank.example"}));
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), 0);
    EXPECT_EQ(p.registry.ValueNames(kSettingsPath), std::vector<std::string>{"cookies"});
    EXPECT_EQ(Read().state, State::NoList);
}

TEST_F(KeptCookiesStoreTest, AWriteThatFailsSaysHowAndLeavesTheValueAsItWas) {
    Store(MultiSz({"bank.example"}));
    KeptSites other;
    other.Add("mail.example");
    for (const char* call : {"RegCreateKeyEx", "RegSetValueEx"}) {
        p.faults.Clear();
        p.faults.FailCall(call, kErrorAccessDenied);
        EXPECT_EQ(WriteKeptCookieList(p.registry, other), static_cast<std::int32_t>(kErrorAccessDenied)) << call;
        EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "keep_cookies"), MultiSz({"bank.example"})) << call;
    }
    p.faults.Clear();
    p.faults.FailCall("RegDeleteValue", kErrorAccessDenied);
    EXPECT_EQ(WriteKeptCookieList(p.registry, KeptSites{}), static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_TRUE(p.registry.HasValue(kSettingsPath, "keep_cookies"));
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

}  // namespace

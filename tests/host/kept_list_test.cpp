// The list of cookies to keep as stored: the bytes taken for a list or found unreadable, and the
// one way to change it, which never writes over a list it cannot read.
#include "sweep/kept_list.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using namespace std::string_view_literals;
using State = KeptCookieList::State;
using Bytes = std::vector<std::uint8_t>;

RegistryValue Value(std::string_view bytes, std::uint32_t type = kRegMultiSz, std::int32_t status = 0) {
    return RegistryValue{status, type, Bytes(bytes.begin(), bytes.end())};
}

TEST(KeptList, NoValueIsNoListAndOneThatCannotBeTakenForAListIsUnreadable) {
    EXPECT_EQ(ParseKeptCookieList(RegistryValue{}).state, State::NoList);
    EXPECT_EQ(ReadKeptList({}).state, State::NoList) << "nothing to read from";

    const KeptCookieList refused = ParseKeptCookieList(Value("", 0, 5));
    EXPECT_EQ(refused.state, State::Unreadable);
    EXPECT_EQ(refused.status, 5);
    const KeptCookieList text = ParseKeptCookieList(Value("a.b\0"sv, kRegSz));
    EXPECT_EQ(text.state, State::Unreadable);
    EXPECT_EQ(text.type, kRegSz);
    const KeptCookieList noSite = ParseKeptCookieList(Value("Bank.example\0\0"sv));
    EXPECT_EQ(noSite.state, State::Unreadable);
    EXPECT_EQ(noSite.status, 0);

    const KeptCookieList list = ParseKeptCookieList(Value("www.bank.example\0\0"sv));
    ASSERT_EQ(list.state, State::List);
    EXPECT_EQ(list.sites.Sites(), std::vector<std::string>{"www.bank.example"});
}

// What is written is what the change left, as the value's bytes; a list that keeps nothing is
// no bytes, which the settings take for deleting the value.
TEST(KeptList, AChangeIsWrittenOnlyWhenItChangedSomethingAndAnEmptyListAsNoBytes) {
    RegistryValue stored = Value("bank.example\0\0"sv);
    std::vector<Bytes> writes;
    const KeptListRead read = [&] { return stored; };
    const KeptListWrite write = [&](std::span<const std::uint8_t> bytes) {
        writes.emplace_back(bytes.begin(), bytes.end());
        return 0;
    };

    const KeptListChange same = ChangeKeptList(
        read, [](KeptSites& sites) { return sites.Add("bank.example"); }, write);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(same.after.Sites(), std::vector<std::string>{"bank.example"});

    ChangeKeptList(
        read, [](KeptSites& sites) { return sites.Add("a.example"); }, write);
    ChangeKeptList(
        read, [](KeptSites& sites) { return sites.Remove("bank.example"); }, write);
    const std::string_view both = "a.example\0bank.example\0\0"sv;
    EXPECT_EQ(writes, (std::vector<Bytes>{Bytes(both.begin(), both.end()), Bytes{}}));

    const KeptListChange refused = ChangeKeptList(
        read, [](KeptSites& sites) { return sites.Add("a.example"); }, [](std::span<const std::uint8_t>) { return 5; });
    EXPECT_EQ(refused.writeStatus, 5);
}

// It may hold a site the user keeps: neither changed nor written over.
TEST(KeptList, AListThatCannotBeReadIsNeverWrittenOver) {
    bool changed = false;
    bool written = false;
    const KeptListChange change = ChangeKeptList([] { return Value("bank.example\0"sv, kRegSz); },
                                                 [&](KeptSites&) {
                                                     changed = true;
                                                     return true;
                                                 },
                                                 [&](std::span<const std::uint8_t>) {
                                                     written = true;
                                                     return 0;
                                                 });
    EXPECT_TRUE(change.before.Unreadable());
    EXPECT_FALSE(changed);
    EXPECT_FALSE(written);
}

}  // namespace

// The settings written and read back through Wine's real registry.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "res/resource.h"
#include "settings/kept_cookies_store.h"
#include "settings/settings_store.h"
#include "sweep/kept_list.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_registry.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kSettingsPath); }
    void TearDown() override { DeleteKeyTree(kSettingsPath); }

    std::string Read(const char* name) { return ReadSetting(registry, name); }

    Win32Registry registry;
};

TEST_F(SettingsTest, SavedStatesComeBackThroughRestore) {
    WineDialog closing;
    closing.window.SliderSetRange(IDC_INTERVAL, 1, 60);
    closing.window.SliderSetPos(IDC_INTERVAL, 45);
    closing.window.SetCheck(IDC_TEMP_FILES, 1);
    closing.window.SetCheck(IDC_COOKIES, 1);
    closing.window.SetCheck(IDC_ON_TOP, 1);
    closing.dlg.SaveSettings();

    EXPECT_EQ(Read("cached_urls"), "1");
    EXPECT_EQ(Read("cookies"), "1");
    EXPECT_EQ(Read("IE_history"), "0");
    EXPECT_EQ(Read("snifTimer"), "0");
    EXPECT_EQ(Read("auto_clear"), "0");
    EXPECT_EQ(Read("timer"), "45");
    EXPECT_EQ(Read("modal"), "1");

    WineDialog starting;
    starting.window.SliderSetRange(IDC_INTERVAL, 1, 60);
    starting.dlg.RestoreSettings();
    EXPECT_EQ(starting.window.GetCheck(IDC_TEMP_FILES), 1);
    EXPECT_EQ(starting.window.GetCheck(IDC_COOKIES), 1);
    EXPECT_TRUE(starting.window.control(IDC_COOKIES).enabled);
    EXPECT_EQ(starting.window.GetCheck(IDC_HISTORY), 0);
    EXPECT_EQ(starting.window.SliderGetPos(IDC_INTERVAL), 45);
    EXPECT_TRUE(starting.window.Topmost());
    EXPECT_EQ(starting.Text(IDC_STATUS), "Sniffer Timer OFF");
}

TEST_F(SettingsTest, EachValueIsItsTextAndOneNulAsRegSz) {
    WineDialog closing;
    closing.window.SliderSetRange(IDC_INTERVAL, 1, 60);
    closing.window.SliderSetPos(IDC_INTERVAL, 45);
    closing.dlg.SaveSettings();

    const std::optional<RegValue> timer = ReadValue(kSettingsPath, "timer");
    ASSERT_TRUE(timer.has_value());
    EXPECT_EQ(timer->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(timer->data, (std::vector<std::uint8_t>{'4', '5', 0}));
    for (const char* name : {"cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "modal", "visited"}) {
        const std::optional<RegValue> value = ReadValue(kSettingsPath, name);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_EQ(value->data, (std::vector<std::uint8_t>{'0', 0})) << name;
    }
    EXPECT_EQ(ReadValue(kSettingsPath, "browsers")->data, (std::vector<std::uint8_t>{0})) << "none installed";
    EXPECT_EQ(ValueNames(kSettingsPath).size(), 9u);
}

TEST_F(SettingsTest, MissingKeyAndMissingValueReadAsTheSentinel) {
    EXPECT_EQ(Read("cached_urls"), kKeyNotOpen);
    ASSERT_EQ(SetTextValue(kSettingsPath, "cookies", "1"), ERROR_SUCCESS);
    EXPECT_EQ(Read("cached_urls"), kKeyNotOpen);
    EXPECT_EQ(Read("cookies"), "1");
}

TEST_F(SettingsTest, ValueOfAnotherTypeReadsAsItsBytesAndRestoresUnchecked) {
    ASSERT_EQ(SetRawValue(kSettingsPath, L"cached_urls", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(Read("cached_urls"), "\x01");

    WineDialog starting;
    starting.window.SetCheck(IDC_TEMP_FILES, 1);
    starting.dlg.RestoreSettings();
    EXPECT_EQ(starting.window.GetCheck(IDC_TEMP_FILES), 0);
    EXPECT_EQ(starting.Text(IDC_STATUS), "Keep Temporary Files");
}

TEST_F(SettingsTest, DataOf256BytesOrMoreReadAsMissing) {
    const std::string fits(254, '7');
    ASSERT_EQ(SetTextValue(kSettingsPath, "fits", fits), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "too_long", std::string(255, '7')), ERROR_SUCCESS);
    EXPECT_EQ(Read("fits"), fits);
    EXPECT_EQ(Read("too_long"), kKeyNotOpen);
}

TEST_F(SettingsTest, KeyWithAnEmptyAccessListReadsAsMissing) {
    ASSERT_EQ(SetTextValue(kSettingsPath, "cached_urls", "1"), ERROR_SUCCESS);
    ASSERT_TRUE(SetKeyAccessDenied(kSettingsPath, true));
    Registry::Key key = 0;
    EXPECT_EQ(registry.OpenKey(kSettingsPath, key), static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(Read("cached_urls"), kKeyNotOpen);
}

// The list of cookies to keep through the ANSI calls: written as REG_MULTI_SZ and read back whole
// past the first room (the real ERROR_MORE_DATA); an empty list deletes the value.
TEST_F(SettingsTest, KeptSitesGoRoundTheRealRegistryAsRegMultiSz) {
    KeptSites sites;
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(sites.Add("site" + std::to_string(i) + ".example"));
    ASSERT_EQ(WriteKeptCookiesValue(registry, sites.MultiSz()), 0);
    const KeptCookieList back = ParseKeptCookieList(ReadKeptCookiesValue(registry));
    ASSERT_EQ(back.state, KeptCookieList::State::List);
    EXPECT_EQ(back.sites, sites);

    ASSERT_EQ(WriteKeptCookiesValue(registry, {}), 0);
    EXPECT_FALSE(ReadValue(kSettingsPath, "keep_cookies").has_value());
}

// An access list that grants the user reading alone (a key a policy or an administrator set so):
// the list is read, and not written over.
TEST_F(SettingsTest, AKeptListUnderAKeyTheUserMayOnlyReadIsRead) {
    ASSERT_EQ(WriteKeptCookiesValue(registry, KeptSites::Read({"bank.example"})->MultiSz()), 0);
    ASSERT_TRUE(SetKeyReadOnly(kSettingsPath));
    Registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(kSettingsPath, key), static_cast<std::int32_t>(kErrorAccessDenied))
        << "full access is refused";
    const KeptCookieList list = ParseKeptCookieList(ReadKeptCookiesValue(registry));
    ASSERT_EQ(list.state, KeptCookieList::State::List);
    EXPECT_EQ(list.sites.Sites(), std::vector<std::string>{"bank.example"});
    EXPECT_EQ(WriteKeptCookiesValue(registry, KeptSites::Read({"a.example"})->MultiSz()),
              static_cast<std::int32_t>(kErrorAccessDenied));
}

// Written by a Unicode editor with a name outside ASCII: the ANSI read cannot give it as a site.
TEST_F(SettingsTest, AKeptListWithANameOutsideAsciiIsUnreadable) {
    const std::wstring wide(L"b\u00FCcher.example\0\0", 16);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(wide.data());
    ASSERT_EQ(SetRawValue(kSettingsPath, L"keep_cookies", REG_MULTI_SZ, {bytes, bytes + 2 * wide.size()}),
              ERROR_SUCCESS);
    EXPECT_EQ(ParseKeptCookieList(ReadKeptCookiesValue(registry)).state, KeptCookieList::State::Unreadable);
}

}  // namespace

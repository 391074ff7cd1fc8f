// The remembered choices as plain values: read, check-state rules and the write, no window.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "tests/support/store_paths.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    MemoryPlatform p;
};

TEST_F(SettingsStoreTest, ReadSettingGivesTheSentinelForAnythingUnreadable) {
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "ERR_KEY_NOT_OPEN");
    p.registry.AddKey(kSettingsPath);
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "ERR_KEY_NOT_OPEN");
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "1");
    p.registry.SetText(kSettingsPath, "cookies", std::string(254, '7'));
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), std::string(254, '7'));
    p.registry.SetText(kSettingsPath, "cookies", std::string(255, '7'));
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "ERR_KEY_NOT_OPEN");
    p.registry.SetValue(kSettingsPath, "cookies", kRegSz, std::vector<std::uint8_t>(255, '8'));
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), std::string(255, '8'));
    p.registry.SetValue(kSettingsPath, "cookies", kRegDword, {1, 0, 0, 0});
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "\x01");
    p.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "ERR_KEY_NOT_OPEN");
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

TEST_F(SettingsStoreTest, NumbersConvertTheStandardWay) {
    EXPECT_EQ(ParseSettingNumber("1"), 1);
    EXPECT_EQ(ParseSettingNumber("  0"), 0);
    EXPECT_EQ(ParseSettingNumber("\t+1"), 1);
    EXPECT_EQ(ParseSettingNumber("1abc"), 1);
    EXPECT_EQ(ParseSettingNumber("abc"), 0);
    EXPECT_EQ(ParseSettingNumber(""), 0);
    EXPECT_EQ(ParseSettingNumber("-5"), -5);
    EXPECT_EQ(ParseSettingNumber("\x01"), 0);
    EXPECT_NE(ParseSettingNumber("4294967297"), 1);
    EXPECT_NE(ParseSettingNumber("-4294967296"), 0);
}

// A value that reads as text is stored, whatever the text: one that is no number holds 0.
TEST_F(SettingsStoreTest, EachValueIsANumberOrNotStoredAndARefusedKeyHoldsNone) {
    p.registry.AddKey(kSettingsPath);
    p.registry.SetText(kSettingsPath, "cached_urls", "1");
    p.registry.SetText(kSettingsPath, "cookies", "");
    p.registry.SetText(kSettingsPath, "IE_history", "2");
    p.registry.SetValue(kSettingsPath, "snifTimer", kRegSz, std::vector<std::uint8_t>(300, '1'));
    p.registry.SetValue(kSettingsPath, "auto_clear", kRegDword, {1, 0, 0, 0});
    p.registry.SetText(kSettingsPath, "timer", "45");
    p.registry.SetText(kSettingsPath, "modal", kKeyNotOpen);
    SettingValues values = ReadSettings(p.registry);
    EXPECT_EQ(values[Setting::CachedUrls], 1);
    EXPECT_EQ(values[Setting::Cookies], 0);
    EXPECT_EQ(values[Setting::IeHistory], 2);
    EXPECT_FALSE(values[Setting::SnifTimer].has_value());
    EXPECT_EQ(values[Setting::AutoClear], 0);
    EXPECT_EQ(values[Setting::Timer], 45);
    EXPECT_FALSE(values[Setting::Modal].has_value());
    // A box takes only 0 or 1.
    EXPECT_EQ(values.CheckState(Setting::CachedUrls), 1);
    EXPECT_EQ(values.CheckState(Setting::Cookies), 0);
    EXPECT_FALSE(values.CheckState(Setting::IeHistory).has_value());
    EXPECT_FALSE(values.CheckState(Setting::SnifTimer).has_value());
    values[Setting::IeHistory] = -1;
    EXPECT_FALSE(values.CheckState(Setting::IeHistory).has_value());
    EXPECT_EQ(p.registry.OpenKeys(), 0);

    p.registry.DenyAccess(kSettingsPath);
    for (const auto& value : ReadSettings(p.registry).values) EXPECT_FALSE(value.has_value()) << "a key refused";
}

TEST_F(SettingsStoreTest, WriteCreatesTheKeyAndWritesOnlyWhatHoldsANumberInTableOrder) {
    SettingValues values;
    values[Setting::Visited] = 1;
    values[Setting::Timer] = 60;
    values[Setting::Modal] = 0;
    values[Setting::CachedUrls] = 0;
    EXPECT_TRUE(WriteSettings(p.registry, values));
    EXPECT_EQ(p.registry.ValueNames(kSettingsPath),
              (std::vector<std::string>{"cached_urls", "timer", "modal", "visited"}));
    EXPECT_EQ(p.registry.ValueBytes(kSettingsPath, "timer"), (std::vector<std::uint8_t>{'6', '0', 0}));
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "timer"), kRegSz);
    EXPECT_EQ(ReadSettings(p.registry)[Setting::Timer], 60);
    EXPECT_EQ(ReadSettings(p.registry)[Setting::Visited], 1);
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

// A value that cannot be written keeps its old content while the others are written.
TEST_F(SettingsStoreTest, WriteThatCannotHaveTheKeyWritesNothingAndOneValueFailingStopsNoOther) {
    p.faults.FailCall("RegCreateKeyEx", kErrorAccessDenied);
    SettingValues values;
    values[Setting::Modal] = 1;
    EXPECT_FALSE(WriteSettings(p.registry, values));
    EXPECT_FALSE(p.registry.HasKey(kSettingsPath));

    p.faults.Clear();
    p.registry.SetText(kSettingsPath, "cookies", "1");
    p.faults.FailCall("RegSetValueEx", kErrorAccessDenied, 2);
    values[Setting::CachedUrls] = 0;
    values[Setting::Cookies] = 0;
    values[Setting::Modal] = 0;
    EXPECT_TRUE(WriteSettings(p.registry, values));
    EXPECT_EQ(ReadSetting(p.registry, "cached_urls"), "0");
    EXPECT_EQ(ReadSetting(p.registry, "cookies"), "1");
    EXPECT_EQ(ReadSetting(p.registry, "modal"), "0");
}

// The browsers are text, kept whole; a first start is one where neither they nor a choice is stored.
TEST_F(SettingsStoreTest, TheBrowsersAreTextAndAFirstStartHasNothingStored) {
    EXPECT_EQ(ReadBrowsersSetting(p.registry), std::nullopt);
    EXPECT_TRUE(NothingStored(ReadSettings(p.registry), ReadBrowsersSetting(p.registry)));

    EXPECT_TRUE(WriteBrowsersSetting(p.registry, ""));
    EXPECT_EQ(ReadBrowsersSetting(p.registry), "");
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "browsers"), kRegSz);
    EXPECT_FALSE(NothingStored(ReadSettings(p.registry), ReadBrowsersSetting(p.registry)));

    p.registry.SetText(kSettingsPath, "browsers", "edge,Later-Browser");
    EXPECT_EQ(ReadBrowsersSetting(p.registry), "edge,Later-Browser");
    MemoryPlatform upgraded;
    upgraded.registry.SetText(kSettingsPath, "modal", "0");
    EXPECT_EQ(ReadBrowsersSetting(upgraded.registry), std::nullopt);
    EXPECT_FALSE(NothingStored(ReadSettings(upgraded.registry), std::nullopt));

    p.faults.Clear();
    p.faults.FailCall("RegSetValueEx", kErrorAccessDenied);
    EXPECT_FALSE(WriteBrowsersSetting(p.registry, "chrome"));
    EXPECT_EQ(ReadBrowsersSetting(p.registry), "edge,Later-Browser");
    EXPECT_EQ(p.registry.OpenKeys(), 0);
}

}  // namespace

// Win32Registry and the typed-URL sweep against Wine's real registry.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "res/resource.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_registry.h"

namespace {

constexpr char kScratchKey[] = "Software\\BrumixTests";
constexpr char kNestedKey[] = "Software\\BrumixTests\\made\\on\\the\\way";

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kScratchKey); }
    void TearDown() override { DeleteKeyTree(kScratchKey); }

    Win32Registry registry;
};

TEST_F(Win32RegistryTest, OpeningAMissingKeyFailsWithFileNotFound) {
    Registry::Key key = 0;
    EXPECT_EQ(registry.OpenKey(kScratchKey, key), static_cast<std::int32_t>(kErrorFileNotFound));
}

TEST_F(Win32RegistryTest, CreateMakesEveryKeyOnThePathAndOpenThenFindsIt) {
    Registry::Key created = 0;
    ASSERT_EQ(registry.CreateKey(kNestedKey, created), 0);
    EXPECT_EQ(registry.CloseKey(created), 0);
    Registry::Key opened = 0;
    ASSERT_EQ(registry.OpenKey(kNestedKey, opened), 0);
    EXPECT_NE(opened, 0u);
    EXPECT_EQ(registry.CloseKey(opened), 0);
}

TEST_F(Win32RegistryTest, StringWrittenIsTheGivenBytesAsRegSz) {
    Registry::Key key = 0;
    ASSERT_EQ(registry.CreateKey(kScratchKey, key), 0);
    const std::uint8_t text[] = "45";
    EXPECT_EQ(registry.SetStringValue(key, "timer", text, 3), 0);
    registry.CloseKey(key);

    const std::optional<RegValue> value = ReadValue(kScratchKey, "timer");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{'4', '5', 0}));
}

TEST_F(Win32RegistryTest, QueryReportsMissingValuesAndDataLargerThanTheRoom) {
    ASSERT_EQ(SetTextValue(kScratchKey, "short", "1"), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kScratchKey, "long", std::string(300, 'x')), ERROR_SUCCESS);
    Registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(kScratchKey, key), 0);
    std::uint8_t data[256] = {};
    std::uint32_t type = 0;

    std::uint32_t size = 255;
    EXPECT_EQ(registry.QueryValue(key, "short", type, data, size), 0);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(type, kRegSz);
    EXPECT_STREQ(reinterpret_cast<const char*>(data), "1");

    size = 255;
    EXPECT_EQ(registry.QueryValue(key, "long", type, data, size), static_cast<std::int32_t>(kErrorMoreData));
    EXPECT_EQ(size, 301u);

    size = 255;
    EXPECT_EQ(registry.QueryValue(key, "absent", type, data, size), static_cast<std::int32_t>(kErrorFileNotFound));
    registry.CloseKey(key);
}

TEST_F(Win32RegistryTest, EnumerationGivesNamesOnlyAndStopsWithNoMoreItems) {
    ASSERT_EQ(SetTextValue(kScratchKey, "address", std::string(5000, 'u')), ERROR_SUCCESS);
    Registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(kScratchKey, key), 0);
    char name[16] = {};

    std::uint32_t chars = sizeof(name);
    EXPECT_EQ(registry.EnumValueName(key, 0, name, chars), 0) << "a long value's data must not fail its listing";
    EXPECT_STREQ(name, "address");
    EXPECT_EQ(chars, 7u);

    chars = 4;
    EXPECT_EQ(registry.EnumValueName(key, 0, name, chars), static_cast<std::int32_t>(kErrorMoreData));

    chars = sizeof(name);
    EXPECT_EQ(registry.EnumValueName(key, 1, name, chars), static_cast<std::int32_t>(kErrorNoMoreItems));
    registry.CloseKey(key);
}

TEST_F(Win32RegistryTest, DeletingRemovesTheValueAndAMissingOneFailsWithFileNotFound) {
    ASSERT_EQ(SetTextValue(kScratchKey, "gone", "1"), ERROR_SUCCESS);
    Registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(kScratchKey, key), 0);
    EXPECT_EQ(registry.DeleteValue(key, "gone"), 0);
    EXPECT_EQ(registry.DeleteValue(key, "gone"), static_cast<std::int32_t>(kErrorFileNotFound));
    registry.CloseKey(key);
    EXPECT_TRUE(ValueNames(kScratchKey).empty());
}

TEST_F(Win32RegistryTest, KeyWithAnEmptyAccessListCannotBeOpened) {
    ASSERT_EQ(SetTextValue(kScratchKey, "v", "1"), ERROR_SUCCESS);
    ASSERT_TRUE(SetKeyAccessDenied(kScratchKey, true));
    Registry::Key key = 0;
    EXPECT_EQ(registry.OpenKey(kScratchKey, key), static_cast<std::int32_t>(kErrorAccessDenied));
}

class TypedUrlSweepTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        DeleteKeyTree(kTypedUrlsPath);
        DeleteKeyTree(kTypedUrlsTimePath);
    }

    void Add(const std::string& name, const std::string& address) {
        ASSERT_EQ(SetTextValue(kTypedUrlsPath, name, address), ERROR_SUCCESS);
    }

    WineDialog wine;
};

TEST_F(TypedUrlSweepTest, CountingListsNamesInTheListsOrderAndKeepsThem) {
    Add("url1", "http://one.example/");
    Add("url2", "http://two.example/");
    Add("url10", "http://ten.example/");

    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), 3);
    EXPECT_EQ(wine.window.List(IDC_URL_LIST), (std::vector<std::string>{"url1", "url10", "url2"}));
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "URLs In History: 3");
    EXPECT_TRUE(wine.Visible(IDC_FOUND_MARK));
    EXPECT_FALSE(wine.Visible(IDC_CLEAN_MARK));
    EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 3u);
}

TEST_F(TypedUrlSweepTest, DeletingRemovesEveryValueAndShowsTheNumberListed) {
    for (const char* name : {"url1", "url2", "url3", "url4", "url5"}) Add(name, "http://x.example/");

    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), 5);
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "URLs In History: 5");
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
    EXPECT_TRUE(wine.window.MessageBoxes().empty());

    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), 0);
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "URLs In History: 0");
    EXPECT_FALSE(wine.Visible(IDC_FOUND_MARK));
    EXPECT_TRUE(wine.Visible(IDC_CLEAN_MARK));
}

// The time each address was typed goes with it; a time whose address is not there stays,
// and so does the key.
TEST_F(TypedUrlSweepTest, DeletedAddressesTakeTheirTimesAndATimeWithoutAnAddressStays) {
    Add("url1", "http://one.example/");
    Add("url2", "http://two.example/");
    const std::vector<std::uint8_t> when{0x00, 0x5e, 0x8a, 0x3c, 0x7b, 0x2d, 0xd9, 0x01};
    for (const wchar_t* name : {L"url1", L"url2", L"url3"}) {
        ASSERT_EQ(SetRawValue(kTypedUrlsTimePath, name, REG_BINARY, when), ERROR_SUCCESS);
    }

    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), 2);
    EXPECT_EQ(ValueNames(kTypedUrlsTimePath).size(), 3u) << "a count deletes no time";
    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), 2);
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "URLs In History: 2");
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
    EXPECT_EQ(ValueNames(kTypedUrlsTimePath), std::vector<std::wstring>{L"url3"});
    EXPECT_TRUE(wine.window.MessageBoxes().empty());
}

TEST_F(TypedUrlSweepTest, LongAddressesAndLongNamesNeitherEndNorEscapeTheSweep) {
    const std::string longName = "url" + std::string(300, 'n');
    Add("url1", "http://one.example/");
    Add("url2", "http://two.example/" + std::string(600, 'p'));
    Add(longName, "http://three.example/");
    Add("url4", "http://four.example/");

    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), 4);
    EXPECT_EQ(wine.window.List(IDC_URL_LIST), (std::vector<std::string>{"url1", "url2", "url4", longName}));

    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), 4);
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
    EXPECT_TRUE(wine.window.MessageBoxes().empty());
}

TEST_F(TypedUrlSweepTest, MissingKeyGivesMinusOneAndLeavesTheWindowAlone) {
    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), -1);
    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), -1);
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "Static");
    EXPECT_TRUE(wine.Visible(IDC_FOUND_MARK));
    EXPECT_FALSE(wine.Visible(IDC_CLEAN_MARK));
}

// A name the code page cannot hold enumerates with '?' in its place, and deleting that
// spelling finds nothing.
TEST_F(TypedUrlSweepTest, ValueThatCannotBeDeletedGetsOneBoxCaptionedWithItsName) {
    const std::wstring foreign = L"url\x4E00";
    BOOL lossy = FALSE;
    char converted[16] = {};
    WideCharToMultiByte(CP_ACP, 0, foreign.c_str(), -1, converted, sizeof(converted), nullptr, &lossy);
    if (!lossy) GTEST_SKIP() << "the code page in use holds U+4E00; no undeletable name can be made";
    Add("url1", "http://one.example/");
    ASSERT_EQ(SetRawValue(kTypedUrlsPath, foreign, REG_SZ, {'x', 0}), ERROR_SUCCESS);
    Add("url2", "http://two.example/");

    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), 3);

    ASSERT_EQ(wine.window.MessageBoxes().size(), 1u);
    EXPECT_EQ(wine.window.MessageBoxes()[0].text, "NOT DELETED");
    EXPECT_EQ(wine.window.MessageBoxes()[0].caption, converted);
    EXPECT_EQ(wine.window.MessageBoxes()[0].style, 0u);
    EXPECT_EQ(ValueNames(kTypedUrlsPath), std::vector<std::wstring>{foreign});
    EXPECT_EQ(wine.Text(IDC_HISTORY_COUNT), "URLs In History: 3");
}

// In a double-byte code page a value name of the registry's longest takes up to twice as
// many bytes as characters; such a name must neither be skipped nor end the listing.
TEST_F(TypedUrlSweepTest, DoubleByteNamesLongerThanTheCharacterLimitInBytesAreListedAndDeleted) {
    CPINFO info{};
    const bool doubleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2;
    if (!doubleByte) {
        if (GetEnvironmentVariableA("BRUMIX_DOUBLE_BYTE", nullptr, 0) != 0) {
            FAIL() << "a double-byte code page was asked for, but the code page in use is " << GetACP();
        }
        GTEST_SKIP() << "the code page in use (" << GetACP() << ") is not double-byte";
    }
    const std::wstring longName(12000, L'\x4E00');
    char probe[4] = {};
    BOOL lossy = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, longName.c_str(), 1, probe, sizeof(probe), nullptr, &lossy), 2);
    ASSERT_FALSE(lossy);
    Add("url1", "http://one.example/");
    ASSERT_EQ(SetRawValue(kTypedUrlsPath, longName, REG_SZ, {'x', 0}), ERROR_SUCCESS);
    Add("url2", "http://two.example/");

    EXPECT_EQ(wine.dlg.ScanTypedUrls(1), 3);
    EXPECT_EQ(wine.dlg.ScanTypedUrls(0), 3);
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
    EXPECT_TRUE(wine.window.MessageBoxes().empty());
}

}  // namespace

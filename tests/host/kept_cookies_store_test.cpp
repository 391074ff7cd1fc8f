// The bytes of the list of cookies to keep in the settings: the value read whole from a key
// opened for reading, the ways a read fails, and the bytes written back or the value deleted.
// What the bytes say is kept_list_test's.
#include "settings/kept_cookies_store.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "sweep/cookie_keep.h"
#include "tests/support/store_paths.h"

namespace {

using namespace std::string_view_literals;
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
    RegistryValue Read() { return ReadKeptCookiesValue(p.registry); }
    std::int32_t Write(const Bytes& data) { return WriteKeptCookiesValue(p.registry, data); }
    void TearDown() override { EXPECT_EQ(p.registry.OpenKeys(), 0); }

    MemoryPlatform p;
};

constexpr auto kNotThere = static_cast<std::int32_t>(kErrorFileNotFound);

// No key or no value is not there; a read or a key that is refused says its error. Whatever the
// type, the bytes are the value's.
TEST_F(KeptCookiesStoreTest, AValueIsReadWithItsTypeOrItsErrorAndNoneIsNotThere) {
    EXPECT_EQ(Read().status, kNotThere);
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(Read().status, kNotThere);

    Store(Of("a.b\0"sv), kRegSz);
    EXPECT_EQ(Read().status, 0);
    EXPECT_EQ(Read().type, kRegSz);
    EXPECT_EQ(Read().data, Of("a.b\0"sv));

    p.faults.Clear();
    p.faults.FailCall("RegQueryValueEx", kErrorNotEnoughMemory);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorNotEnoughMemory));
    p.registry.DenyAccess(kSettingsPath);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorAccessDenied));
}

// A settings key the user may read but not write: the list is read, and a write is refused as
// Windows refuses it, leaving the value as it was.
TEST_F(KeptCookiesStoreTest, AKeyTheUserMayOnlyReadIsRead) {
    Store(Of("bank.example\0\0"sv));
    p.registry.AllowReadingOnly(kSettingsPath);
    EXPECT_EQ(Read().status, 0);
    EXPECT_EQ(Read().data, Of("bank.example\0\0"sv));
    EXPECT_EQ(Write(Of("a.example\0\0"sv)), static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(Write({}), static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(Stored(), Of("bank.example\0\0"sv));

    // Nor does a key opened for reading take a write, as Windows refuses one without the right.
    ScopedKey reading(p.registry);
    ASSERT_EQ(reading.OpenForReading(kSettingsPath), 0);
    const Bytes other = Of("a.example\0\0"sv);
    EXPECT_EQ(p.registry.SetMultiStringValue(reading.Get(), "keep_cookies", other.data(), 11),
              static_cast<std::int32_t>(kErrorAccessDenied));
    EXPECT_EQ(p.registry.DeleteValue(reading.Get(), "keep_cookies"), static_cast<std::int32_t>(kErrorAccessDenied));
}

// Far larger than the first room, so the read grows its buffer; a registry that says once that
// there is more than it then gives does not stop it, one that always does ends it.
TEST_F(KeptCookiesStoreTest, AValueIsReadWholeWhateverItsSize) {
    KeptSites sites;
    for (int i = 1000; i < 1400; ++i) sites.Add("site" + std::to_string(i) + ".example");
    Store(sites.MultiSz());
    p.faults.FailCall("RegQueryValueEx", kErrorMoreData);
    EXPECT_EQ(Read().data, sites.MultiSz());

    p.faults.FailCall("RegQueryValueEx", kErrorMoreData, 1, 0);
    EXPECT_EQ(Read().status, static_cast<std::int32_t>(kErrorMoreData));
}

// The key is made for bytes; no bytes delete the value, so it reads back as not there. A write
// that fails says how and leaves the value as it was.
TEST_F(KeptCookiesStoreTest, WriteStoresTheBytesAsRegMultiSzAndNoneAsNoValue) {
    EXPECT_EQ(Write({}), 0);
    EXPECT_FALSE(p.registry.HasKey(kSettingsPath));
    const Bytes written = Of("10.0.0.1\0www.bank.example\0\0"sv);
    ASSERT_EQ(Write(written), 0);
    EXPECT_EQ(p.registry.ValueType(kSettingsPath, "keep_cookies"), kRegMultiSz);
    EXPECT_EQ(Stored(), written);

    // Opening the key and deleting the value are an empty list's.
    for (const char* call : {"RegCreateKeyEx", "RegSetValueEx", "RegOpenKeyEx", "RegDeleteValue"}) {
        p.faults.Clear();
        p.faults.FailCall(call, kErrorAccessDenied);
        const bool empty = std::string(call) == "RegOpenKeyEx" || std::string(call) == "RegDeleteValue";
        EXPECT_EQ(Write(empty ? Bytes{} : Of("a.example\0\0"sv)), static_cast<std::int32_t>(kErrorAccessDenied))
            << call;
        EXPECT_EQ(Stored(), written) << call;
    }
    p.faults.Clear();
    p.registry.SetText(kSettingsPath, "cookies", "1");
    EXPECT_EQ(Write({}), 0);
    EXPECT_EQ(p.registry.ValueNames(kSettingsPath), std::vector<std::string>{"cookies"});
    EXPECT_EQ(Write({}), 0) << "no value to delete";
}

}  // namespace

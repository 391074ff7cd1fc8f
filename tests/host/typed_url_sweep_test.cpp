// The typed-address sweep: what it lists, the order it deletes in, what it reports inline, and
// the times that go with the addresses.
#include "sweep/typed_url_sweep.h"

#include <algorithm>
#include <iterator>

#include "platform/errors.h"
#include "sweep_fixture.h"

namespace {

constexpr std::uint32_t kRegBinary = 3;

class TypedUrlSweepTest : public SweepTest {};

TEST_F(TypedUrlSweepTest, TypedNamesAreListedThenDeletedInCaseBlindOrderOrTheCallersOwn) {
    SeedTyped({"url2", "URL10", "url1"});
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_TRUE(result.opened);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 3);
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"visit typed url2", "visit typed URL10", "visit typed url1"}));
    EXPECT_EQ(p.registry.DeletedNames(), (std::vector<std::string>{"url1", "URL10", "url2"}));
    ExpectNothingOpen();

    // The caller's order is taken only when it holds exactly the names listed.
    SeedTyped({"a", "b", "c"});
    recorder.orderTyped = [](std::vector<std::string>& names) { std::reverse(names.begin(), names.end()); };
    SweepTypedUrls(p.registry, true, recorder);
    SeedTyped({"a", "b", "c"});
    recorder.orderTyped = [](std::vector<std::string>& names) { names = {"c", "x", "a"}; };
    SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(p.registry.DeletedNames(),
              (std::vector<std::string>{"url1", "URL10", "url2", "c", "b", "a", "a", "b", "c"}));
}

TEST_F(TypedUrlSweepTest, ValueThatStaysIsReportedWhileTheKeyIsOpenAndBeforeTheNext) {
    SeedTyped({"a", "b", "c"});
    p.registry.ProtectValue(kTypedUrlsPath, "b");
    std::vector<std::string> deletedWhenReported;
    recorder.whileStayed = [&](const SweepItem&) {
        EXPECT_EQ(p.registry.OpenKeys(), 1);
        deletedWhenReported = p.registry.DeletedNames();
    };
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(deletedWhenReported, std::vector<std::string>{"a"});
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath), std::vector<std::string>{"b"});
    ExpectNothingOpen();
}

// A long address lists like a short one; only a name too long for the buffer is passed over.
TEST_F(TypedUrlSweepTest, TypedNameTooLongForTheBufferIsSkippedNotTheEnd) {
    // Longest name of the registry in a double-byte code page: two bytes a character.
    const std::string doubleByte(kMaxValueNameChars * 2, 'x');
    const std::string tooLong(kMaxValueNameChars * 2 + 1, 'y');
    p.registry.AddKey(kTypedUrlsPath);
    p.registry.SetText(kTypedUrlsPath, "url1", "http://a/");
    p.registry.SetText(kTypedUrlsPath, tooLong, "http://b/");
    p.registry.SetText(kTypedUrlsPath, doubleByte, "http://c/");
    p.registry.SetText(kTypedUrlsPath, "url2", "http://d/" + std::string(4000, 'x'));
    p.registry.SetText(kTypedUrlsPath, "url3", "http://e/");
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.listed, 4);
    EXPECT_EQ(result.deleted, 4);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath), std::vector<std::string>{tooLong});
    ExpectNothingOpen();
}

// What was listed before the error is deleted; a key refused at the open is left whole.
TEST_F(TypedUrlSweepTest, TypedListingEndedByAnErrorIsIncomplete) {
    SeedTyped({"a", "b", "c"});
    p.faults.FailCall("RegEnumValue", kErrorAccessDenied, 2);
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.listed, 1);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath), (std::vector<std::string>{"b", "c"}));
    p.registry.DenyAccess(kTypedUrlsPath);
    EXPECT_FALSE(SweepTypedUrls(p.registry, true, recorder).opened);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath).size(), 2u);
    ExpectNothingOpen();
}

// Each address deleted takes the time it was typed; every other time stays, and one that
// cannot be deleted is neither counted nor reported.
TEST_F(TypedUrlSweepTest, EachDeletedAddressTakesItsTimeAndNoOther) {
    SeedTyped({"url1", "url2", "url3"});
    p.registry.ProtectValue(kTypedUrlsPath, "url2");
    const std::vector<std::uint8_t> when{0x00, 0x5e, 0x8a, 0x3c, 0x7b, 0x2d, 0xd9, 0x01};
    for (const char* name : {"url1", "url2", "url3", "url4"})
        p.registry.SetValue(kTypedUrlsTimePath, name, kRegBinary, when);
    p.registry.ProtectValue(kTypedUrlsTimePath, "url3");

    const TypedUrlResult counted = SweepTypedUrls(p.registry, false, recorder);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsTimePath).size(), 4u) << "a count deletes no time";
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(counted.listed, 3);
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsTimePath), (std::vector<std::string>{"url2", "url3", "url4"}));
    std::vector<std::string> stayed;
    std::copy_if(recorder.heard.begin(), recorder.heard.end(), std::back_inserter(stayed),
                 [](const std::string& heard) { return heard.rfind("stayed", 0) == 0; });
    EXPECT_EQ(stayed, std::vector<std::string>{"stayed typed url2"});
    EXPECT_TRUE(p.registry.HasKey(kTypedUrlsTimePath));
    ExpectNothingOpen();
}

}  // namespace

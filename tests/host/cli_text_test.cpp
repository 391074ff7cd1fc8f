// JSON strings, plain lines, the version record and the exit-code rules of brumix.exe.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "cli/exit_code.h"
#include "cli/text.h"
#include "platform/version_record.h"
#include "res/version.h"

namespace {

TEST(CliJsonString, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(JsonString("C:\\path\\"), "\"C:\\\\path\\\\\"");
    EXPECT_EQ(JsonString("a\nb\tc\rd\be\ff"), "\"a\\nb\\tc\\rd\\be\\ff\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\x7f\"");
    EXPECT_EQ(JsonString(std::string("nul\0here", 8)), "\"nul\\u0000here\"");
    EXPECT_EQ(JsonString("/ stays"), "\"/ stays\"");
}

TEST(CliJsonString, KeepsValidUtf8AndReplacesEverythingElse) {
    // e acute, a CJK ideograph, an emoji (four bytes).
    EXPECT_EQ(JsonString("\xC3\xA9\xE4\xB8\x80\xF0\x9F\x8D\xAA"), "\"\xC3\xA9\xE4\xB8\x80\xF0\x9F\x8D\xAA\"");
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(JsonString("caf\xE9"), "\"caf" + bad + "\"") << "a lone code-page byte";
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"" + bad + bad + "\"") << "an overlong slash";
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"" + bad + bad + bad + "\"") << "a surrogate";
    EXPECT_EQ(JsonString("\xE4\xB8"), "\"" + bad + bad + "\"") << "a sequence cut short";
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"" + bad + bad + bad + bad + "\"") << "above U+10FFFF";
}

TEST(CliPlainText, ControlCharactersCannotBreakTheLine) {
    EXPECT_EQ(PlainText("url\nforged\tline\r\x1b[2J"), "url?forged?line??[2J");
    EXPECT_EQ(PlainText("C:\\caf\xC3\xA9"), "C:\\caf\xC3\xA9");
    EXPECT_EQ(PlainText("\xFF"), "\xEF\xBF\xBD");
}

// A version resource as the resource compiler lays it out: a header, the key in UTF-16,
// padding, then the fixed part.
std::vector<std::uint8_t> VersionRecord(std::uint32_t high, std::uint32_t low, std::size_t cutAfter = 0) {
    std::vector<std::uint8_t> bytes(6, 0);
    for (char c : std::string("VS_VERSION_INFO")) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    bytes.push_back(0);
    bytes.push_back(0);
    while (bytes.size() % 4 != 0) bytes.push_back(0);
    for (std::uint32_t word : {0xFEEF04BDu, 0x00010000u, high, low, high, low}) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
    if (cutAfter != 0) bytes.resize(cutAfter);
    return bytes;
}

// Two 16-bit parts of a version in one word of the fixed part, the first one high.
std::uint32_t Halves(std::uint32_t high, std::uint32_t low) {
    return high << 16 | low;
}

TEST(CliVersionRecord, ReadsTheFileVersionFromTheFixedPart) {
    // The numbers the resource scripts write give the text the tests and the release expect.
    const std::vector<std::uint8_t> record = VersionRecord(Halves(BRUMIX_VERSION_MAJOR, BRUMIX_VERSION_MINOR),
                                                           Halves(BRUMIX_VERSION_BUILD, BRUMIX_VERSION_REVISION));
    EXPECT_EQ(FileVersionFromRecord(record.data(), record.size()), BRUMIX_VERSION_TEXT);
    const std::vector<std::uint8_t> wide = VersionRecord(0xFFFF0002, 0x0003FFFE);
    EXPECT_EQ(FileVersionFromRecord(wide.data(), wide.size()), "65535.2.3.65534");
}

TEST(CliVersionRecord, NoFixedPartGivesNothing) {
    const std::vector<std::uint8_t> cut = VersionRecord(0x00010000, 1, 48);
    EXPECT_EQ(FileVersionFromRecord(cut.data(), cut.size()), "") << "cut off inside the version";
    const std::vector<std::uint8_t> zeros(64, 0);
    EXPECT_EQ(FileVersionFromRecord(zeros.data(), zeros.size()), "");
    EXPECT_EQ(FileVersionFromRecord(zeros.data(), 3), "");
}

SweepResult Swept(bool typedComplete, bool cacheComplete) {
    SweepResult result;
    for (auto [id, complete] : {std::pair{SourceId::TypedUrls, typedComplete}, {SourceId::UrlCache, cacheComplete}}) {
        SourceResult& source = result.sources[static_cast<std::size_t>(id)];
        source.ran = true;
        source.complete = complete;
    }
    return result;
}

// What each source leaves short is the engine's (Whole); here the order of the outcomes.
TEST(CliExitCode, AStopOutranksAShortWalkWhichOutranksItemsLeft) {
    EXPECT_EQ(SweepExitCode(Swept(true, true), 0), kExitDone);
    EXPECT_EQ(SweepExitCode(Swept(true, true), 2), kExitNotDeleted);
    EXPECT_EQ(SweepExitCode(Swept(true, false), 2), kExitIncomplete);
    EXPECT_EQ(SweepExitCode(Swept(false, true), 0), kExitIncomplete);

    SweepResult stopped = Swept(true, false);
    stopped.stopped = true;
    EXPECT_EQ(SweepExitCode(stopped, 5), kExitStopped);
}

}  // namespace

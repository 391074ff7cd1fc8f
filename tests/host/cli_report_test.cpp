// brumix.exe's output shapes from plain results: count, preview, clear and the items that
// stay, in text and JSON, and the lines that say what a sweep could not reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/report.h"

namespace {

SourceResult& Source(SweepResult& result, SourceId id) {
    return result.sources[static_cast<std::size_t>(id)];
}

// Typed addresses and the cache's content, each walked to its end.
SweepResult Counted() {
    SweepResult result;
    result.selected = {Kind::CachedFiles, Kind::Cookies, Kind::TypedUrls};
    result.counted = result.selected;
    for (SourceId id : {SourceId::TypedUrls, SourceId::UrlCache}) {
        Source(result, id).ran = true;
        Source(result, id).complete = true;
    }
    result.counts[Kind::TypedUrls].found = 2;
    result.counts[Kind::CachedFiles].found = 12;
    result.counts[Kind::Cookies].found = 3;
    return result;
}

// The one case that pins the whole of both layouts: the kinds in their order.
TEST(CliReport, CountIsALineAKindOrOneObject) {
    SweepResult result = Counted();
    result.counts[Kind::VisitedPages].found = 7;
    EXPECT_EQ(CountReport(result, false), "Cached Files: 12\nCookies: 3\nURLs In History: 2\nPages Visited: 7\n");
    EXPECT_EQ(CountReport(result, true),
              "{\"cached_files\": 12, \"cookies\": 3, \"cookies_kept\": 0, \"typed_urls\": 2, \"visited_pages\": 7}\n");
    result.counts[Kind::Cookies].kept = 2;
    EXPECT_EQ(CountReport(result, false),
              "Cached Files: 12\nCookies: 3\nURLs In History: 2\nPages Visited: 7\nCookies kept: 2\n")
        << "the cookies kept last, when there are some";
}

// The stand-in's names arrive decoded; the escapes are JsonString's and PlainText's.
TEST(CliReport, PreviewIsOneDocumentOrOneLineAnItem) {
    const std::string odd = "say \"caf\xC3\xA9\"\\\x01\tend";
    EXPECT_EQ(PreviewOpening(true) + PreviewItem(Store::Typed, odd, true, true) +
                  PreviewItem(Store::CookieFile, "line\nbreak", false, true) + PreviewClosing(true),
              "{\"items\": [\n"
              "{\"store\": \"typed\", \"name\": \"say \\\"caf\xC3\xA9\\\"\\\\\\u0001\\tend\"},\n"
              "{\"store\": \"cookie-file\", \"name\": \"line\\nbreak\"}\n"
              "]}\n");
    EXPECT_EQ(PreviewOpening(true) + PreviewClosing(true), "{\"items\": [\n]}\n") << "an empty list";

    EXPECT_EQ(PreviewOpening(false) + PreviewItem(Store::Typed, odd, true, false) +
                  PreviewItem(Store::Cookie, "line\nbreak", false, false) +
                  PreviewItem(Store::Cache, "http://a/", false, false) + PreviewClosing(false),
              "typed\tsay \"caf\xC3\xA9\"\\??end\ncookie\tline?break\ncache\thttp://a/\n");
}

TEST(CliReport, ClearCountsWhatWentAndInJsonNamesWhatStayed) {
    SweepResult result = Counted();
    result.counts[Kind::CachedFiles].deleted = 11;
    result.counts[Kind::Cookies].deleted = 3;
    result.counts[Kind::TypedUrls].deleted = 1;
    const std::vector<NamedItem> stayed = {{Store::Typed, "caf\xC3\xA9"}, {Store::Cache, "http://locked/\"x\""}};

    EXPECT_EQ(ClearReport(result, stayed, false),
              "Cached Files deleted: 11\nCookies deleted: 3\nURLs In History deleted: 1\n");
    EXPECT_EQ(ClearReport(result, stayed, true),
              "{\"deleted\": {\"cached_files\": 11, \"cookies\": 3, \"typed_urls\": 1}, \"not_deleted\": ["
              "{\"store\": \"typed\", \"name\": \"caf\xC3\xA9\"}, "
              "{\"store\": \"cache\", \"name\": \"http://locked/\\\"x\\\"\"}], \"complete\": true}\n");

    const std::string incomplete = "], \"complete\": false}\n";
    SweepResult cutShort = result;
    Source(cutShort, SourceId::UrlCache).complete = false;
    EXPECT_NE(ClearReport(cutShort, {}, true).find("\"not_deleted\": [" + incomplete), std::string::npos);
    SweepResult stopped = result;
    stopped.stopped = true;
    EXPECT_NE(ClearReport(stopped, {}, true).find(incomplete), std::string::npos) << "a stop is no full account";

    EXPECT_EQ(NotDeletedLine(Store::Typed, "caf\xC3\xA9\r"), "brumix: not deleted: typed\tcaf\xC3\xA9?\n");
}

TEST(CliReport, EachSourceNotWalkedToItsEndHasItsLineAndAStopSaysOnlyThat) {
    SweepResult result = Counted();
    EXPECT_EQ(ShortfallText(result, Command::Clear), "");

    Source(result, SourceId::UrlCache).complete = false;
    Source(result, SourceId::TypedUrls).complete = false;
    EXPECT_EQ(ShortfallText(result, Command::Count),
              "brumix: the typed addresses could not be listed to their end\n"
              "brumix: the URL cache could not be walked to its end\n");
    Source(result, SourceId::TypedUrls).openStatus = 5;
    EXPECT_EQ(ShortfallText(result, Command::Count),
              "brumix: the TypedURLs key cannot be opened (error 5)\n"
              "brumix: the URL cache could not be walked to its end\n");
    Source(result, SourceId::TypedUrls).openStatus = 2;
    EXPECT_EQ(ShortfallText(result, Command::Count), "brumix: the URL cache could not be walked to its end\n")
        << "a key that is not there holds nothing";
    Source(result, SourceId::TypedUrls).ran = false;
    Source(result, SourceId::UrlCache).ran = false;
    EXPECT_EQ(ShortfallText(result, Command::Clear), "") << "a source not run is not short";

    SweepResult stopped = Counted();
    Source(stopped, SourceId::UrlCache).complete = false;
    stopped.stopped = true;
    EXPECT_EQ(ShortfallText(stopped, Command::Count), "brumix: stopped by Ctrl+C; the counts are those so far\n");
    EXPECT_EQ(ShortfallText(stopped, Command::Preview),
              "brumix: stopped by Ctrl+C; the list is what was found so far\n");
    EXPECT_EQ(ShortfallText(stopped, Command::Clear), "brumix: stopped by Ctrl+C; what was deleted stays deleted\n");
}

// Two browsers that ran: one with two profiles cut short, one running with a database it does
// not know; a line for each, the note on browsers that outlive their windows once.
TEST(CliReport, EachBrowserNotReachedWholeIsNamedAndTheNoteComesOnce) {
    SweepResult result = Counted();
    SourceResult& chrome = Source(result, SourceId::Chrome);
    chrome.ran = true;
    chrome.browser.installed = true;
    chrome.browser.profiles = 2;
    chrome.counts[Kind::Cookies].found = 4;
    SourceResult& opera = Source(result, SourceId::Opera);
    opera.ran = true;
    opera.browser = {.installed = true,
                     .profiles = 1,
                     .inUse = true,
                     .layoutProblems = {"opera:Opera Stable:History: no table urls"}};
    EXPECT_EQ(ShortfallText(result, Command::Preview),
              "brumix: Google Chrome could not be read to its end\n"
              "brumix: Opera is running, so a clear leaves it whole until it is closed\n"
              "brumix: Opera: a database this program does not know how to change, so a clear leaves it whole: "
              "opera:Opera Stable:History: no table urls\n"
              "brumix: Edge and Chrome may keep running after their last window closes (Startup boost, "
              "background apps)\n");
    EXPECT_NE(CountReport(result, false)
                  .find("\nGoogle Chrome (2 profiles): Cached Files 0, Cookies 4, "
                        "URLs In History 0, Pages Visited 0\nOpera (1 profile, in use): "),
              std::string::npos)
        << CountReport(result, false);
    chrome.complete = true;
    opera.browser = {.installed = true, .profiles = 1, .inUse = false, .layoutProblems = {}};
    opera.complete = true;
    EXPECT_EQ(ShortfallText(result, Command::Clear), "") << "an installed browser reached whole says nothing";
}

}  // namespace

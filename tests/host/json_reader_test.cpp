// The JSON reader on what a browser writes and on what no browser should: every text that is not
// strict JSON in UTF-8 reads as nothing.
#include "sweep/json_reader.h"

#include <gtest/gtest.h>

namespace {

using Keys = std::optional<std::vector<std::string>>;

Keys InfoCache(std::string_view text) {
    return JsonObjectKeys(text, {"profile", "info_cache"});
}

TEST(JsonReaderTest, ReadsTheNamesOfTheObjectAtThePath) {
    const struct {
        std::string_view text;
        Keys keys;
    } cases[] = {
        {R"( {"a":[1,-2.5e+3,true,null,{"x":"y"}],"profile":{"info_cache":{"Default":{},"Profile 1":{"n":0}}}} )",
         std::vector<std::string>{"Default", "Profile 1"}},
        {R"({"profile":{"info_cache":{}}})", std::vector<std::string>{}},
        // Escapes, a pair of surrogates, and UTF-8 as it stands.
        {R"({"profile":{"info_cache":{"Zo\u00eb \ud83d\ude00 \"q\" \\ /":1,"Zo)"
         "\xC3\xAB"
         R"(":2}}})",
         std::vector<std::string>{"Zo\xC3\xAB \xF0\x9F\x98\x80 \"q\" \\ /", "Zo\xC3\xAB"}},
        // A name given twice is there once; the last of two objects on the path counts.
        {R"({"profile":{"info_cache":{"A":1,"B":2,"A":3}}})", std::vector<std::string>{"A", "B"}},
        {R"({"profile":{"info_cache":{"A":1}},"profile":{"info_cache":{"B":1}}})", std::vector<std::string>{"B"}},
        {R"({"profile":{"info_cache":{"A":1}},"profile":{"other":1}})", std::nullopt},
        {R"({"profile":{"info_cache":{"A":1},"info_cache":[]}})", std::nullopt},
        {R"({"profile":{"info_cache":"Default"}})", std::nullopt},
        {R"({"profiles":{"info_cache":{"A":1}}})", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(InfoCache(c.text), c.keys) << c.text;
}

TEST(JsonReaderTest, AnythingButStrictJsonInUtf8ReadsAsNothing) {
    const std::string_view good = R"({"profile":{"info_cache":{"A":[0]}}})";
    ASSERT_TRUE(InfoCache(good));
    const std::string_view broken[] = {
        "",
        R"({"profile":{"info_cache":{"A":[0]}}})"
        "x",
        "\xEF\xBB\xBF{\"profile\":{\"info_cache\":{}}}",
        R"({"profile":{"info_cache":{"A":[0],}}})",
        R"({"profile":{"info_cache":{'A':1}}})",
        R"({"profile":{"info_cache":{"A":01}}})",
        R"({"profile":{"info_cache":{"A":1.}}})",
        R"({"profile":{"info_cache":{"A":-}}})",
        R"({"profile":{"info_cache":{"A":tru}}})",
        R"({"profile":{"info_cache":{"A\x":1}}})",
        R"({"profile":{"info_cache":{"\ud800":1}}})",
        R"({"profile":{"info_cache":{"\udc00\ud800":1}}})",
        R"({"profile":{"info_cache":{"\u12":1}}})",
        "{\"profile\":{\"info_cache\":{\"tab\t\":1}}}",
        "{\"profile\":{\"info_cache\":{\"\xC0\xAF\":1}}}",
        "{\"profile\":{\"info_cache\":{\"\xED\xA0\x80\":1}}}",
        "{\"profile\":{\"info_cache\":{\"\xF4\x90\x80\x80\":1}}}",
        "{\"profile\":{\"info_cache\":{\"\xE2\x82\":1}}}",
        R"({"profile":{"info_cache":{"A":1}})",
        R"(["profile"])",
        R"({"profile":{"info_cache":{"A":1}}}})",
    };
    for (const std::string_view text : broken) EXPECT_EQ(InfoCache(text), std::nullopt) << text;
}

TEST(JsonReaderTest, NestingIsBoundedWhereverItIs) {
    const auto nested = [](int depth, char open, char close) {
        return "{\"profile\":{\"info_cache\":{}},\"x\":" + std::string(depth - 1, open) +
               std::string(depth - 1, close) + "}";
    };
    EXPECT_TRUE(InfoCache(nested(kJsonMaxDepth, '[', ']')));
    EXPECT_EQ(InfoCache(nested(kJsonMaxDepth + 1, '[', ']')), std::nullopt);
    EXPECT_EQ(InfoCache(nested(100000, '[', ']')), std::nullopt);
    std::string objects = "{\"profile\":{\"info_cache\":{}},\"x\":";
    for (int i = 0; i < kJsonMaxDepth; ++i) objects += "{\"a\":";
    objects += "0" + std::string(kJsonMaxDepth, '}') + "}";
    EXPECT_EQ(InfoCache(objects), std::nullopt);
}

}  // namespace

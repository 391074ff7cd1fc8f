// Common ground of brumix.exe's end-to-end cases.
#include "tests/e2e/cli_e2e_fixture.h"

#include <sstream>

namespace e2e {
namespace {

std::string WideToAnsi(const std::wstring& wide) {
    char buffer[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

}  // namespace

std::string Said(const CliResult& run) {
    return "exit " + std::to_string(run.exitCode) + (run.started ? "" : " (not started)") + "\n--- stdout\n" + run.out +
           "--- stderr\n" + run.err;
}

void CliE2e::SetUp() {
    ASSERT_NO_FATAL_FAILURE(EmptyStores());
    ForgetVersionOverride(kCliExe);
    ASSERT_NO_FATAL_FAILURE(neighbours_.Plant());
}

void CliE2e::TearDown() {
    neighbours_.Remove();
    ForgetVersionOverride(kCliExe);
}

Items CliE2e::CacheItems(bool withCookies) {
    const CacheCensus census = TakeCensus();
    EXPECT_TRUE(census.complete);
    Items items;
    for (const std::string& url : census.files) items.emplace("cache", url);
    if (withCookies) {
        for (const std::string& url : census.cookies) items.emplace("cookie", url);
    }
    return items;
}

Items CliE2e::VisitedItems() {
    const CacheCensus census = TakeCensus();
    EXPECT_TRUE(census.complete);
    Items items;
    for (const std::string& url : census.visited) items.emplace("visited", url);
    return items;
}

Items CliE2e::TypedItems() {
    Items items;
    for (const std::wstring& name : ValueNames(kTypedUrlsPath)) items.emplace("typed", WideToAnsi(name));
    return items;
}

Items CliE2e::CookieFileItems() {
    Items items;
    for (const std::string& name : FindNames(CookieFolderPath(), "*.txt")) items.emplace("cookie-file", name);
    return items;
}

Items CliE2e::ParsePreview(const std::string& out) {
    Items items;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        EXPECT_NE(tab, std::string::npos) << "not STORE<TAB>NAME: " << line;
        if (tab != std::string::npos) items.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return items;
}

JsonValue CliE2e::ParseOrFail(const std::string& text) {
    std::string error;
    std::optional<JsonValue> value = ParseJson(text, error);
    EXPECT_TRUE(value) << "not JSON (" << error << "): " << text;
    return value.value_or(JsonValue{});
}

Items CliE2e::JsonItems(const JsonValue& list) {
    Items items;
    EXPECT_EQ(list.kind, JsonValue::Kind::Array);
    for (const JsonValue& item : list.items) {
        const JsonValue* store = item.Get("store");
        const JsonValue* name = item.Get("name");
        EXPECT_TRUE(store && name && item.members.size() == 2) << "an item is {store, name}";
        if (store && name) items.emplace(store->text, name->text);
    }
    return items;
}

std::map<std::wstring, std::string> CliE2e::SettingsSnapshot() {
    std::map<std::wstring, std::string> values;
    for (const std::wstring& name : ValueNames(kSettingsPath)) {
        values[name] = Describe(ReadValue(kSettingsPath, WideToAnsi(name)));
    }
    return values;
}

void ExpectLines(const std::string& out, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) {
        const std::size_t at = out.find(line + "\n");
        EXPECT_TRUE(at != std::string::npos && (at == 0 || out[at - 1] == '\n')) << line << " is not a line of:\n"
                                                                                 << out;
    }
}

}  // namespace e2e

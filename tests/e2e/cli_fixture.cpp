// Common ground of brumix.exe's end-to-end cases: clean stores and neighbours before each,
// seeding, the platform family, and the checks that the neighbours and the settings stand.
#include "tests/e2e/cli_fixture.h"

#include <sstream>

namespace e2e {
namespace {

constexpr char kSiblingPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsBackup";
constexpr char kNestedPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs\\Nested";
constexpr char kOverridePath[] = "Software\\Wine\\AppDefaults\\brumix.exe";

struct Neighbour {
    const char* path;
    const char* name;
    const char* text;
};

const Neighbour kNeighbours[] = {
    {kSiblingPath, "url1", "http://sibling.example/"},
    {kIePath, "TypedURLsNeighbour", "keep me"},
    {kSettingsPath, "", "default value of the settings key"},
    {kSettingsPath, "extra", "not one of the seven"},
};

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
    ASSERT_TRUE(ClearCache()) << "the URL cache could not be emptied before the case";
    for (const char* path : {kTypedUrlsPath, kSettingsPath, kSiblingPath, kOverridePath}) {
        ASSERT_TRUE(DeleteKeyTree(path)) << path;
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kIePath, "TypedURLsNeighbour");
    for (const Neighbour& n : kNeighbours) ASSERT_EQ(SetTextValue(n.path, n.name, n.text), ERROR_SUCCESS) << n.path;

    const std::string windows = WindowsDir();
    ASSERT_FALSE(windows.empty());
    cookieFolder_ = windows + "\\Cookies";
    RemoveFolder(cookieFolder_);
    ASSERT_TRUE(MakeDirectory(cookieFolder_));
    canaryFiles_ = {cookieFolder_ + "\\index.dat", cookieFolder_ + "\\keep.txt.bak", windows + "\\cookie-canary.txt"};
    for (const std::string& path : canaryFiles_) ASSERT_TRUE(WriteTextFile(path, "canary " + path));
}

void CliE2e::TearDown() {
    RemoveFolder(cookieFolder_);
    for (const std::string& path : canaryFiles_) DeleteFileA(path.c_str());
    DeleteKeyTree(kSiblingPath);
    DeleteKeyTree(kOverridePath);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kIePath, "TypedURLsNeighbour");
}

void CliE2e::ReportNonNtFamily() {
    ASSERT_EQ(SetTextValue(kOverridePath, "Version", "win98"), ERROR_SUCCESS);
}

std::vector<std::string> CliE2e::SeedCacheFiles(int count) {
    std::vector<std::string> urls;
    for (int i = 0; i < count; ++i) {
        urls.push_back("http://" + UniqueName("files") + ".example/page.htm");
        EXPECT_TRUE(CommitEntryWithFile(urls.back(), "<html>seeded</html>")) << urls.back();
    }
    return urls;
}

void CliE2e::SeedCookieDomains(int count) {
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(SetPersistentCookie("http://" + UniqueName("crumbs") + ".example/", "session=value"));
    }
}

void CliE2e::SeedTypedUrls(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ASSERT_EQ(SetTextValue(kTypedUrlsPath, name, "http://typed.example/" + name), ERROR_SUCCESS);
    }
}

void CliE2e::SeedCookieFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ASSERT_TRUE(WriteTextFile(cookieFolder_ + "\\" + name, "cookie file"));
    }
}

void CliE2e::Remember(const std::map<std::string, std::string>& values) {
    for (const auto& [name, text] : values) ASSERT_EQ(SetTextValue(kSettingsPath, name, text), ERROR_SUCCESS);
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

Items CliE2e::TypedItems() {
    Items items;
    for (const std::wstring& name : ValueNames(kTypedUrlsPath)) items.emplace("typed", WideToAnsi(name));
    return items;
}

Items CliE2e::CookieFileItems() const {
    Items items;
    for (const std::string& name : FindNames(cookieFolder_, "*.txt")) items.emplace("cookie-file", name);
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

void CliE2e::ExpectNeighboursIntact() const {
    for (const Neighbour& n : kNeighbours) {
        std::optional<RegValue> value = ReadValue(n.path, n.name);
        const RegValue wanted = SzValue(n.text);
        EXPECT_TRUE(value && value->type == wanted.type && value->data == wanted.data)
            << n.path << "\\" << n.name << ": " << Describe(value);
    }
    for (const std::string& path : canaryFiles_) {
        std::optional<std::string> content = ReadTextFile(path);
        EXPECT_TRUE(content && *content == "canary " + path) << path;
    }
}

std::map<std::wstring, std::string> CliE2e::SettingsSnapshot() {
    std::map<std::wstring, std::string> values;
    for (const std::wstring& name : ValueNames(kSettingsPath)) {
        values[name] = Describe(ReadValue(kSettingsPath, WideToAnsi(name)));
    }
    return values;
}

}  // namespace e2e

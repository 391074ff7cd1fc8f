// brumix.exe's command runner over the stand-ins, with a console that records what it is told.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/memory/memory_platform.h"
#include "res/version.h"
#include "tests/support/left_open.h"
#include "tests/support/store_paths.h"

// Standard output and error as strings; a clock that moves stepMs each time it is read;
// standard output that fails with an error, as a full disk does, once told to.
class RecordingConsole final : public Console {
public:
    std::string out;
    std::string err;
    std::uint32_t outFailsWith = 0;
    std::uint32_t failure = 0;
    int outWrites = 0;
    bool errorIsConsole = false;
    std::uint64_t now = 1000;
    std::uint64_t stepMs = 0;
    std::vector<std::string> progress;
    // Runs each time the clock is read, which a clear does once per item on a console.
    std::function<void()> onTick;

    void Write(Stream stream, std::string_view utf8) override {
        if (stream == Stream::Err) {
            err += utf8;
            return;
        }
        ++outWrites;
        if (failure == 0) failure = outFailsWith;
        if (failure == 0) out += utf8;
    }
    void Flush() override {}
    std::uint32_t OutputFailure() override { return failure; }
    bool ErrorIsConsole() override { return errorIsConsole; }
    void SetProgress(std::string_view utf8) override { progress.emplace_back(utf8); }
    std::uint64_t NowMs() override {
        if (onTick) onTick();
        return now += stepMs;
    }
};

// Treats each name's bytes as ISO 8859-1, so that a byte above 0x7F has a known UTF-8 form.
inline std::string Latin1ToUtf8(std::string_view ansi) {
    std::string utf8;
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

inline constexpr char kCookieFolder[] = "C:\\WINDOWS\\Cookies";

// The line of the text output that begins with words, whole; empty when there is none. A case
// asserts the lines it is about, so that a kind added later does not rewrite it.
inline std::string Line(const std::string& text, std::string_view words) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        if (text.compare(at, words.size(), words) == 0) return text.substr(at, end - at);
        at = end + 1;
    }
    return "";
}

// The value of a key of a JSON document as its text, each key looked for after the one before it
// (so "deleted", "cookies" is the cookies in the deleted object); empty when a key is not there.
inline std::string JsonValue(const std::string& json, std::initializer_list<std::string_view> keys) {
    std::size_t at = 0;
    for (std::string_view key : keys) {
        at = json.find("\"" + std::string(key) + "\": ", at);
        if (at == std::string::npos) return "";
        at += key.size() + 4;
    }
    int depth = 0;
    bool inString = false;
    std::size_t end = at;
    for (; end < json.size(); ++end) {
        const char c = json[end];
        if (inString) {
            if (c == '\\') ++end;
            if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']' || c == ',') {
            if (depth == 0) break;
            if (c != ',') --depth;
        }
    }
    return json.substr(at, end - at);
}

class CliTest : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& args) { return RunOn(platform, args); }
    // The same run over other stores than the fixture's own.
    int RunOn(MemoryPlatform& stores, const std::vector<std::string>& args) {
        console.out.clear();
        console.err.clear();
        console.failure = 0;
        console.outWrites = 0;
        CliContext context{stores.Services(), console, stop, Latin1ToUtf8, BRUMIX_VERSION_TEXT};
        return RunBrumix(args, context);
    }

    void SeedTyped(std::initializer_list<const char*> names) {
        platform.registry.AddKey(kTypedUrlsPath);
        for (const char* name : names) platform.registry.SetText(kTypedUrlsPath, name, std::string("http://") + name);
    }
    void Remember(const char* cachedUrls, const char* cookies, const char* history) {
        platform.registry.SetText(kSettingsPath, "cached_urls", cachedUrls);
        platform.registry.SetText(kSettingsPath, "cookies", cookies);
        platform.registry.SetText(kSettingsPath, "IE_history", history);
    }
    // The other family, with its Cookies folder holding the given files.
    void NonNtWithCookieFiles(std::initializer_list<const char*> names) {
        platform.system.platformId = kPlatformWin32Windows;
        platform.files.AddFolder(kCookieFolder);
        for (const char* name : names) platform.files.AddFile(kCookieFolder, name);
    }
    bool Called(const std::string& op) const {
        const auto& calls = platform.faults.Calls();
        return std::find(calls.begin(), calls.end(), op) != calls.end();
    }
    // Neither the settings nor any other key was created or written.
    bool RegistryWritten() const { return Called("RegCreateKeyEx") || Called("RegSetValueEx"); }

    MemoryPlatform platform;
    RecordingConsole console;
    StopFlag stop;
};

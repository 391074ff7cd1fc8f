// The main window's life beyond the close: a shutdown keeps the choices made in the window, and
// a main window that cannot come up makes the process fail.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr Millis kShutdownLimit(60000);
constexpr Millis kExitLimit(10000);

// Both handles of a process started here, closed on every path.
struct StartedProcess {
    StartedProcess() = default;
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    ~StartedProcess() {
        if (info.hThread) CloseHandle(info.hThread);
        if (info.hProcess) CloseHandle(info.hProcess);
    }
    PROCESS_INFORMATION info = {};
};

// A shutdown as Wine carries it out in this prefix: wineboot sends each process's windows
// WM_QUERYENDSESSION, then WM_ENDSESSION with the answer, and ends the process if it still
// runs. --shutdown stops there instead of starting the next session. wineboot exits with 0
// only when every window agreed to end the session.
::testing::AssertionResult ShutDown() {
    std::string commandLine = "wineboot.exe --end-session --shutdown";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    StartedProcess wineboot;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &wineboot.info)) {
        return ::testing::AssertionFailure() << "CreateProcess(wineboot.exe) failed: " << GetLastError();
    }
    if (WaitForSingleObject(wineboot.info.hProcess, static_cast<DWORD>(kShutdownLimit.count())) != WAIT_OBJECT_0) {
        TerminateProcess(wineboot.info.hProcess, 1);
        return ::testing::AssertionFailure() << "wineboot --end-session did not end within 60 s";
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(wineboot.info.hProcess, &code);
    if (code != 0) {
        return ::testing::AssertionFailure()
               << "wineboot --end-session exited with " << code << ": a window refused to end the session";
    }
    return ::testing::AssertionSuccess();
}

bool SameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    return a && b && a->type == b->type && a->data == b->data;
}

class EndOfSession : public E2eTest {};

// The user sets the sniffer and the automatic clear, minimises the window and shuts down: at
// the next start every choice is back, and that run's close writes the very same bytes.
TEST_F(EndOfSession, ShutdownWhileMinimisedKeepsEveryChoiceAsTheCloseWritesIt) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    ASSERT_TRUE(app.Click(IDC_COOKIES));
    ASSERT_TRUE(app.Click(IDC_HISTORY));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(app.PressKey(IDC_INTERVAL, VK_RIGHT));
    ASSERT_EQ(app.SliderPos(), 5);
    ASSERT_TRUE(app.Click(IDC_SNIFFER));
    ASSERT_TRUE(app.Click(IDC_AUTO_CLEAR));
    ASSERT_TRUE(app.Click(IDC_ON_TOP));
    ASSERT_TRUE(PostMessageA(app.Main(), WM_SYSCOMMAND, IDM_VISITED, 0));
    ASSERT_TRUE(app.Sync());
    ASSERT_EQ(app.Check(IDC_AUTO_CLEAR), BST_CHECKED);
    ASSERT_TRUE(app.Minimise());
    ASSERT_FALSE(KeyExists(kSettingsPath)) << "only the close or the session's end writes the choices";

    ASSERT_TRUE(ShutDown());
    EXPECT_TRUE(app.ExitCode(kExitLimit)) << "the program outlived the session";
    const std::vector<Stored> chosen{{"cached_urls", "1"}, {"cookies", "1"},    {"IE_history", "1"},
                                     {"snifTimer", "1"},   {"auto_clear", "1"}, {"timer", "5"},
                                     {"modal", "1"},       {"visited", "1"},    {"browsers", ""}};
    ExpectStored(chosen);
    EXPECT_EQ(ValueNames(kSettingsPath).size(), chosen.size()) << "no value beyond these";
    std::vector<std::optional<RegValue>> atShutdown;
    for (const Stored& stored : chosen) atShutdown.push_back(ReadValue(kSettingsPath, stored.name));

    BrumixProcess again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.Check(IDC_TEMP_FILES), BST_CHECKED);
    EXPECT_EQ(again.Check(IDC_COOKIES), BST_CHECKED);
    EXPECT_EQ(again.Check(IDC_HISTORY), BST_CHECKED);
    EXPECT_EQ(again.SliderPos(), 5);
    EXPECT_EQ(again.Check(IDC_SNIFFER), BST_CHECKED);
    EXPECT_EQ(again.Check(IDC_AUTO_CLEAR), BST_CHECKED);
    EXPECT_EQ(again.Check(IDC_ON_TOP), BST_CHECKED);
    ASSERT_TRUE(again.Close());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::optional<RegValue> atClose = ReadValue(kSettingsPath, chosen[i].name);
        EXPECT_TRUE(SameValue(atClose, atShutdown[i]))
            << chosen[i].name << ": " << Describe(atClose) << " at the close, " << Describe(atShutdown[i])
            << " at the shutdown";
    }
}

// The bytes of a class name as a dialog template holds it: UTF-16, as the resource compiler
// spelled it (windres writes it in capitals).
std::vector<char> TemplateClassName(const std::string& name) {
    std::vector<char> bytes;
    for (char c : name) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

// A copy of the program, in the prefix's temporary folder, whose main window cannot be
// created: the slider's class name in the main dialog template names a class nobody
// registered, so its control, and with it the dialog, cannot be created. (Wine cannot
// rewrite the resources of an image whose .rsrc is not its last section, so the copy is
// patched in place.) Empty when the copy cannot be made.
std::string CopyWithBrokenMainWindow() {
    std::ifstream in(ProgramPath(), std::ios::binary);
    std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<char>::iterator> found;
    for (const char* spelling : {"MSCTLS_TRACKBAR32", "msctls_trackbar32"}) {
        const std::vector<char> name = TemplateClassName(spelling);
        for (auto at = std::search(image.begin(), image.end(), name.begin(), name.end()); at != image.end();
             at = std::search(at + 1, image.end(), name.begin(), name.end())) {
            found.push_back(at);
        }
    }
    // Only the main dialog has a slider.
    if (found.size() != 1) return {};
    // "MSCTLS_TRACKBAR32" becomes "MSCTLS_TRACKBAX32".
    *(found.front() + 2 * 14) = 'X';

    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::string copy = std::string(temp) + "winbrumix-broken-window.exe";
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
    out.close();
    return out ? copy : std::string();
}

class StartFailure : public E2eTest {};

// A scheduled task or a script sees that the window never came up: the exit code says so.
TEST_F(StartFailure, MainWindowThatCannotBeCreatedEndsTheProcessWithCodeOne) {
    const std::string copy = CopyWithBrokenMainWindow();
    ASSERT_FALSE(copy.empty()) << "no copy with a broken main window could be made";
    {
        BrumixProcess broken(copy);
        EXPECT_FALSE(broken.Start());
        const std::optional<DWORD> code = broken.ExitCode(kExitLimit);
        ASSERT_TRUE(code) << "the program runs on without its window";
        EXPECT_EQ(*code, 1u);
    }
    EXPECT_FALSE(KeyExists(kSettingsPath)) << "a program that never showed its window writes no choices";
    EXPECT_TRUE(DeleteFileA(copy.c_str()));
}

}  // namespace
}  // namespace e2e

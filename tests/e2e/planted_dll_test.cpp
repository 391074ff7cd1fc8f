// winbrumix.exe beside a wininet.dll and a comctl32.dll that someone else put there: it loads
// neither and still works; without the system's own comctl32 it says so and ends.
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/message_box.h"
#include "tests/e2e/planted_dlls.h"

namespace e2e {
namespace {

constexpr Millis kExitLimit(10000);

class PlantedDlls : public E2eTest {};

TEST_F(PlantedDlls, TheWindowLoadsNeitherPlantedDllAndStillShowsItsCounts) {
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    SeedTypedUrls({"url1"});
    PlantedFolder folder(ProgramPath());
    ASSERT_EQ(folder.Problem(), "");
    {
        BrumixProcess copy(folder.Program());
        const ::testing::AssertionResult started = copy.Start();
        EXPECT_TRUE(started);
        if (started) {
            EXPECT_EQ(copy.Text(IDC_CACHED_COUNT), "Cached Files: 2");
            EXPECT_EQ(copy.Text(IDC_COOKIE_COUNT), "Cookies: 1");
            EXPECT_EQ(copy.Text(IDC_HISTORY_COUNT), "URLs In History: 1");
            EXPECT_TRUE(copy.Close());
            EXPECT_EQ(copy.ExitCode(kExitLimit), 0u);
        }
    }
    EXPECT_EQ(folder.Loaded(), std::vector<std::string>{});
}

TEST_F(PlantedDlls, WithoutTheSystemsComctl32TheWindowSaysSoAndEndsWithSix) {
    const DllOverrides noComctl32("winbrumix.exe", {{"comctl32", ""}});
    ASSERT_TRUE(noComctl32.Ok());
    ASSERT_TRUE(app.Launch());
    HWND box = app.WaitForBox("winbrumix");
    ASSERT_NE(box, nullptr) << "no box within 10 s";
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.text.rfind("Win Brumix cannot start: comctl32.dll could not be loaded from the system folder", 0),
              0u)
        << view.text;
    EXPECT_EQ(view.icon, "hand");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.ExitCode(kExitLimit), 6u);
    EXPECT_FALSE(KeyExists(kSettingsPath));
}

}  // namespace
}  // namespace e2e

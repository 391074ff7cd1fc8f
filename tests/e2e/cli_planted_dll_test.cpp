// brumix.exe beside a wininet.dll and a comctl32.dll that someone else put there: it loads
// neither and still counts; without the system's own wininet it says so and exits with 6.
#include "tests/e2e/cli_e2e_fixture.h"
#include "tests/e2e/planted_dlls.h"

namespace e2e {
namespace {

class CliPlantedDlls : public CliE2e {};

TEST_F(CliPlantedDlls, BrumixLoadsNeitherPlantedDllAndStillCounts) {
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    SeedTypedUrls({"url1"});
    PlantedFolder folder(CliPath());
    ASSERT_EQ(folder.Problem(), "");
    const CliResult run = RunCliAt(folder.Program(), {"count"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cached Files: 2", "Cookies: 1", "URLs In History: 1"});
    EXPECT_EQ(folder.Loaded(), std::vector<std::string>{});
}

TEST_F(CliPlantedDlls, WithoutTheSystemsWininetBrumixSaysSoAndExitsWithSix) {
    SeedTypedUrls({"url1"});
    const DllOverrides noWininet(kCliExe, {{"wininet", ""}});
    ASSERT_TRUE(noWininet.Ok());
    const CliResult run = RunCli({"clear", "--history"});
    EXPECT_EQ(run.exitCode, 6u) << Said(run);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("brumix: wininet.dll could not be loaded from the system folder (error ", 0), 0u)
        << run.err;
    EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 1u) << "nothing is touched";
}

}  // namespace
}  // namespace e2e

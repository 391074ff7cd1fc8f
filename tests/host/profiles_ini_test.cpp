// profiles.ini's reader: the profiles Firefox would find, what it refuses, and the folders a
// profile's path may name.
#include "sweep/profiles_ini.h"

#include <gtest/gtest.h>

namespace {

std::string Listed(std::string_view text) {
    const ProfilesIni ini = ReadProfilesIni(text);
    std::string listed;
    for (const IniProfile& profile : ini.profiles)
        listed += profile.section + (profile.relative ? " relative " : " full ") + profile.path + ";";
    for (const std::string& problem : ini.problems) listed += " [" + problem + "]";
    return listed;
}

TEST(ProfilesIniTest, ListsTheProfilesFirefoxFindsInItsOrder) {
    EXPECT_EQ(Listed("\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n; a comment\r\n# another\r\n"
                     "[Profile1]\nName=b\nIsRelative=0\nPath=D:\\b\n[Profile0]\rName=a\rIsRelative=1\rPath=Profiles/a\r"
                     "[Install4F96D1932A9F858E]\r\nDefault=Profiles/a\r\n"),
              "Profile0 relative Profiles/a;Profile1 full D:\\b;");
    // Firefox stops at the first number missing or without IsRelative, and takes anything but
    // "1" for a full path.
    EXPECT_EQ(Listed("[Profile0]\nName=a\nIsRelative=yes\nPath= C:\\a \n[Profile2]\nName=c\nIsRelative=1\nPath=c\n"),
              "Profile0 full C:\\a;");
    EXPECT_EQ(Listed("[Profile0]\nName=a\nPath=a\n[Profile1]\nName=b\nIsRelative=1\nPath=b\n"), "");
    // Sections and keys are told apart by case, as Firefox tells them.
    EXPECT_EQ(Listed("[profile0]\nName=a\nIsRelative=1\nPath=a\n"), "");
    EXPECT_EQ(Listed("[Profile0]\nName=a\nIsRelative=1\npath=a\n"), " [Profile0: no Path]");
}

TEST(ProfilesIniTest, PassesOverAProfileWrittenAmbiguouslyOrWithoutItsKeys) {
    EXPECT_EQ(Listed("[Profile0]\nName=a\nIsRelative=1\nPath=a\nPath=b\n[Profile1]\nName=b\nIsRelative=1\nPath=b\n"),
              "Profile1 relative b; [Profile0: Path given twice]");
    EXPECT_EQ(Listed("[Profile0]\nName=a\nIsRelative=1\nPath=a\n[Profile0]\nName=z\n"),
              " [Profile0: the section given twice]");
    EXPECT_EQ(Listed("[Profile0]\nIsRelative=1\nPath=a\n[Profile1]\nName=b\nIsRelative=1\nPath=\n"),
              " [Profile0: no Name] [Profile1: no Path]");
}

TEST(ProfilesIniTest, RefusesTheWholeFileForALineItCannotRead) {
    const std::string profile = "[Profile0]\nName=a\nIsRelative=1\nPath=a\n";
    for (const std::string& odd : {std::string("no equals sign"), std::string("Key=before any section"),
                                   std::string("[Profile1"), std::string("[]"), std::string("[a]b]"),
                                   std::string("=value"), std::string("Path=a\x01"), std::string("[a\0b]", 5)}) {
        const bool first = odd.starts_with("Key=");
        EXPECT_EQ(Listed(first ? odd + "\n" + profile : profile + odd + "\n"),
                  " [line " + std::string(first ? "1" : "5") + " is no section, key or comment]")
            << odd;
    }
    EXPECT_EQ(Listed(std::string(kProfilesIniMaxBytes + 1, '\n')), " [larger than 1 MB]");
}

std::string Folder(std::string_view path, bool relative) {
    std::string problem;
    return ProfileFolderPath(path, relative, "C:\\AppData\\Mozilla\\Firefox", problem).value_or("refused: " + problem);
}

TEST(ProfileFolderPathTest, TakesOnlyAPathThatPlainlyNamesAFolder) {
    EXPECT_EQ(Folder("Profiles/x.default-release", true), "C:\\AppData\\Mozilla\\Firefox\\Profiles\\x.default-release");
    EXPECT_EQ(Folder("Profiles\\x", true), "C:\\AppData\\Mozilla\\Firefox\\Profiles\\x");
    EXPECT_EQ(Folder("d:/Firefox/Work", false), "d:\\Firefox\\Work");
    EXPECT_EQ(Folder("\\\\server\\share\\ff", false), "\\\\server\\share\\ff");
    const std::string relative = "refused: its relative path is not plainly a folder under Firefox's";
    for (const char* path : {"../Outside", "Profiles/../..", "./x", "Profiles//x", "Profiles/x/", "C:\\x", "x.", "x ",
                             "Profiles/con", "aux.txt", "COM1", "a:b", "a*", ""})
        EXPECT_EQ(Folder(path, true), relative) << path;
    EXPECT_EQ(Folder(std::string(256, 'a'), true), relative);
    const std::string full = "refused: its path is not plainly a folder on a drive or a share";
    for (const char* path : {"C:\\", "C:", "C:x", "Profiles/x", "\\x", "\\\\server\\share", "\\\\server\\share\\",
                             "\\\\?\\C:\\x", "\\\\.\\PhysicalDrive0\\x", "C:\\a\\..\\..\\Windows", "1:\\x", "C:\\nul"})
        EXPECT_EQ(Folder(path, false), full) << path;
}

}  // namespace

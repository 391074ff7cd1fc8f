// The guard that keeps these tests out of any prefix but the one wine-run made for them.
#include "tests/support/throwaway_prefix.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(ThrowawayPrefixTest, RefusesWithoutTheMarkOrWithAMarkForAnotherPrefix) {
    std::string why;
    ASSERT_TRUE(InThrowawayPrefix(why)) << why;
    char mark[MAX_PATH * 2] = {};
    ASSERT_GT(GetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", mark, sizeof(mark)), 0u);

    SetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", nullptr);
    EXPECT_FALSE(InThrowawayPrefix(why));
    EXPECT_NE(why.find("not set"), std::string::npos) << why;

    SetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", "/home/someone/.wine");
    EXPECT_FALSE(InThrowawayPrefix(why));
    EXPECT_NE(why.find("does not name"), std::string::npos) << why;

    SetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", mark);
    EXPECT_TRUE(InThrowawayPrefix(why)) << why;
}

// Mark and WINEPREFIX agreeing is not enough when both name a prefix other than the one
// whose drive C: this process sees.
TEST(ThrowawayPrefixTest, RefusesWhenDriveCLiesOutsideTheMarkedPrefix) {
    std::string why;
    ASSERT_TRUE(InThrowawayPrefix(why)) << why;
    char mark[MAX_PATH * 2] = {};
    ASSERT_GT(GetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", mark, sizeof(mark)), 0u);
    char prefix[MAX_PATH * 2] = {};
    ASSERT_GT(GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix)), 0u);

    SetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", "/home/someone/.wine");
    SetEnvironmentVariableA("WINEPREFIX", "/home/someone/.wine");
    EXPECT_FALSE(InThrowawayPrefix(why));
    EXPECT_NE(why.find("lies outside"), std::string::npos) << why;

    SetEnvironmentVariableA("BRUMIX_THROWAWAY_PREFIX", mark);
    SetEnvironmentVariableA("WINEPREFIX", prefix);
    EXPECT_TRUE(InThrowawayPrefix(why)) << why;
}

}  // namespace

// Win32UrlHistory against Wine's history object, whose clear is a stub (E_NOTIMPL): the call is
// made and answered, and the thread's COM is left as the call found it.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include "platform/win32/win32_url_history.h"

namespace {

TEST(Win32UrlHistoryTest, ClearIsAnsweredAndLeavesTheThreadsApartmentAsItWas) {
    Win32UrlHistory history;
    const std::int32_t result = history.ClearHistory();
    EXPECT_TRUE(result == kSOk || result == kENotImpl) << std::hex << result;
    // COM was set up for the call alone: the thread has no apartment now.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    // A thread in another apartment keeps it, and the call is still made.
    EXPECT_EQ(history.ClearHistory(), result);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the thread's apartment was ended";
    CoUninitialize();
    CoUninitialize();
}

}  // namespace

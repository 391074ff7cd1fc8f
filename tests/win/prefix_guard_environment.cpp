// Ends the test executable before its first test unless InThrowawayPrefix agrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/throwaway_prefix.h"

namespace {

class PrefixGuardEnvironment : public ::testing::Environment {
public:
    // Exits rather than failing: GoogleTest would report the tests it then leaves out as
    // skipped, which reads like a pass.
    void SetUp() override {
        std::string why;
        if (InThrowawayPrefix(why)) return;
        std::fprintf(stderr, "REFUSING TO RUN, nothing was touched: %s\n", why.c_str());
        std::fflush(nullptr);
        std::exit(3);
    }
};

[[maybe_unused]] ::testing::Environment* const kGuard = ::testing::AddGlobalTestEnvironment(new PrefixGuardEnvironment);

}  // namespace

// Decides whether this process may delete anything: only under Wine, inside the throwaway prefix.
#pragma once

#include <string>

namespace e2e {

// Empty when it is safe to go on; otherwise the reason to refuse.
std::string WhyNotThrowaway();

}  // namespace e2e

// The file version in the executable's own version record, for --version.
#include "platform/version_record.h"

#include <cstdint>

namespace {

// The fixed part opens with this signature, on a 32-bit boundary after the record's key.
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

std::uint32_t ReadLe32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

}  // namespace

std::string FileVersionFromRecord(const void* record, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    // Signature, structure version, then the file version's high and low halves.
    constexpr std::size_t kNeeded = 16;
    for (std::size_t at = 0; size >= kNeeded && at <= size - kNeeded; at += 4) {
        if (ReadLe32(bytes + at) != kFixedInfoSignature) continue;
        const std::uint32_t high = ReadLe32(bytes + at + 8);
        const std::uint32_t low = ReadLe32(bytes + at + 12);
        return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." + std::to_string(low >> 16) +
               "." + std::to_string(low & 0xFFFF);
    }
    return {};
}

// Punycode (RFC 3492): the ASCII form of one label of an internationalised host name.
#include "sweep/punycode.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// The parameters of RFC 3492, section 5.
constexpr std::uint32_t kBase = 36;
constexpr std::uint32_t kTMin = 1;
constexpr std::uint32_t kTMax = 26;
constexpr std::uint32_t kSkew = 38;
constexpr std::uint32_t kDamp = 700;
constexpr std::uint32_t kInitialBias = 72;
constexpr std::uint32_t kInitialN = 0x80;
constexpr std::uint32_t kMaxInt = std::numeric_limits<std::uint32_t>::max();

char Digit(std::uint32_t value) {
    return static_cast<char>(value < 26 ? 'a' + value : '0' + (value - 26));
}

std::uint32_t Adapt(std::uint32_t delta, std::uint32_t points, bool first) {
    delta = first ? delta / kDamp : delta / 2;
    delta += delta / points;
    std::uint32_t k = 0;
    while (delta > ((kBase - kTMin) * kTMax) / 2) {
        delta /= kBase - kTMin;
        k += kBase;
    }
    return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

}  // namespace

std::optional<std::string> PunycodeEncode(std::u32string_view label) {
    if (label.size() >= kMaxInt) return std::nullopt;
    std::string output;
    for (const char32_t c : label)
        if (c < kInitialN) output += static_cast<char>(c);
    const auto basic = static_cast<std::uint32_t>(output.size());
    if (basic > 0) output += '-';

    std::uint32_t n = kInitialN;
    std::uint32_t delta = 0;
    std::uint32_t bias = kInitialBias;
    for (std::uint32_t handled = basic; handled < label.size();) {
        std::uint32_t next = kMaxInt;
        for (const char32_t c : label)
            if (c >= n) next = std::min<std::uint32_t>(next, c);
        if (next - n > (kMaxInt - delta) / (handled + 1)) return std::nullopt;
        delta += (next - n) * (handled + 1);
        n = next;
        for (const char32_t c : label) {
            if (c < n) {
                if (delta == kMaxInt) return std::nullopt;
                ++delta;
            }
            if (c != n) continue;
            std::uint32_t q = delta;
            for (std::uint32_t k = kBase;; k += kBase) {
                const std::uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
                if (q < t) break;
                output += Digit(t + (q - t) % (kBase - t));
                q = (q - t) / (kBase - t);
            }
            output += Digit(q);
            bias = Adapt(delta, handled + 1, handled == basic);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return output;
}

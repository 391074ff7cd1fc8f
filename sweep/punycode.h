// Punycode (RFC 3492): the ASCII form of one label of an internationalised host name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The encoding of the label's code points, without the "xn--" prefix; basic (ASCII) code points
// are copied as they are, in their case. Nothing when the encoding's integers would overflow,
// which only a label far longer than a host name allows can make them do.
std::optional<std::string> PunycodeEncode(std::u32string_view label);

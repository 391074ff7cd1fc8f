// Text handed to a write call that takes a limited amount at a time and may take less than
// it is given: the console's WriteConsoleW, a file's or pipe's WriteFile.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

// How much of text the next piece of at most limit units holds: one unit less where the limit
// would part the two halves of a UTF-16 surrogate pair, which a console would show as two
// broken characters.
template <class Char>
std::size_t NextPieceLength(std::basic_string_view<Char> text, std::size_t limit) {
    const std::size_t length = std::min(limit, text.size());
    if (length == text.size() || length < 2) return length;
    const auto last = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(text[length - 1]));
    const bool highSurrogate = sizeof(Char) == 2 && last >= 0xD800 && last <= 0xDBFF;
    return highSurrogate ? length - 1 : length;
}

// Hands all of text to write, piece by piece: write(data, count) returns how many units it
// took, 0 when it failed. False as soon as a write fails; a write that takes only part of a
// piece is followed by the rest.
template <class Char, class Write>
bool WriteInPieces(std::basic_string_view<Char> text, std::size_t limit, Write&& write) {
    while (!text.empty()) {
        const std::size_t taken = write(text.data(), NextPieceLength(text, limit));
        if (taken == 0) return false;
        text.remove_prefix(std::min(taken, text.size()));
    }
    return true;
}

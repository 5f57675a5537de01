// The program's two string types.
//
// Text:  bytes in code page 936 (GBK). Positions and lengths count bytes; positions used by
//        the text operations start at 1. By convention a Text holds no zero byte.
// Bytes: a byte buffer with an explicit length (a response body, a BMP image, UTF-16LE
//        code units of a WideText). It may hold zero bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// Bytes of a Text, without a terminator.
inline Bytes ToBytes(const Text& text) {
    return Bytes(text.begin(), text.end());
}

// The bytes up to the first zero byte, as Text.
inline Text ToText(const Bytes& bytes) {
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0)
        ++n;
    return Text(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

// Source files are UTF-8, and narrow literals keep the source bytes, so a narrow literal that
// must be Text holds its code page 936 bytes as escapes. Chinese texts of the Win32 layer
// are written as wide literals and converted where they become Text.

// "#引号": stands for one double quote in markers and patterns that allow it.
inline constexpr char kQuoteToken[] = "#\xD2\xFD\xBA\xC5";

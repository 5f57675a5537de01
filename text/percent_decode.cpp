#include "text/encodings.h"

#include <cstring>

namespace {

// Value of one escape digit: its place in "0123456789ABCDEF" after upper-casing, -2 for
// any other byte. The odd value for a non-digit is what makes a malformed escape still
// give a byte (see PercentDecodeBytes).
int DigitValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -2;
}

} // namespace

Text PercentDecodeBytes(const Text& text) {
    const std::size_t length = text.size();
    const char* const bytes = text.data();
    // The output is never longer than the input: one reservation, then plain appends.
    Text out;
    out.reserve(length);
    std::size_t i = 0;
    while (i < length) {
        // Copy the run up to the next escape in one piece.
        const void* found = std::memchr(bytes + i, '%', length - i);
        std::size_t escape =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes) : length;
        out.append(bytes + i, escape - i);
        if (escape == length)
            break;
        // A digit position past the end of the input counts as the value 0.
        int high =
            escape + 1 < length ? DigitValue(static_cast<unsigned char>(bytes[escape + 1])) : 0;
        int low =
            escape + 2 < length ? DigitValue(static_cast<unsigned char>(bytes[escape + 2])) : 0;
        // The low eight bits of the signed sum: 16 * -2 + 1 = -31 gives 0xE1.
        unsigned char value =
            static_cast<unsigned char>(static_cast<unsigned>(16 * high + low) & 0xFFu);
        if (value != 0)
            out.push_back(static_cast<char>(value));
        i = escape + 3;
    }
    return out;
}

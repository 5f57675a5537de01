#include "text/encodings.h"

#include <array>
#include <cstring>

namespace {

// Value of each byte as an escape digit: its place in "0123456789ABCDEF" after
// upper-casing, -2 for any other byte. The odd value for a non-digit is what makes a
// malformed escape still give a byte (see PercentDecodeBytes).
constexpr std::array<signed char, 256> kDigitValues = [] {
    std::array<signed char, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[static_cast<std::size_t>(c)] = -2;
    for (int d = 0; d < 10; ++d)
        values[static_cast<std::size_t>('0' + d)] = static_cast<signed char>(d);
    for (int d = 0; d < 6; ++d) {
        values[static_cast<std::size_t>('A' + d)] = static_cast<signed char>(10 + d);
        values[static_cast<std::size_t>('a' + d)] = static_cast<signed char>(10 + d);
    }
    return values;
}();

int DigitValue(unsigned char c) {
    return kDigitValues[c];
}

} // namespace

Text PercentDecodeBytes(const Text& text) {
    const std::size_t length = text.size();
    const unsigned char* const in = reinterpret_cast<const unsigned char*>(text.data());
    // The output is never longer than the input: it is written into one buffer of the
    // input's size, which is cut to what was written at the end.
    Text out(length, '\0');
    char* const begin = &out[0];
    char* o = begin;
    std::size_t i = 0;
    while (i < length) {
        if (in[i] != '%') {
            // Copy the run up to the next escape in one piece.
            const void* found = std::memchr(in + i, '%', length - i);
            const std::size_t escape =
                found ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - in)
                      : length;
            std::memcpy(o, in + i, escape - i);
            o += escape - i;
            i = escape;
            continue;
        }
        // A run of escapes with both digits present.
        while (i + 2 < length && in[i] == '%') {
            // The low eight bits of the signed sum (16 * -2 + 1 = -31 gives 0xE1); a zero
            // byte is written but not kept.
            const unsigned value =
                static_cast<unsigned>(16 * DigitValue(in[i + 1]) + DigitValue(in[i + 2])) & 0xFFu;
            *o = static_cast<char>(value);
            o += value != 0;
            i += 3;
        }
        if (i + 2 >= length && i < length && in[i] == '%') {
            // An escape cut off by the end of the input: a missing digit counts as 0.
            const int high = i + 1 < length ? DigitValue(in[i + 1]) : 0;
            const unsigned value = static_cast<unsigned>(16 * high) & 0xFFu;
            *o = static_cast<char>(value);
            o += value != 0;
            i = length;
        }
    }
    out.resize(static_cast<std::size_t>(o - begin));
    return out;
}

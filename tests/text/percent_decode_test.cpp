#include "text/encodings.h"

#include <gtest/gtest.h>

namespace {

TEST(PercentDecodeBytes, EscapesAndMalformedEscapes) {
    struct {
        const char* why;
        Text input, expected;
    } cases[] = {
        {"two escapes", "%41%62", "Ab"},
        {"lower-case digits", "%4a%4A", "JJ"},
        {"plain text is copied", "a+b c", "a+b c"},
        {"empty", "", ""},
        {"%00 gives nothing", "a%00b", "ab"},
        {"a lone % at the end disappears", "abc%", "abc"},
        {"only a %", "%", ""},
        {"% and one digit at the end", "abc%4", "abc\x40"},
        {"% and a 0 at the end gives nothing", "x%0", "x"},
        {"two non-digits: 16*-2-2 = -34", "%zz", "\xDE"},
        {"8 and a non-digit: 16*8-2 = 126", "%8z", "\x7E"},
        {"a non-digit and 1: 16*-2+1 = -31", "%z1", "\xE1"},
        {"%% at the end: 16*-2+0 = -32", "%%", "\xE0"},
        {"a % as the high digit of an escape", "%%41",
         "\xE4"
         "1"},
        {"UTF-8 bytes of 中", "%E4%B8%AD", "\xE4\xB8\xAD"},
        {"an escape right after another", "%41%", "A"},
        {"the scan is byte-wise over two-byte text", "\xD6\xD0%41",
         "\xD6\xD0"
         "A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PercentDecodeBytes(c.input), c.expected) << c.why;
    }
}

TEST(PercentDecodeBytes, LongInputDecodesWhole) {
    Text input;
    Text expected;
    for (int i = 0; i < 100000; ++i) {
        input += "x%41%e4";
        expected += "xA\xE4";
    }
    EXPECT_EQ(PercentDecodeBytes(input), expected);
}

} // namespace

#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SearchCase {
    const char* why;
    Text text;
    Text marker;
    int start;
    bool ignoreCase;
    int expected;
};

// "\xB0\x41" and "\xB0\x61" are two-byte characters whose second byte looks like 'A' / 'a';
// "\xD6\xD0\xCE\xC4" is 中文.
const SearchCase kSearchCases[] = {
    {"a trail byte that looks like the marker is stepped over",
     "\xB0\x41"
     "A",
     "A", 1, false, 3},
    {"a marker straddling two characters is not found", "\xD6\xD0\xCE\xC4", "\xD0\xCE", 1, false,
     -1},
    {"a two-byte marker at the second character", "\xD6\xD0\xCE\xC4", "\xCE\xC4", 1, false, 3},
    {"a lead byte at the very end", "a\xB0", "\xB0", 1, false, 2},
    {"boundaries are counted from the start position",
     "\xB0\x41"
     "A",
     "A", 2, false, 2},
    {"from a later start", "abcabc", "c", 4, false, 6},
    {"a start below 1 counts as 1", "abc", "a", -5, false, 1},
    {"a start of 0 counts as 1", "abc", "a", 0, false, 1},
    {"a start beyond the end", "abc", "c", 10, false, -1},
    {"a start just after the end", "abc", "c", 4, false, -1},
    {"a marker longer than the text", "ab", "abc", 1, false, -1},
    {"a marker that runs past the end", "abca", "ab", 3, false, -1},
    {"an empty marker is found at 1", "abc", "", 1, false, 1},
    {"an empty marker is found at 1 from a later start too", "abc", "", 3, false, 1},
    {"an empty marker past the end", "abc", "", 4, false, -1},
    {"an empty marker in an empty text", "", "", 1, false, -1},
    {"exact case", "xABc", "abc", 1, false, -1},
    {"ignoring case", "xABc", "abc", 1, true, 2},
    {"ignoring case leaves the second byte of a character exact", "\xB0\x61", "\xB0\x41", 1, true,
     -1},
    {"ignoring case still matches a two-byte character itself", "x\xB0\x41", "\xB0\x41", 1, true,
     2},
    {"ignoring case does not match a trail byte as a letter",
     "\xB0\x61"
     "A",
     "a", 1, true, 3},
};

TEST(TextOps, Search) {
    for (const SearchCase& c : kSearchCases) {
        EXPECT_EQ(Search(c.text, c.marker, c.start, c.ignoreCase), c.expected) << c.why;
    }
}

TEST(TextOps, SubstringLeftRight) {
    const Text t = "abcdef";
    struct {
        int p, n;
        Text expected;
    } substrings[] = {{2, 3, "bcd"}, {5, 10, "ef"}, {6, 1, "f"}, {0, 2, ""},
                      {-1, 2, ""},   {7, 1, ""},    {2, 0, ""},  {2, -1, ""}};
    for (const auto& c : substrings) {
        EXPECT_EQ(Substring(t, c.p, c.n), c.expected) << c.p << "," << c.n;
    }
    struct {
        int n;
        Text left, right;
    } ends[] = {{2, "ab", "ef"}, {6, t, t}, {100, t, t}, {0, "", ""}, {-3, "", ""}};
    for (const auto& c : ends) {
        EXPECT_EQ(Left(t, c.n), c.left) << c.n;
        EXPECT_EQ(Right(t, c.n), c.right) << c.n;
    }
    EXPECT_EQ(Left("", 3), "");
    EXPECT_EQ(Right("", 3), "");
}

TEST(TextOps, Split) {
    struct {
        Text text, separator;
        std::vector<Text> pieces;
    } cases[] = {
        {"a;b;c", ";", {"a", "b", "c"}},
        {"a;;b", ";", {"a", "", "b"}},
        {"a;b;", ";", {"a", "b"}},
        {";a", ";", {"", "a"}},
        {";", ";", {""}},
        {";;", ";", {"", ""}},
        {"", ";", {}},
        {"abc", ";", {"abc"}},
        {"abc", "", {"abc"}},
        {"a; b; ", "; ", {"a", "b"}},
        {"a;b", "; ", {"a;b"}},
        // The 'A' inside the two-byte character is not a separator.
        {"\xB0\x41"
         "Ab",
         "A",
         {"\xB0\x41", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(c.text, c.separator), c.pieces) << c.text << " / " << c.separator;
    }
}

TEST(TextOps, Replace) {
    struct {
        Text text, oldPart, newPart;
        bool ignoreCase;
        Text expected;
    } cases[] = {
        {"aXbXc", "X", "--", false, "a--b--c"},
        {"aaa", "aa", "b", false, "ba"},
        {"AbA", "a", "x", false, "AbA"},
        {"AbA", "a", "x", true, "xbx"},
        {"abc", "", "x", false, "abc"},
        {"", "a", "x", false, ""},
        {"abc", "abc", "", false, ""},
        {"aa", "a", "aa", false, "aaaa"},
        {"\xB0\x41"
         "A",
         "A", "z", false,
         "\xB0\x41"
         "z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Replace(c.text, c.oldPart, c.newPart, c.ignoreCase), c.expected) << c.text;
    }
}

TEST(TextOps, RemoveSpacesAndTrim) {
    struct {
        Text text, removed, trimmed;
    } cases[] = {
        {" a b ", "ab", "a b"},
        {"  ", "", ""},
        {"", "", ""},
        // A1 A1 is the full-width space.
        {"\xA1\xA1"
         "a\xA1\xA1"
         "b\xA1\xA1",
         "ab",
         "a\xA1\xA1"
         "b"},
        // 啊 (B0 A1) followed by “ (A1 B0): the A1 A1 in the middle is no space.
        {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        // A character ending in A1, then a full-width space: only the space goes.
        {"x\xB0\xA1\xA1\xA1", "x\xB0\xA1", "x\xB0\xA1"},
        {" \xD6\xD0 ", "\xD6\xD0", "\xD6\xD0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RemoveSpaces(c.text), c.removed) << c.text;
        EXPECT_EQ(Trim(c.text), c.trimmed) << c.text;
    }
}

TEST(TextOps, LowerAsciiLeavesTwoByteCharactersAlone) {
    EXPECT_EQ(LowerAscii("AbC\xB0\x41Z"), "abc\xB0\x41z");
    EXPECT_EQ(LowerAscii(""), "");
}

TEST(TextOps, EqualCountsLetterCase) {
    EXPECT_TRUE(Equal("ab", "ab"));
    EXPECT_FALSE(Equal("ab", "aB"));
    EXPECT_FALSE(Equal("ab", "ab "));
}

} // namespace

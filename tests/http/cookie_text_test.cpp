#include "http/cookie_text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBetween, Markers) {
    const Text quote = kQuoteToken;
    struct {
        const char* why;
        Text text, left, right;
        int start;
        bool ignoreCase;
        Text expected;
    } cases[] = {
        {"a cookie item keeps its leading blank", "Set-Cookie: sid=42; path=/", "Set-Cookie:", ";",
         1, false, " sid=42"},
        {"left marker missing", "abc", "x", "c", 1, false, ""},
        {"right marker only before the left one", "a;b=", "b=", ";", 1, false, ""},
        {"right marker right after the left one", "a[]b", "[", "]", 1, false, ""},
        {"quote token in both markers", "a name=\"v\" b", "name=" + quote, quote, 1, false, "v"},
        {"quote token with nothing between the quotes", "x=\"\"", "x=" + quote, quote, 1, false,
         ""},
        {"empty right marker", "abc", "a", "", 1, false, ""},
        {"empty left marker: from byte 1 whatever start is", "a;b;c", "", ";", 3, false, "a"},
        {"empty left marker with nothing from start on", "a;b", "", ";", 10, false, ""},
        {"both markers empty", "abc", "", "", 1, false, ""},
        {"empty text", "", "a", "b", 1, false, ""},
        {"the right marker is looked for after the left one", "abab", "ab", "b", 1, false, "a"},
        {"from a later start", "a=1;a=2;", "a=", ";", 2, false, "2"},
        {"ignoring case", "X-Name: v\r\n", "x-name:", "\r\n", 1, true, " v"},
        {"exact case by default", "X-Name: v\r\n", "x-name:", "\r\n", 1, false, ""},
        // "\xB0[" is one character whose second byte is '['; the real '[' comes later.
        {"a left marker inside a two-byte character is not found", "x\xB0[y]z[w]", "[", "]", 1,
         false, "w"},
        {"a right marker inside a two-byte character is not found", "[a\xB0]b]", "[", "]", 1, false,
         "a\xB0]b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected) << c.why;
    }
}

TEST(CookieName, NamePartTrimmed) {
    struct {
        Text item, name;
    } cases[] = {{"a=1", "a"},   {"=x", ""}, {"flag", "flag"}, {"a=b=c", "a"},
                 {" a =1", "a"}, {"", ""},   {"a=", "a"},      {"\xD6\xD0=1", "\xD6\xD0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CookieName(c.item), c.name) << c.item;
    }
}

TEST(HasCookieName, ComparesNamesOnly) {
    const ItemList items = {"a=1", "flag", " x =2"};
    EXPECT_TRUE(HasCookieName(items, "a"));
    EXPECT_TRUE(HasCookieName(items, "flag"));
    EXPECT_TRUE(HasCookieName(items, "x"));
    EXPECT_FALSE(HasCookieName(items, "1"));
    EXPECT_FALSE(HasCookieName(items, "A"));
    EXPECT_FALSE(HasCookieName({}, "a"));
    EXPECT_FALSE(HasCookieName({}, ""));
}

TEST(FindItem, FirstEqualItem) {
    const ItemList items = {"a", "b", "a"};
    EXPECT_EQ(FindItem(items, "a"), 1);
    EXPECT_EQ(FindItem(items, "b"), 2);
    EXPECT_EQ(FindItem(items, "c"), -1);
    EXPECT_EQ(FindItem(items, "A"), -1);
    EXPECT_EQ(FindItem({}, "a"), -1);
    EXPECT_EQ(FindItem({}, ""), -1);
}

TEST(RemoveDuplicates, KeepsFirstOccurrences) {
    struct {
        Text text, separator, expected;
    } cases[] = {
        {"a; b; a; x", "; ", "a; b; x"},
        {"", "; ", ""},
        {"a;a", ";", "a"},
        {"abc", "; ", "abc"},
        {"a; b; ", "; ", "a; b"},
        {"a=1; a=2; a=1", "; ", "a=1; a=2"},
        {"a; A", "; ", "a; A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RemoveDuplicates(c.text, c.separator), c.expected) << c.text;
    }
}

TEST(MergeCookies, UpdatesBothTexts) {
    struct {
        const char* why;
        Text oldCookies, newCookies;
        Text mergedOld, spacelessNew;
    } cases[] = {
        {"received first, then old ones not received again", "a=1; b=2", "b=3; c=4",
         "b=3; c=4; a=1", "b=3;c=4"},
        {"a deleted cookie is dropped", "a=1; b=2", "a=deleted", "b=2", "a=deleted"},
        {"of two old items with one name only the first is kept", "a=1; a=2", "", "a=1", ""},
        {"equal received items are merged", "", "a=1; a=1", "a=1", "a=1;a=1"},
        {"received items of one name with two values both stay", "", "a=1; a=2", "a=1; a=2",
         "a=1;a=2"},
        {"spaces around = are removed", "x = 1", "", "x=1", ""},
        {"both empty", "", "", "", ""},
        {"an old deleted cookie is dropped too", "a=deleted; b=1", "", "b=1", ""},
        {"exactly =deleted as the last 8 bytes", "=deleted", "c=1", "c=1", "c=1"},
        {"items shorter than 8 bytes are kept", "deleted", "", "deleted", ""},
        {"deleted without = is kept", "xdeleted", "", "xdeleted", ""},
        {"full-width spaces are removed", "a\xA1\xA1=1", "", "a=1", ""},
        {"a trailing separator adds no item", "a=1;", "b=2;", "b=2; a=1", "b=2;"},
        {"empty items are no cookies", "a=1;;;", ";c=3;;d=4", "c=3; d=4; a=1", ";c=3;;d=4"},
        {"only separators", "; ;", ";", "", ";"},
    };
    for (const auto& c : cases) {
        Text oldCookies = c.oldCookies;
        Text newCookies = c.newCookies;
        const Text result = MergeCookies(oldCookies, newCookies);
        EXPECT_EQ(oldCookies, c.mergedOld) << c.why;
        EXPECT_EQ(newCookies, c.spacelessNew) << c.why;
        EXPECT_EQ(result, oldCookies) << c.why;
    }
}

} // namespace

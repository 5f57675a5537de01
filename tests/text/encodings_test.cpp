#include "text/encodings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

// 中文 in code page 936, in UTF-16LE and in UTF-8.
const Text kChineseWord936 = "\xD6\xD0\xCE\xC4";
const Bytes kChineseWordWide = {0x2D, 0x4E, 0x87, 0x65};
const Text kChineseWordUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

Bytes WithNul(Bytes wide) {
    wide.push_back(0);
    wide.push_back(0);
    return wide;
}

// True when text is not empty and consists of the default character of code page 936 only.
bool AllDefaultCharacters(const Text& text) {
    return !text.empty() && text.find_first_not_of('?') == Text::npos;
}

// The same executable runs in two locales; each run says which ANSI code page it expects,
// so a run that silently got the other one fails here instead of proving nothing.
TEST(Encodings, RunsUnderTheExpectedAnsiCodePage) {
    wchar_t expected[16] = {};
    DWORD n = GetEnvironmentVariableW(L"KAPRINO_EXPECT_ACP", expected, 16);
    if (n == 0 || n >= 16)
        GTEST_SKIP() << "KAPRINO_EXPECT_ACP is not set; ANSI code page " << GetACP();
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::wcstoul(expected, nullptr, 10)));
}

TEST(AnsiToWide, EmptyTextGivesEmptyBytes) {
    EXPECT_TRUE(AnsiToWide("").empty());
    EXPECT_TRUE(AnsiToWide("", true).empty());
}

TEST(AnsiToWide, DecodesCodePage936WithItsNulUnit) {
    EXPECT_EQ(AnsiToWide("\xD6\xD0"), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(AnsiToWide("\xD6\xD0", true), (Bytes{0x2D, 0x4E}));
    Bytes mixed = {0x41, 0};
    mixed.insert(mixed.end(), kChineseWordWide.begin(), kChineseWordWide.end());
    EXPECT_EQ(AnsiToWide("A" + kChineseWord936), WithNul(mixed));
}

// A text cut after the first byte of a two-byte character: the terminating NUL is decoded
// with the text, and it must stay a NUL unit of its own instead of being taken for the
// second byte, or a string handed on as NUL-terminated would have no end.
TEST(AnsiToWide, LoneLeadByteAtTheEndKeepsTheNulUnit) {
    const Bytes wide = AnsiToWide("a\xC7");
    ASSERT_EQ(wide.size(), 6u);
    EXPECT_EQ(wide[0], 0x61);
    EXPECT_EQ(wide[1], 0);
    EXPECT_NE(wide[2] | (wide[3] << 8), 0) << "the lone byte becomes a character";
    EXPECT_EQ(wide[4], 0);
    EXPECT_EQ(wide[5], 0);
    EXPECT_EQ(AnsiToWide("a\xC7", true).size(), 4u);
}

TEST(WideToAnsi, StopsAtTheFirstNulUnitOrTheEnd) {
    struct {
        const char* why;
        Bytes wide;
        Text expected;
    } cases[] = {
        {"no NUL unit", kChineseWordWide, kChineseWord936},
        {"a NUL unit at the end", WithNul(kChineseWordWide), kChineseWord936},
        {"a NUL unit in the middle", {0x41, 0, 0, 0, 0x42, 0}, "A"},
        {"more zeros after the NUL, as in a zero-filled buffer", {0x41, 0, 0, 0, 0, 0, 0, 0}, "A"},
        {"an odd last byte is ignored", {0x41, 0, 0x42}, "A"},
        {"a single byte", {0x41}, ""},
        {"empty", {}, ""},
        {"a character 936 lacks (ก) becomes the default character", {0x01, 0x0E}, "?"},
        // e + combining acute accent: GBK has the precomposed é (A8 A6).
        {"a combining sequence is precomposed", {0x65, 0, 0x01, 0x03}, "\xA8\xA6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideToAnsi(c.wide), c.expected) << c.why;
    }
}

TEST(CodePageToWide, DecodesAllBytesAndAddsANulUnit) {
    EXPECT_EQ(CodePageToWide(kChineseWordUtf8), WithNul(kChineseWordWide));
    EXPECT_EQ(CodePageToWide(kChineseWord936, 936), WithNul(kChineseWordWide));
    EXPECT_EQ(CodePageToWide("ab"), (Bytes{0x61, 0, 0x62, 0, 0, 0}));
    EXPECT_EQ(CodePageToWide(""), (Bytes{0, 0}));
    // An invalid UTF-8 byte becomes the replacement character U+FFFD.
    EXPECT_EQ(CodePageToWide("\xFF"), (Bytes{0xFD, 0xFF, 0, 0}));
}

TEST(WideToCodePage, SizesItsBufferForTheTargetCodePage) {
    // UTF-8 needs three bytes for each of these characters; the ANSI code page may need
    // fewer (one under 1252), so a buffer sized from it would cut the result.
    Bytes wide;
    for (int i = 0; i < 1000; ++i)
        wide.insert(wide.end(), kChineseWordWide.begin(), kChineseWordWide.end());
    Text expected;
    for (int i = 0; i < 1000; ++i)
        expected += kChineseWordUtf8;
    EXPECT_EQ(WideToCodePage(WithNul(wide), 65001), expected);
    EXPECT_EQ(WideToCodePage(kChineseWordWide, 936), kChineseWord936);
    EXPECT_EQ(WideToCodePage(Bytes{0x41, 0, 0, 0, 0x42, 0}, 936), "A");
    EXPECT_EQ(WideToCodePage(Bytes{}, 936), "");
}

TEST(WideToCodePage, DefaultsToTheSystemAnsiCodePage) {
    EXPECT_EQ(WideToCodePage(kChineseWordWide), WideToCodePage(kChineseWordWide, GetACP()));
}

TEST(Utf8ToAnsi, ConvertsToCodePage936WhateverTheSystemCodePage) {
    EXPECT_EQ(Utf8ToAnsi(kChineseWordUtf8), kChineseWord936);
    EXPECT_EQ(Utf8ToAnsi("Kaprino 3.1"), "Kaprino 3.1");
    EXPECT_EQ(Utf8ToAnsi(""), "");
    // é (C3 A9) exists in GBK as A8 A6.
    EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9"), "caf\xA8\xA6");
}

TEST(Utf8ToAnsi, CharactersCodePage936LacksBecomeItsDefaultCharacter) {
    // ก (U+0E01) and 😀 (U+1F600, a surrogate pair).
    EXPECT_EQ(Utf8ToAnsi("a\xE0\xB8\x81"
                         "b"),
              "a?b");
    Text emoji = Utf8ToAnsi("a\xF0\x9F\x98\x80"
                            "b");
    ASSERT_GE(emoji.size(), 3u);
    EXPECT_EQ(emoji.front(), 'a');
    EXPECT_EQ(emoji.back(), 'b');
    EXPECT_TRUE(AllDefaultCharacters(emoji.substr(1, emoji.size() - 2))) << emoji;
}

TEST(Utf8ToAnsi, InvalidUtf8GivesDefaultCharactersNeverATruncatedResult) {
    const Text invalid[] = {"\xFF", "\xC3", "\xE4\xB8", "\xC0\xAF", "\xED\xA0\x80", "\x80\x80"};
    for (const Text& bad : invalid) {
        Text converted = Utf8ToAnsi("a" + bad + "b");
        ASSERT_GE(converted.size(), 3u) << bad;
        EXPECT_EQ(converted.front(), 'a') << bad;
        EXPECT_EQ(converted.back(), 'b') << bad;
        EXPECT_TRUE(AllDefaultCharacters(converted.substr(1, converted.size() - 2))) << bad;
    }
}

TEST(Utf8ToAnsi, LongTextConvertsWhole) {
    Text utf8, expected;
    for (int i = 0; i < 50000; ++i) {
        utf8 += kChineseWordUtf8 + "x";
        expected += kChineseWord936 + "x";
    }
    EXPECT_EQ(Utf8ToAnsi(utf8), expected);
}

// The strings of controls and automation objects: code page 936 both ways whatever the
// system's page is, with explicit lengths and no terminator added or expected.
TEST(WideFromTextAndBack, UseCodePage936WithExplicitLengths) {
    EXPECT_EQ(WideFromText(kChineseWord936), std::wstring(L"\x4E2D\x6587"));
    EXPECT_EQ(WideFromText("A" + kChineseWord936 + "b"), std::wstring(L"A\x4E2D\x6587"
                                                                      L"b"));
    EXPECT_EQ(WideFromText(""), std::wstring());
    EXPECT_EQ(TextFromWide(std::wstring(L"\x4E2D\x6587")), kChineseWord936);
    const wchar_t longer[] = L"\x4E2D\x6587xyz";
    EXPECT_EQ(TextFromWide(longer, 1), "\xD6\xD0") << "only the units asked for";
    EXPECT_EQ(TextFromWide(longer, 0), "");
    EXPECT_EQ(TextFromWide(nullptr, 3), "");
    EXPECT_EQ(TextFromWide(std::wstring(L"a\x0E01")), "a?") << "a character 936 lacks";
}

TEST(PercentDecode, FromUtf8GivesCodePage936) {
    EXPECT_EQ(PercentDecode("%E4%B8%AD%E6%96%87", true), kChineseWord936);
    EXPECT_EQ(PercentDecode("%e4%b8%ad%e6%96%87", true), kChineseWord936);
    EXPECT_EQ(PercentDecode("<a>%E4%B8%AD</a>+%41", true), "<a>\xD6\xD0</a>+A");
    EXPECT_EQ(PercentDecode("%E4%B8%AD"), "\xE4\xB8\xAD");
    EXPECT_EQ(PercentDecode("", true), "");
}

} // namespace

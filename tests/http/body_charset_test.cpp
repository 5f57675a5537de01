#include "http/body_charset.h"

#include "win/com_apartment.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Bytes B(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

struct ConversionCase {
    const char* charset;
    std::string body;
    Text expected; // code page 936
    // Wine 8 has no converter for code page 54936: the text is then kept as it is, which
    // for GB18030 is right for everything that code page 936 can hold.
    bool missingUnderWine = false;
};

CharsetRoute ExpectedRoute(const ConversionCase& c, bool wine) {
    return c.missingUnderWine && wine ? CharsetRoute::Unconverted : CharsetRoute::CodePage;
}

// "中文" in UTF-8, Big5 and GB18030, "日本" in Shift_JIS, "한" in EUC-KR (not in code page
// 936, so it comes out as the default character), "é" in ISO-8859-1.
const ConversionCase kConversions[] = {
    {"utf-8", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
    {"UTF-8", "\xEF\xBB\xBF\xE4\xB8\xAD", "\xD6\xD0"}, // the byte-order mark is dropped
    {"big5", "\xA4\xA4\xA4\xE5", "\xD6\xD0\xCE\xC4"},
    {"gb18030", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", true},
    {"Shift_JIS", "\x93\xFA\x96\x7B", "\xC8\xD5\xB1\xBE"},
    {"iso-8859-1", "caf\xE9", "caf\xA8\xA6"},
    {"GB2312", "\xD6\xD0", "\xD6\xD0"},
};

TEST(BodyCharset, CodePageConverterAlone) {
    ComApartment apartment;
    for (const ConversionCase& c : kConversions) {
        CharsetRoute route = CharsetRoute::Stream;
        const Text text =
            DecodeBodyCharset(B(c.body), ToText(B(c.body)), c.charset, nullptr, &route);
        EXPECT_EQ(text, c.expected) << c.charset;
        EXPECT_EQ(route, ExpectedRoute(c, RunningUnderWine())) << c.charset;
    }
}

TEST(BodyCharset, StreamThatCannotBeCreatedFallsBackToTheCodePage) {
    ComApartment apartment;
    CharsetRoute route = CharsetRoute::Stream;
    const std::string body = "\xE4\xB8\xAD";
    EXPECT_EQ(DecodeBodyCharset(B(body), body, "utf-8", L"Kaprino.NoSuchStream", &route),
              "\xD6\xD0");
    EXPECT_EQ(route, CharsetRoute::CodePage);
}

TEST(BodyCharset, PlatformStreamOrItsFallback) {
    ComApartment apartment;
    for (const ConversionCase& c : kConversions) {
        CharsetRoute route = CharsetRoute::Unconverted;
        const Text text =
            DecodeBodyCharset(B(c.body), ToText(B(c.body)), c.charset, kAdodbStreamProgId, &route);
        EXPECT_EQ(text, c.expected) << c.charset;
        // Wine creates the stream object but fails every call made on it by name
        // (TYPE_E_LIBNOTREGISTERED): the failed steps must not replace the page with an
        // empty text, and the code-page converter takes over.
        if (RunningUnderWine()) {
            EXPECT_EQ(route, ExpectedRoute(c, true)) << c.charset;
        } else {
            EXPECT_NE(route, CharsetRoute::Unconverted) << c.charset;
        }
    }
}

TEST(BodyCharset, UnknownCharsetOrEmptyBodyKeepsTheText) {
    ComApartment apartment;
    const wchar_t* streams[] = {kAdodbStreamProgId, nullptr};
    for (const wchar_t* stream : streams) {
        CharsetRoute route = CharsetRoute::Stream;
        EXPECT_EQ(DecodeBodyCharset(B("abc\xB0"), "abc\xB0", "x-no-such-charset", stream, &route),
                  "abc\xB0");
        EXPECT_EQ(route, CharsetRoute::Unconverted);
        EXPECT_EQ(DecodeBodyCharset(Bytes(), "", "utf-8", stream, &route), "");
        EXPECT_EQ(route, CharsetRoute::Unconverted);
    }
}

} // namespace

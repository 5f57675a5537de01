#include "http/request_header_block.h"

#include <gtest/gtest.h>

namespace {

const Text kUserAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
const Text kAccept = "Accept: text/html, application/xhtml+xml, */*\r\n";
const Text kEncoding = "Accept-Encoding: gbk, GB2312\r\n";
const Text kLanguage = "Accept-Language: zh-cn\r\n";
const Text kContentType = "Content-Type: application/x-www-form-urlencoded\r\n";
const Text kCache = "Cache-Control: no-cache\r\n";
const Text kDefaults = kUserAgent + kAccept + kEncoding + kLanguage + kContentType + kCache;

struct BlockCase {
    const char* name;
    Text extraHeaders;
    const Text* cookies;
    Text expected;
};

const Text kNoCookies;
const Text kTwoCookies = "a=1; b=2";

TEST(RequestHeaderBlock, MarkersDecideWhichDefaultLinesAreAdded) {
    const BlockCase cases[] = {
        {"nothing given: the six default lines", "", nullptr, kDefaults},
        {"cookies given but empty: no Cookie line", "", &kNoCookies, kDefaults},
        {"cookies: Cookie line last", "", &kTwoCookies, kDefaults + "Cookie: a=1; b=2\r\n"},
        {"caller's line first, with CR LF", "X-A: 1", nullptr, "X-A: 1\r\n" + kDefaults},
        {"user agent marker ignores case", "user-agent: X", nullptr,
         "user-agent: X\r\n" + kAccept + kEncoding + kLanguage + kContentType + kCache},
        {"content type marker is exact: lower case does not count", "content-type: text/plain",
         nullptr, "content-type: text/plain\r\n" + kDefaults},
        {"content type marker has no blank", "Content-Type:text/plain", nullptr,
         "Content-Type:text/plain\r\n" + kUserAgent + kAccept + kEncoding + kLanguage + kCache},
        {"Set-Cookie holds the Cookie marker", "Set-Cookie: a=1", &kTwoCookies,
         "Set-Cookie: a=1\r\n" + kDefaults},
        {"caller's Cookie line wins over cookies", "COOKIE: z=9", &kTwoCookies,
         "COOKIE: z=9\r\n" + kDefaults},
        // "Accept-Encoding: " does not contain "Accept: ", so the Accept default stays.
        {"Accept-Encoding of the caller keeps the Accept default", "Accept-Encoding: br", nullptr,
         "Accept-Encoding: br\r\n" + kUserAgent + kAccept + kLanguage + kContentType + kCache},
        {"marker anywhere, not only at a line start", "X-Note: see Accept: here", nullptr,
         "X-Note: see Accept: here\r\n" + kUserAgent + kEncoding + kLanguage + kContentType +
             kCache},
        {"all caller's lines kept in order", "A: 1\r\nCache-Control: max-age=0", nullptr,
         "A: 1\r\nCache-Control: max-age=0\r\n" + kUserAgent + kAccept + kEncoding + kLanguage +
             kContentType},
    };
    for (const BlockCase& c : cases)
        EXPECT_EQ(BuildRequestHeaderBlock(c.extraHeaders, c.cookies), c.expected) << c.name;
}

TEST(RequestHeaderBlock, MarkerInsideATwoByteCharacterIsNotFound) {
    // "\xB0" followed by "User-Agent: " would look like the marker one byte in, but that
    // byte is the second half of a two-byte character only when the lead byte precedes
    // it; here the lead byte \xB0 takes "U" as its trail byte, so no marker starts there.
    const Text extra = "X: \xB0User-Agent: fake";
    const Text block = BuildRequestHeaderBlock(extra, nullptr);
    EXPECT_NE(block.find(kUserAgent), Text::npos);
}

} // namespace

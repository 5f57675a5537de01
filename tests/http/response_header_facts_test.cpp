#include "http/response_header_facts.h"

#include <gtest/gtest.h>

namespace {

TEST(ResponseHeaderFacts, StatusTextRunsFromByteTenThroughTheCarriageReturn) {
    struct Case {
        Text headers;
        Text status;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nA: b\r\n\r\n", "200 OK\r"},
        {"HTTP/1.1 302 Found\r\n\r\n", "302 Found\r"},
        {"HTTP/1.1 404 Not Found\r\n", "404 Not Found\r"},
        {"HTTP/1.1 200 OK", ""}, // no CR LF after byte 10
        {"", ""},
        {"HTTP/1.1 \r\n\r\n", "\r"}, // the CR LF right at byte 10
        {"HTTP/1.0 500 \xB4\xED\r\n\r\n", "500 \xB4\xED\r"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseResponseHeaders(c.headers).statusText, c.status) << c.headers;
}

TEST(ResponseHeaderFacts, SetCookieIsSpeltOneWayAndItsItemsCollected) {
    const Text raw = "HTTP/1.1 200 OK\r\n"
                     "Set-Cookie: a=1; path=/\r\n"
                     "set-cookie: b=2\r\n"
                     "SET-COOKIE:   c=3   \r\n"
                     "Content-Type: text/html\r\n"
                     "\r\n";
    const ResponseHeaderFacts f = ParseResponseHeaders(raw);
    EXPECT_EQ(f.headers, "HTTP/1.1 200 OK\r\n"
                         "Set-Cookie: a=1; path=/\r\n"
                         "Set-Cookie: b=2\r\n"
                         "Set-Cookie:   c=3   \r\n"
                         "Content-Type: text/html\r\n"
                         "\r\n");
    EXPECT_EQ(f.receivedCookies, "a=1; b=2; c=3");
    EXPECT_FALSE(f.hasRedirectTarget);
}

TEST(ResponseHeaderFacts, CookieItems) {
    struct Case {
        const char* name;
        Text line;
        Text cookies;
    } cases[] = {
        {"attributes cut at the first ;", "Set-Cookie: sid=42; path=/; HttpOnly", "sid=42"},
        {"full-width spaces trimmed", "Set-Cookie:\xA1\xA1k=v\xA1\xA1", "k=v"},
        {"empty value", "Set-Cookie: e=; path=/", "e="},
        // A line that only mentions the name still counts; the item is what TextBetween
        // finds, empty when "Set-Cookie:" is not there.
        {"name without colon, with ;", "X-Set-Cookie-Note; yes", ""},
        {"no cookie lines", "Server: x", ""},
    };
    for (const Case& c : cases) {
        const Text raw = "HTTP/1.1 200 OK\r\n" + c.line + "\r\n\r\n";
        EXPECT_EQ(ParseResponseHeaders(raw).receivedCookies, c.cookies) << c.name;
    }
}

TEST(ResponseHeaderFacts, LastLocationLineWins) {
    const ResponseHeaderFacts f = ParseResponseHeaders("HTTP/1.1 302 Found\r\n"
                                                       "Location: /x\r\n"
                                                       "location: /y\r\n"
                                                       "X-Location: /z\r\n"
                                                       "\r\n");
    EXPECT_TRUE(f.hasRedirectTarget);
    EXPECT_EQ(f.redirectTarget, "/y");

    const ResponseHeaderFacts empty = ParseResponseHeaders("HTTP/1.1 302 Found\r\n"
                                                           "Location: \r\n\r\n");
    EXPECT_TRUE(empty.hasRedirectTarget);
    EXPECT_EQ(empty.redirectTarget, "");

    // "Location:" without the blank is not the marker.
    EXPECT_FALSE(
        ParseResponseHeaders("HTTP/1.1 302 Found\r\nLocation:/a\r\n\r\n").hasRedirectTarget);
}

TEST(ResponseHeaderFacts, RunsTheCallbackOncePerLine) {
    int calls = 0;
    // Four lines before the final CR LF: status, two headers, the empty line; the text
    // after the last CR LF is empty and does not count.
    ParseResponseHeaders("HTTP/1.1 200 OK\r\nA: 1\r\nB: 2\r\n\r\n", [&] { ++calls; });
    EXPECT_EQ(calls, 4);
    calls = 0;
    ParseResponseHeaders("HTTP/1.1 200 OK\r\nA: 1", [&] { ++calls; });
    EXPECT_EQ(calls, 2);
}

} // namespace

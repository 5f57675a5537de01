#include "http/url_split.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(UrlHost, WithoutLabelCount) {
    struct {
        Text url;
        bool rootOnly, keepPort;
        Text expected;
    } cases[] = {
        {"HTTPS://R.S:8443/X", false, false, "r.s"},
        {"HTTPS://R.S:8443/X", false, true, "r.s:8443"},
        {"r.s", false, false, "r.s"},
        {"http://r.s", false, false, "r.s"},
        {"http://r.s/a/b", false, false, "r.s"},
        {"http://r.s?x=1", false, false, "r.s?x=1"},
        {"http://r.s:8080/", false, false, "r.s"},
        {"http://r.s:/", false, true, "r.s:"},
        {"http://p.q.r.s/", true, false, "r.s"},
        {"http://r.s/", true, false, "r.s"},
        {"http://localhost/", true, false, "localhost"},
        {"http://p.q.r.s:81/", true, true, "r.s:81"},
        {"", false, false, ""},
        {"/", false, false, ""},
        // "https://" counts only as the first 8 bytes, "http://" anywhere.
        {"x=http://A.B/c", false, false, "a.b"},
        {"http://a/?u=https://b/", false, false, "a"},
        {"https://a/?u=http://b/", false, false, "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlHost(c.url, c.rootOnly, c.keepPort), c.expected)
            << c.url << " rootOnly " << c.rootOnly << " keepPort " << c.keepPort;
    }
}

TEST(UrlHost, WithLabelCount) {
    struct {
        Text url;
        int labelCount;
        bool rootOnly;
        Text expected;
    } cases[] = {
        {"http://p.q.r.s/x", 0, false, "r.s"},
        {"http://p.q.r.s/x", 0, true, "s"},
        {"http://p.q.r.s/x", 1, false, "q.r.s"},
        {"http://p.q.r.s/x", 1, true, "r.s"},
        {"http://p.q.r.s/x", 2, false, "p.q.r.s"},
        {"http://p.q.r.s/x", 2, true, "q.r.s"},
        {"http://p.q.r.s/x", 3, true, "p.q.r.s"},
        {"http://p.q.r.s/x", -4, false, "r.s"},
        {"http://p.q.r.s/x", INT_MAX, true, "p.q.r.s"},
        {"HTTPS://P.Q.R.S", 0, false, "r.s"},
        // A dot in the very last byte is never counted.
        {"p.q.r.s.", 0, false, "r.s."},
        {"http://a.b.c:81/", 0, false, "b.c"},
        {"localhost", 0, true, "localhost"},
        {"", 0, false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlHost(c.url, c.rootOnly, false, c.labelCount), c.expected)
            << c.url << " labelCount " << c.labelCount << " rootOnly " << c.rootOnly;
    }
}

TEST(UrlPort, FromHostOrScheme) {
    struct {
        Text url;
        int port;
    } cases[] = {
        {"https://r.s/x", 443},
        {"HTTPS://R.S/X", 443},
        {"HTTPS://R.S:8443/X", 8443},
        {"http://r.s/", 80},
        {"r.s", 80},
        {"http://r.s:8080/x", 8080},
        {"r.s:8080", 8080},
        {"http://r.s:/x", 0},
        {"http://r.s:80x/", 80},
        {"http://r.s:1:2/", 2},
        // Too many digits for an int: the largest int, not an overflow.
        {"http://r.s:99999999999/", INT_MAX},
        {"", 80},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
    }
}

TEST(UrlPath, PathAndQueryInTheirOwnCase) {
    struct {
        Text url, path;
    } cases[] = {
        {"http://R.S/A/b?c=1", "/A/b?c=1"},
        {"http://r.s", "/"},
        {"http://r.s/", "/"},
        {"http://r.s?x=1", "/"},
        {"http://r.s:81/p", "/p"},
        {"HTTPS://R.S:8443/X", "/X"},
        {"r.s/a", "/a"},
        {"", "/"},
        // The host is looked for where it was cut out, after the scheme: a host that also
        // occurs in the scheme or earlier in the text does not pull the scheme's slashes
        // into the path.
        {"http://h/x", "/x"},
        {"HTTP://T:81/P", "/P"},
        {"https://s/x", "/x"},
        {"x=http://h/y", "/y"},
        {"http://", "/"},
        {"http:///x", "/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlPath(c.url), c.path) << c.url;
    }
}

} // namespace

#include "http/winhttp_fetch.h"

#include "tests/http/fetch_test_support.h"
#include "tests/http/scripted_server.h"
#include "text/encodings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace {

using std::chrono::milliseconds;

std::string Ok(const std::string& body, const std::vector<std::string>& headers = {}) {
    return HttpResponse("HTTP/1.1 200 OK", headers, body);
}

ServerScript Reply(const std::string& response) {
    return {Send(response)};
}

// The header lines of a request, in order.
std::vector<std::string> Lines(const std::string& block) {
    std::vector<std::string> lines;
    std::size_t at = 0, end;
    while ((end = block.find("\r\n", at)) != std::string::npos) {
        lines.push_back(block.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::size_t CountLines(const std::string& block, const std::string& lowerName) {
    std::size_t n = 0;
    for (std::string line : Lines(block)) {
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (line.rfind(lowerName + ":", 0) == 0)
            ++n;
    }
    return n;
}

TEST(WinHttpFetchRequest, SendsTheSixDefaultLinesInOrderForAUrlAlone) {
    ScriptedServer server(Reply(Ok("x")));
    EXPECT_EQ(WinHttpFetch(server.url("/p")), "x");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::vector<std::string> expected = {
        "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
        "Accept: text/html, application/xhtml+xml, */*",
        "Accept-Encoding: gbk, GB2312",
        "Accept-Language: zh-cn",
        "Content-Type: application/x-www-form-urlencoded",
        "Cache-Control: no-cache",
    };
    // WinHTTP adds lines of its own (Host, Connection, ...) around ours: ours must all be
    // there, exactly, in this order, and nothing else of ours.
    const std::vector<std::string> lines = Lines(requests[0].headerBlock);
    std::size_t from = 0;
    for (const std::string& want : expected) {
        auto it = std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), want);
        ASSERT_NE(it, lines.end()) << "missing or out of order: " << want << "\nblock:\n"
                                   << requests[0].headerBlock;
        from = static_cast<std::size_t>(it - lines.begin()) + 1;
    }
    EXPECT_FALSE(requests[0].hasHeader("Cookie"));
    EXPECT_EQ(requests[0].requestLine, "GET /p HTTP/1.1");
}

TEST(WinHttpFetchRequest, CallerLinesAndMarkersOverTheWire) {
    struct Case {
        const char* name;
        Text extraHeaders;
        bool giveCookies;
        Text cookies;
        std::string header;       // a header to look at
        std::string value;        // its expected value
        std::size_t userAgents;   // number of User-Agent lines sent
        std::size_t contentTypes; // number of Content-Type lines sent
        bool cookieLine;
    } cases[] = {
        {"lower-case user-agent replaces the default", "user-agent: X", false, "", "User-Agent",
         "X", 1, 1, false},
        // WinHTTP's ADD|REPLACE folds the caller's lower-case content-type and the default
        // into one header: the later default wins.
        {"lower-case content-type keeps the default", "content-type: text/plain", false, "",
         "Content-Type", "application/x-www-form-urlencoded", 1, 1, false},
        {"Content-Type without blank suppresses the default", "Content-Type:text/plain", false, "",
         "Content-Type", "text/plain", 1, 1, false},
        {"a Set-Cookie line suppresses the Cookie line", "Set-Cookie: a=1", true, "a=1; b=2",
         "Set-Cookie", "a=1", 1, 1, false},
        {"cookies make the Cookie line", "", true, "a=1; b=2", "Cookie", "a=1; b=2", 1, 1, true},
        {"given but empty cookies: no Cookie line", "", true, "", "Accept-Language", "zh-cn", 1, 1,
         false},
        {"caller's own header goes out", "X-Trace: 7\r\nReferer: http://r/", false, "", "X-Trace",
         "7", 1, 1, false},
    };
    for (const Case& c : cases) {
        ScriptedServer server(Reply(Ok("ok")));
        Text cookies = c.cookies;
        FetchInputs in;
        in.extraHeaders = c.extraHeaders;
        in.cookies = c.giveCookies ? &cookies : nullptr;
        FetchWithOutputs(server.url("/"), in);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u) << c.name;
        const RecordedRequest& r = requests[0];
        EXPECT_EQ(r.header(c.header), c.value) << c.name << "\n" << r.headerBlock;
        EXPECT_EQ(CountLines(r.headerBlock, "user-agent"), c.userAgents) << c.name;
        EXPECT_EQ(CountLines(r.headerBlock, "content-type"), c.contentTypes) << c.name;
        EXPECT_EQ(r.hasHeader("Cookie"), c.cookieLine) << c.name << "\n" << r.headerBlock;
    }
}

TEST(WinHttpFetchRequest, MethodBodyAndObjectName) {
    struct Case {
        int method;
        std::string path; // after the authority
        Text body;
        std::string requestLine;
    } cases[] = {
        {0, "/a", "", "GET /a HTTP/1.1"},
        {1, "/form", "x=1&y=\xB0\xA1", "POST /form HTTP/1.1"},
        {2, "/h", "", "HEAD /h HTTP/1.1"},
        {3, "/put", "data", "PUT /put HTTP/1.1"},
        {7, "/a", "", "GET /a HTTP/1.1"},
        {-1, "/a", "", "GET /a HTTP/1.1"},
        {0, "", "", "GET / HTTP/1.1"},
        {0, "?q=1", "", "GET / HTTP/1.1"}, // no path: the query is dropped
        {0, "/a/b?x=1&y=2", "", "GET /a/b?x=1&y=2 HTTP/1.1"},
    };
    for (const Case& c : cases) {
        ScriptedServer server(Reply(Ok("ok")));
        FetchInputs in;
        in.method = c.method;
        in.body = c.body;
        const FetchOutputs out = FetchWithOutputs(server.url(c.path), in);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u) << c.requestLine;
        EXPECT_EQ(requests[0].requestLine, c.requestLine);
        EXPECT_EQ(requests[0].body, c.body) << c.requestLine;
        if (!c.body.empty()) {
            EXPECT_EQ(requests[0].header("Content-Length"), std::to_string(c.body.size()));
        }
        EXPECT_EQ(out.statusText, "200 OK\r") << c.requestLine;
    }
}

TEST(WinHttpFetchResponse, StatusTextHeadersAndBody) {
    ScriptedServer server(Reply(Ok("hello", {"Server: scripted"})));
    FetchOutputs out = FetchWithOutputs(server.url("/"));
    EXPECT_EQ(out.result, "hello");
    EXPECT_EQ(out.statusText, "200 OK\r");
    EXPECT_EQ(out.statusText.size(), 7u);
    EXPECT_EQ(out.responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(out.responseHeaders.find("Server: scripted\r\n"), Text::npos);
    EXPECT_EQ(out.responseHeaders.substr(out.responseHeaders.size() - 4), "\r\n\r\n");
    EXPECT_EQ(out.responseBytes, ToBytes("hello"));
    EXPECT_EQ(out.receivedCookies, ""); // written even with no cookie lines
    EXPECT_EQ(out.redirectTarget, FetchOutputs::kSentinel);
}

TEST(WinHttpFetchResponse, RedirectNotFollowedWhenTurnedOff) {
    ScriptedServer server([](const RecordedRequest& r) {
        if (r.target() == "/from")
            return Reply(
                HttpResponse("HTTP/1.1 302 Found", {"Location: /first", "location: /to"}, ""));
        return Reply(Ok("arrived"));
    });
    FetchInputs in;
    in.noRedirect = true;
    FetchOutputs out = FetchWithOutputs(server.url("/from"), in);
    EXPECT_EQ(out.statusText, "302 Found\r");
    EXPECT_EQ(out.redirectTarget, "/to"); // the last Location line wins, any letter case
    EXPECT_EQ(out.result, "");
    EXPECT_EQ(server.requests().size(), 1u);

    // Followed by default: the final response has no Location line, so the target keeps
    // the caller's value.
    out = FetchWithOutputs(server.url("/from"));
    EXPECT_EQ(out.result, "arrived");
    EXPECT_EQ(out.statusText, "200 OK\r");
    EXPECT_EQ(out.redirectTarget, FetchOutputs::kSentinel);
}

TEST(WinHttpFetchResponse, ReceivedCookiesWithAndWithoutACookieText) {
    const std::string response =
        HttpResponse("HTTP/1.1 200 OK",
                     {"Set-Cookie: a=1; path=/", "set-cookie: b=2", "SET-COOKIE:   c=3   "}, "ok");
    ScriptedServer server(Reply(response));

    FetchOutputs out = FetchWithOutputs(server.url("/"));
    EXPECT_EQ(out.receivedCookies, "a=1; b=2; c=3");
    EXPECT_NE(out.responseHeaders.find("Set-Cookie: b=2\r\n"), Text::npos);
    EXPECT_NE(out.responseHeaders.find("Set-Cookie:   c=3   \r\n"), Text::npos);

    Text cookies = "old = 0; a=9";
    FetchInputs in;
    in.cookies = &cookies;
    out = FetchWithOutputs(server.url("/"), in);
    EXPECT_EQ(out.receivedCookies, "a=1;b=2;c=3");
    EXPECT_EQ(cookies, "a=1; b=2; c=3; old=0");
    EXPECT_EQ(server.requests().back().header("Cookie"), "old = 0; a=9");
}

TEST(WinHttpFetchResponse, BodyWithAZeroByteAndEmptyBody) {
    const std::string withZero("ab\0cd", 5);
    ScriptedServer server(
        [&](const RecordedRequest& r) { return Reply(Ok(r.target() == "/zero" ? withZero : "")); });
    FetchOutputs out = FetchWithOutputs(server.url("/zero"));
    EXPECT_EQ(out.responseBytes, Bytes(withZero.begin(), withZero.end()));
    EXPECT_EQ(out.result, "ab");

    out = FetchWithOutputs(server.url("/empty"));
    EXPECT_TRUE(out.responseBytes.empty());
    EXPECT_EQ(out.result, "");
    EXPECT_EQ(out.statusText, "200 OK\r");
}

TEST(WinHttpFetchResponse, ReadFailureAfterPartialDataKeepsTheDataAndTheStatus) {
    // The connection is reset after part of the announced body.
    ScriptedServer server(
        ServerScript{Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial"),
                     Sleep(milliseconds(200)), Reset()});
    FetchOutputs out = FetchWithOutputs(server.url("/"));
    EXPECT_EQ(out.result, "partial");
    EXPECT_EQ(out.responseBytes, ToBytes("partial"));
    EXPECT_EQ(out.statusText, "200 OK\r");
}

// UTF-8 bytes of "中文" and its code page 936 form.
const std::string kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";
const Text kGbkChinese = "\xD6\xD0\xCE\xC4";

TEST(WinHttpFetchResponse, CharsetDeclaredInTheFirstKilobyte) {
    struct Case {
        const char* name;
        std::string body;
        Text expected;
    } cases[] = {
        {"utf-8 at the start: converted",
         "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
             kUtf8Chinese,
         "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
             kGbkChinese},
        {"quoted charset name", "<meta charset=\"UTF-8\">" + kUtf8Chinese,
         "<meta charset=\"UTF-8\">" + kGbkChinese},
        {"utf-8 after byte 1024: not converted",
         std::string(1100, ' ') + "<meta charset=utf-8>" + kUtf8Chinese,
         std::string(1100, ' ') + "<meta charset=utf-8>" + kUtf8Chinese},
        {"gb2312 in lower case: not converted", "<meta charset=gb2312>\x80",
         "<meta charset=gb2312>\x80"},
        {"unknown charset keeps the text", "<meta charset=x-no-such>" + kUtf8Chinese,
         "<meta charset=x-no-such>" + kUtf8Chinese},
        {"no meta tag", kUtf8Chinese, kUtf8Chinese},
    };
    for (const Case& c : cases) {
        ScriptedServer server(Reply(Ok(c.body)));
        const FetchOutputs out = FetchWithOutputs(server.url("/"));
        EXPECT_EQ(out.result, c.expected) << c.name;
        EXPECT_EQ(out.responseBytes, Bytes(c.body.begin(), c.body.end())) << c.name;
    }
}

TEST(WinHttpFetchResponse, CapitalGb2312IsConvertedLowerCaseIsNot) {
    // A lone lead byte at the end is not a character of code page 936: converting turns it
    // into something else, keeping the text leaves it as it is.
    const std::string tail = kGbkChinese + "\xB0";
    ScriptedServer server([&](const RecordedRequest& r) {
        return Reply(Ok("<meta charset=" + r.target().substr(1) + ">" + tail));
    });
    const Text lower = FetchWithOutputs(server.url("/gb2312")).result;
    const Text upper = FetchWithOutputs(server.url("/GB2312")).result;
    EXPECT_EQ(lower, "<meta charset=gb2312>" + tail);
    EXPECT_EQ(upper.substr(0, 25), "<meta charset=GB2312>" + kGbkChinese);
    EXPECT_NE(upper, "<meta charset=GB2312>" + tail);
}

TEST(WinHttpFetchFailure, BadUrlsFailCrackingAndTouchNothingElse) {
    const Text urls[] = {"", "not a url", "ftp://127.0.0.1/x", "http://"};
    for (const Text& url : urls) {
        FetchOutputs out = FetchWithOutputs(url);
        EXPECT_EQ(out.statusText, MessageText(L"701 解析URL地址失败!")) << url;
        EXPECT_EQ(out.result, "") << url;
        EXPECT_TRUE(out.untouchedBesidesStatus()) << url;
    }
}

TEST(WinHttpFetchFailure, ClosedPortAndStalledServerWithinTheTimeOut) {
    {
        FetchOutputs out =
            FetchWithOutputs("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/");
        EXPECT_EQ(out.statusText, MessageText(L"711 发送请求失败!"));
        EXPECT_EQ(out.result, "");
        EXPECT_TRUE(out.untouchedBesidesStatus());
        EXPECT_LT(out.elapsed, milliseconds(2000 + 1500));
    }
    {
        ScriptedServer server(ServerScript{Stall()});
        FetchInputs in;
        in.timeoutSeconds = 1;
        FetchOutputs out = FetchWithOutputs(server.url("/"), in);
        EXPECT_EQ(out.statusText, MessageText(L"712 服务器未响应!"));
        EXPECT_EQ(out.result, "");
        EXPECT_TRUE(out.untouchedBesidesStatus());
        EXPECT_GE(out.elapsed, milliseconds(900));
        EXPECT_LT(out.elapsed, milliseconds(1000 + 1500));
    }
}

TEST(WinHttpFetchFailure, OmittedOutputsAreNotNeeded) {
    ScriptedServer server(ServerScript{Stall()});
    EXPECT_EQ(WinHttpFetch(server.url("/"), 0, "", nullptr, nullptr, "", nullptr, false, "", "", "",
                           "", "", 1),
              "");
    EXPECT_EQ(WinHttpFetch(""), "");
}

// A window whose procedure counts the messages it is given.
int g_dispatched = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) {
        ++g_dispatched;
        return 0;
    }
    return DefWindowProcW(hwnd, message, w, l);
}

TEST(WinHttpFetchMessages, PendingMessagesAreDispatchedDuringTheCall) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KaprinoFetchMessageCounter";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    ScriptedServer server(Reply(Ok("ok")));
    g_dispatched = 0;
    PostMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(WinHttpFetch(server.url("/")), "ok");
    EXPECT_EQ(g_dispatched, 1);

    // A failed URL still processes messages once on the way out.
    g_dispatched = 0;
    PostMessageW(window, WM_APP, 0, 0);
    WinHttpFetch("");
    EXPECT_EQ(g_dispatched, 1);
    DestroyWindow(window);
}

} // namespace

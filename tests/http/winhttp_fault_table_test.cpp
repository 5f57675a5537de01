// Server faults and malformed responses: each case states the designed result (message,
// result text, out-parameters) and that the call came back within its time-out.
#include "http/winhttp_fetch.h"

#include "tests/http/fetch_test_support.h"
#include "tests/http/scripted_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using std::chrono::milliseconds;
using Mode = ScriptedServer::Mode;

const std::string kOkHead = "HTTP/1.1 200 OK\r\n";
const char kNulHeader[] = "X-Bad: a\0b\r\nX-After: 1\r\nContent-Length: 2\r\n\r\nok";

std::string Redirect(const std::string& to) {
    return HttpResponse("HTTP/1.1 302 Found", {"Location: " + to}, "");
}

std::string ManyHeaderLines() {
    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += "X-Line-" + std::to_string(i) + ": " + std::string(30, 'v') + "\r\n";
    return lines;
}

const std::string kTenMegabytes(10 * 1024 * 1024, 'z');

struct FaultCase {
    const char* name;
    ScriptedServer::Handler handler; // empty: nothing listens
    Mode mode;
    int timeoutSeconds;
    bool noRedirect;
    // Designed result. status: the status text, or a message when message is set.
    std::optional<std::wstring> message;
    Text status;
    Text result;
    std::optional<std::size_t> bytes; // size of responseBytes, when written
    // Further checks on the outputs and the server.
    std::function<void(const FetchOutputs&, const ScriptedServer*)> check;
};

ScriptedServer::Handler Script(ServerScript script) {
    return [script](const RecordedRequest&) { return script; };
}

const std::wstring k711 = L"711 发送请求失败!";
const std::wstring k712 = L"712 服务器未响应!";

std::vector<FaultCase> FaultCases() {
    std::vector<FaultCase> cases;
    auto add = [&](FaultCase c) { cases.push_back(std::move(c)); };

    add({"nothing listening: the connect inside sending fails", nullptr, Mode::ReadRequestFirst, 1,
         false, k711, "", "", std::nullopt, nullptr});
    // A connection that ends before any response byte fails the wait for the response
    // (12152 under Wine), not the send.
    add({"accept, then close", Script({Close()}), Mode::ActOnAccept, 1, false, k712, "", "",
         std::nullopt, nullptr});
    add({"accept, then reset", Script({Reset()}), Mode::ActOnAccept, 1, false, k712, "", "",
         std::nullopt, nullptr});
    add({"request read, then close without answer", Script({Close()}), Mode::ReadRequestFirst, 1,
         false, k712, "", "", std::nullopt, nullptr});
    add({"stall before the headers: bounded by the response time-out", Script({Stall()}),
         Mode::ReadRequestFirst, 1, false, k712, "", "", std::nullopt, nullptr});
    add({"stall inside the status line", Script({Send("HTTP/1.1 20"), Stall()}),
         Mode::ReadRequestFirst, 1, false, k712, "", "", std::nullopt, nullptr});
    add({"stall mid-body: the body ends there, no message",
         Script({Send(kOkHead + "Content-Length: 100\r\n\r\n0123456789"), Stall()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "0123456789", 10u, nullptr});
    add({"Content-Length longer than the body, then close: what arrived",
         Script({Send(kOkHead + "Content-Length: 100\r\n\r\n0123456789"), Close()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "0123456789", 10u, nullptr});
    add({"reset mid-body: what arrived",
         Script({Send(kOkHead + "Content-Length: 100\r\n\r\n0123456789"), Sleep(milliseconds(100)),
                 Reset()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "0123456789", 10u, nullptr});
    add({"chunked body",
         Script({Send(kOkHead + "Transfer-Encoding: chunked\r\n\r\n"
                                "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n")}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "hello world", 11u, nullptr});
    add({"chunked with a bad size: nothing of the body",
         Script({Send(kOkHead + "Transfer-Encoding: chunked\r\n\r\nzz\r\nhello\r\n0\r\n\r\n"),
                 Close()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "", 0u, nullptr});
    add({"chunked cut short, then close: what arrived",
         Script({Send(kOkHead + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n20\r\nabc"),
                 Close()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "helloabc", 8u, nullptr});
    add({"header block without its blank line, then close",
         Script({Send(kOkHead + "Server: x\r\n"), Close()}), Mode::ReadRequestFirst, 1, false,
         std::nullopt, "200 OK\r", "", 0u, nullptr});
    add({"NUL inside a header: the raw block ends there",
         Script({Send(kOkHead + std::string(kNulHeader, sizeof kNulHeader - 1))}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "ok", 2u,
         [](const FetchOutputs& out, const ScriptedServer*) {
             EXPECT_EQ(out.responseHeaders.find("X-After"), Text::npos) << out.responseHeaders;
         }});
    add({"LF-only line ends come back with CR LF",
         Script({Send("HTTP/1.1 200 OK\nSet-Cookie: k=v\nContent-Length: 2\n\nok")}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "ok", 2u,
         [](const FetchOutputs& out, const ScriptedServer*) {
             EXPECT_NE(out.responseHeaders.find("Set-Cookie: k=v\r\n"), Text::npos);
             EXPECT_EQ(out.receivedCookies, "k=v");
         }});
    add({"status line without a reason phrase is rejected",
         Script({Send("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok")}), Mode::ReadRequestFirst, 1,
         false, k712, "", "", std::nullopt, nullptr});
    add({"not HTTP at all", Script({Send("hello there\r\n\r\n"), Close()}), Mode::ReadRequestFirst,
         1, false, k712, "", "", std::nullopt, nullptr});
    add({"header block of many lines, over 5000 bytes",
         Script({Send(kOkHead + ManyHeaderLines() + "Content-Length: 2\r\n\r\nok")}),
         Mode::ReadRequestFirst, 2, false, std::nullopt, "200 OK\r", "ok", 2u,
         [](const FetchOutputs& out, const ScriptedServer*) {
             EXPECT_GT(out.responseHeaders.size(), 5000u);
             EXPECT_NE(out.responseHeaders.find("X-Line-0: "), Text::npos);
             EXPECT_NE(out.responseHeaders.find("X-Line-199: "), Text::npos);
         }});
    add({"a 10 MB body arrives whole",
         Script({Send(HttpResponse("HTTP/1.1 200 OK", {}, kTenMegabytes))}), Mode::ReadRequestFirst,
         10, false, std::nullopt, "200 OK\r", kTenMegabytes, kTenMegabytes.size(), nullptr});
    add({"response in one-byte fragments",
         Script(
             {Send(HttpResponse("HTTP/1.1 200 OK", {"A: b"}, "fragmented"), 1, milliseconds(1))}),
         Mode::ReadRequestFirst, 2, false, std::nullopt, "200 OK\r", "fragmented", 10u, nullptr});
    add({"HTTP/1.0 body up to the close",
         Script({Send("HTTP/1.0 200 OK\r\nServer: old\r\n\r\nuntil close"), Close()}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "200 OK\r", "until close", 11u, nullptr});
    add({"server error status with a body",
         Script({Send(HttpResponse("HTTP/1.1 500 Internal Server Error", {}, "oops"))}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "500 Internal Server Error\r", "oops", 4u,
         nullptr});
    add({"204 with a body: no body is read",
         Script({Send("HTTP/1.1 204 No Content\r\nContent-Length: 4\r\n\r\nbody")}),
         Mode::ReadRequestFirst, 1, false, std::nullopt, "204 No Content\r", "", 0u, nullptr});
    add({"redirect chain followed to its end",
         [](const RecordedRequest& r) {
             if (r.target() == "/a")
                 return ServerScript{Send(Redirect("/r2"))};
             if (r.target() == "/r2")
                 return ServerScript{Send(Redirect("/final"))};
             return ServerScript{Send(HttpResponse("HTTP/1.1 200 OK", {}, "final"))};
         },
         Mode::ReadRequestFirst, 2, false, std::nullopt, "200 OK\r", "final", 5u,
         [](const FetchOutputs& out, const ScriptedServer* server) {
             EXPECT_EQ(out.redirectTarget, FetchOutputs::kSentinel);
             EXPECT_EQ(server->requests().size(), 3u);
         }});
    // WinHTTP gives up after ten hops (12156); that surfaces as the failure of the step
    // that waits for the response.
    add({"redirect loop is bounded by WinHTTP",
         [](const RecordedRequest& r) {
             return ServerScript{Send(Redirect(r.target() == "/a" ? "/b" : "/a"))};
         },
         Mode::ReadRequestFirst, 2, false, k712, "", "", std::nullopt,
         [](const FetchOutputs&, const ScriptedServer* server) {
             EXPECT_GE(server->requests().size(), 10u);
             EXPECT_LE(server->requests().size(), 12u);
         }});
    add({"redirect loop with redirects off: the first 302",
         [](const RecordedRequest&) { return ServerScript{Send(Redirect("/again"))}; },
         Mode::ReadRequestFirst, 1, true, std::nullopt, "302 Found\r", "", 0u,
         [](const FetchOutputs& out, const ScriptedServer*) {
             EXPECT_EQ(out.redirectTarget, "/again");
         }});
    add({"slow but within the time-out",
         Script({Sleep(milliseconds(300)), Send(HttpResponse("HTTP/1.1 200 OK", {}, "late"))}),
         Mode::ReadRequestFirst, 2, false, std::nullopt, "200 OK\r", "late", 4u, nullptr});
    return cases;
}

TEST(WinHttpFetchFaults, EachFaultGivesItsDesignedResultWithinTheTimeOut) {
    for (const FaultCase& c : FaultCases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ScriptedServer> server;
        std::string url;
        if (c.handler) {
            server = std::make_unique<ScriptedServer>(c.handler, c.mode);
            url = server->url("/a");
        } else {
            url = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/a";
        }
        FetchInputs in;
        in.timeoutSeconds = c.timeoutSeconds;
        in.noRedirect = c.noRedirect;
        const FetchOutputs out = FetchWithOutputs(url, in);

        EXPECT_LT(out.elapsed, milliseconds(c.timeoutSeconds * 1000) + kTimeOutSlack);
        if (c.message) {
            EXPECT_EQ(out.statusText, MessageText(*c.message));
            EXPECT_EQ(out.result, "");
            EXPECT_TRUE(out.untouchedBesidesStatus());
        } else {
            EXPECT_EQ(out.statusText, c.status);
            if (out.result.size() < 200)
                EXPECT_EQ(out.result, c.result);
            else
                EXPECT_TRUE(out.result == c.result) << "long result differs";
            ASSERT_TRUE(c.bytes.has_value());
            EXPECT_EQ(out.responseBytes.size(), *c.bytes);
            EXPECT_EQ(out.responseHeaders.rfind("HTTP/1.", 0), 0u) << out.responseHeaders;
        }
        if (c.check)
            c.check(out, server.get());
    }
}

} // namespace

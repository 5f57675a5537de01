// The scripted server seen from a raw socket: what later request tests rely on when they
// assert on what a client sent and on how the server broke a connection.
#include "tests/http/scripted_server.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <memory>

namespace {

using std::chrono::milliseconds;

class RawClient {
public:
    explicit RawClient(unsigned short port) {
        s_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        DWORD timeout = 3000; // a broken server must not hang the test
        ::setsockopt(s_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        connected_ = ::connect(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~RawClient() { ::closesocket(s_); }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) {
        ::send(s_, bytes.data(), static_cast<int>(bytes.size()), 0);
    }
    // Everything up to the end of the stream; lastError receives the error that ended it
    // (0 for an orderly close).
    std::string readAll(int* lastError) {
        std::string got;
        char buffer[4096];
        for (;;) {
            int n = ::recv(s_, buffer, sizeof buffer, 0);
            if (n > 0) {
                got.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            *lastError = n == 0 ? 0 : ::WSAGetLastError();
            return got;
        }
    }

private:
    SOCKET s_;
    bool connected_ = false;
};

TEST(ScriptedServer, RecordsTheRequestAndRepliesInFragments) {
    ScriptedServer server(
        ServerScript{Send("HTTP/1.1 200 OK\r\n\r\nabcdef", 4, milliseconds(5)), Close()});
    RawClient client(server.port());
    ASSERT_TRUE(client.connected());
    // The body comes in two pieces and is read by its Content-Length.
    client.send("POST /p?q=1 HTTP/1.1\r\nHost: h\r\ncontent-length: 6\r\n\r\nbod");
    Sleep(50);
    client.send("y=1");
    int error = -1;
    EXPECT_EQ(client.readAll(&error), "HTTP/1.1 200 OK\r\n\r\nabcdef");
    EXPECT_EQ(error, 0);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /p?q=1 HTTP/1.1");
    EXPECT_EQ(requests[0].method(), "POST");
    EXPECT_EQ(requests[0].target(), "/p?q=1");
    EXPECT_EQ(requests[0].headerBlock, "Host: h\r\ncontent-length: 6\r\n");
    EXPECT_EQ(requests[0].header("Content-Length"), "6");
    EXPECT_EQ(requests[0].body, "body=1");
}

TEST(ScriptedServer, ResetIsSeenAsAResetAndStallEndsWithTheServer) {
    {
        // Nothing is sent before the reset: Wine's recv hands over data that arrived before
        // a reset and then reports the end of the stream (0), not WSAECONNRESET, though the
        // peer did reset (a Linux client sees ECONNRESET there).
        ScriptedServer server(ServerScript{Reset()});
        RawClient client(server.port());
        client.send("GET / HTTP/1.1\r\n\r\n");
        int error = 0;
        EXPECT_EQ(client.readAll(&error), "");
        EXPECT_EQ(error, WSAECONNRESET);
    }
    auto server = std::make_unique<ScriptedServer>(ServerScript{Stall()});
    RawClient client(server->port());
    client.send("GET / HTTP/1.1\r\n\r\n");
    Sleep(100);
    server.reset(); // must not wait for the client
    int error = -1;
    EXPECT_EQ(client.readAll(&error), "");
    EXPECT_NE(error, WSAETIMEDOUT);
}

TEST(ScriptedServer, KeepsTheConnectionForTheNextRequestAndBuildsResponses) {
    EXPECT_EQ(HttpResponse("HTTP/1.1 200 OK", {"A: b"}, "xy"),
              "HTTP/1.1 200 OK\r\nA: b\r\nContent-Length: 2\r\n\r\nxy");
    EXPECT_EQ(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, "0\r\n\r\n"),
              "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n");

    ScriptedServer server([](const RecordedRequest& r) {
        ServerScript script{Send(HttpResponse("HTTP/1.1 200 OK", {}, r.target()))};
        if (r.target() == "/2")
            script.push_back(Close());
        return script;
    });
    RawClient client(server.port());
    client.send("GET /1 HTTP/1.1\r\n\r\nGET /2 HTTP/1.1\r\n\r\n");
    int error = -1;
    EXPECT_EQ(client.readAll(&error), "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n/1"
                                      "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n/2");
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.connectionCount(), 1u);
}

} // namespace

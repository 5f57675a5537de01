// A scripted HTTP server for tests, inside the test process: it listens on 127.0.0.1 on a
// port of its own, serves each connection on a thread of its own, records every request it
// reads and answers with the steps a script gives: bytes sent as they are (in fragments when
// asked), pauses, a plain close, a reset, or a stall that sends nothing more until the server
// stops. Every wait is bounded, so a broken test cannot hang on it. Win32 (Winsock).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ServerStep {
    enum class Kind { Send, Sleep, Close, Reset, Stall };
    Kind kind = Kind::Send;
    std::string bytes;                  // Send
    std::size_t fragment = 0;           // Send: bytes per send() call, 0 = all at once
    std::chrono::milliseconds pause{0}; // Sleep; Send: between fragments
};

using ServerScript = std::vector<ServerStep>;

// Script building blocks.
ServerStep Send(std::string bytes, std::size_t fragment = 0,
                std::chrono::milliseconds pause = std::chrono::milliseconds(0));
ServerStep Sleep(std::chrono::milliseconds pause);
ServerStep Close();
ServerStep Reset(); // SO_LINGER 0, then close: the peer sees a reset
ServerStep Stall(); // send nothing more; the connection is closed when the server stops

// A complete response: status line, header lines, blank line, body. Content-Length is added
// from the body unless a header line already names a length or a transfer coding.
std::string HttpResponse(const std::string& statusLine, const std::vector<std::string>& headers,
                         const std::string& body);

struct RecordedRequest {
    std::string requestLine; // "GET /path HTTP/1.1", without CR LF
    std::string headerBlock; // the header lines after the request line, each with its CR LF,
                             // without the blank line that ends the block
    std::string body;        // Content-Length bytes
    std::string method() const;
    std::string target() const;
    // Value of the first header line with this name (any letter case), or "" when none.
    std::string header(const std::string& name) const;
    bool hasHeader(const std::string& name) const;
};

class ScriptedServer {
public:
    // Answers every request with the script that the handler gives for it. When the script
    // ends without closing, the connection reads its next request.
    using Handler = std::function<ServerScript(const RecordedRequest&)>;
    // Accept-only servers: the script runs as soon as a connection is accepted, before any
    // request is read (for "accept, then close" and the like).
    enum class Mode { ReadRequestFirst, ActOnAccept };

    explicit ScriptedServer(Handler handler, Mode mode = Mode::ReadRequestFirst);
    // Every request gets the same script.
    explicit ScriptedServer(ServerScript script, Mode mode = Mode::ReadRequestFirst);
    ~ScriptedServer(); // stops: closes every socket and joins every thread

    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    unsigned short port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by pathAndQuery.
    std::string url(const std::string& pathAndQuery = "/") const;

    std::vector<RecordedRequest> requests() const;
    std::size_t connectionCount() const;

    void stop();

private:
    struct Connection;
    void acceptLoop();
    void serve(std::shared_ptr<Connection> connection);

    Handler handler_;
    Mode mode_;
    unsigned short port_ = 0;
    std::uintptr_t listener_;
    mutable std::mutex mutex_;
    bool stopping_ = false;
    std::vector<RecordedRequest> requests_;
    std::vector<std::shared_ptr<Connection>> connections_;
    std::vector<std::thread> threads_;
    std::thread acceptThread_;
};

// A port on 127.0.0.1 where nothing listens (bound once and released).
unsigned short UnusedPort();

#include "tests/http/scripted_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kPoll(20);

// Winsock is started once for the process and left running: tests create and destroy many
// servers, and WSACleanup while another server's thread is still winding down would pull
// the library out from under it.
void StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

SOCKET ListenOnLoopback(unsigned short* port) {
    StartWinsock();
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, SOMAXCONN) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    *port = ntohs(address.sin_port);
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    return s;
}

// Waits up to kPoll for the socket to become readable (or writable). True when it did.
bool WaitFor(SOCKET s, bool forWrite) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{0, static_cast<long>(kPoll.count() * 1000)};
    int n = forWrite ? ::select(0, nullptr, &set, nullptr, &tv)
                     : ::select(0, &set, nullptr, nullptr, &tv);
    return n > 0;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Value of the first "name:" line of a header block, blanks around it removed.
std::string HeaderValue(const std::string& block, const std::string& name, bool* found) {
    const std::string wanted = Lower(name) + ":";
    std::size_t at = 0;
    while (at < block.size()) {
        std::size_t end = block.find("\r\n", at);
        if (end == std::string::npos)
            end = block.size();
        std::string line = block.substr(at, end - at);
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            std::string value = line.substr(wanted.size());
            std::size_t b = value.find_first_not_of(" \t");
            std::size_t e = value.find_last_not_of(" \t");
            *found = true;
            return b == std::string::npos ? std::string() : value.substr(b, e - b + 1);
        }
        at = end + 2;
    }
    *found = false;
    return std::string();
}

} // namespace

ServerStep Send(std::string bytes, std::size_t fragment, milliseconds pause) {
    ServerStep s;
    s.kind = ServerStep::Kind::Send;
    s.bytes = std::move(bytes);
    s.fragment = fragment;
    s.pause = pause;
    return s;
}

ServerStep Sleep(milliseconds pause) {
    ServerStep s;
    s.kind = ServerStep::Kind::Sleep;
    s.pause = pause;
    return s;
}

ServerStep Close() {
    ServerStep s;
    s.kind = ServerStep::Kind::Close;
    return s;
}

ServerStep Reset() {
    ServerStep s;
    s.kind = ServerStep::Kind::Reset;
    return s;
}

ServerStep Stall() {
    ServerStep s;
    s.kind = ServerStep::Kind::Stall;
    return s;
}

std::string HttpResponse(const std::string& statusLine, const std::vector<std::string>& headers,
                         const std::string& body) {
    std::string out = statusLine + "\r\n";
    bool framed = false;
    for (const std::string& h : headers) {
        const std::string l = Lower(h);
        if (l.rfind("content-length:", 0) == 0 || l.rfind("transfer-encoding:", 0) == 0)
            framed = true;
        out += h + "\r\n";
    }
    if (!framed)
        out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "\r\n";
    out += body;
    return out;
}

std::string RecordedRequest::method() const {
    return requestLine.substr(0, requestLine.find(' '));
}

std::string RecordedRequest::target() const {
    std::size_t a = requestLine.find(' ');
    if (a == std::string::npos)
        return std::string();
    std::size_t b = requestLine.find(' ', a + 1);
    return requestLine.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
}

std::string RecordedRequest::header(const std::string& name) const {
    bool found = false;
    return HeaderValue(headerBlock, name, &found);
}

bool RecordedRequest::hasHeader(const std::string& name) const {
    bool found = false;
    HeaderValue(headerBlock, name, &found);
    return found;
}

struct ScriptedServer::Connection {
    explicit Connection(SOCKET s) : socket(s) {}
    SOCKET socket;
    std::string pending; // bytes received and not yet taken as part of a request
};

ScriptedServer::ScriptedServer(Handler handler, Mode mode)
    : handler_(std::move(handler)), mode_(mode) {
    listener_ = static_cast<std::uintptr_t>(ListenOnLoopback(&port_));
    if (static_cast<SOCKET>(listener_) != INVALID_SOCKET)
        acceptThread_ = std::thread([this] {
            try {
                acceptLoop();
            } catch (...) {
                // A failed accept loop leaves the server without new connections; the test
                // that needs one fails on its own.
            }
        });
}

ScriptedServer::ScriptedServer(ServerScript script, Mode mode)
    : ScriptedServer([script](const RecordedRequest&) { return script; }, mode) {}

ScriptedServer::~ScriptedServer() {
    stop();
}

std::string ScriptedServer::url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::vector<RecordedRequest> ScriptedServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::size_t ScriptedServer::connectionCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_.size();
}

void ScriptedServer::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_)
            return;
        stopping_ = true;
    }
    if (acceptThread_.joinable())
        acceptThread_.join();
    if (static_cast<SOCKET>(listener_) != INVALID_SOCKET)
        ::closesocket(static_cast<SOCKET>(listener_));
    // No thread is added once the accept loop has ended; each one notices stopping_ within
    // one poll interval and closes its own socket.
    for (std::thread& t : threads_)
        t.join();
}

void ScriptedServer::acceptLoop() {
    const SOCKET listener = static_cast<SOCKET>(listener_);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_)
                return;
        }
        if (!WaitFor(listener, false))
            continue;
        SOCKET s = ::accept(listener, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            continue;
        u_long nonBlocking = 1;
        ::ioctlsocket(s, FIONBIO, &nonBlocking);
        auto connection = std::make_shared<Connection>(s);
        std::lock_guard<std::mutex> lock(mutex_);
        connections_.push_back(connection);
        threads_.emplace_back([this, connection] {
            try {
                serve(connection);
            } catch (...) {
                if (connection->socket != INVALID_SOCKET)
                    ::closesocket(connection->socket);
            }
        });
    }
}

void ScriptedServer::serve(std::shared_ptr<Connection> connection) {
    const SOCKET s = connection->socket;
    auto stopping = [this] {
        std::lock_guard<std::mutex> lock(mutex_);
        return stopping_;
    };
    // Reads more bytes into pending; false when the peer closed, the socket failed, the
    // server is stopping or the deadline passed.
    auto receiveMore = [&](Clock::time_point deadline = Clock::time_point::max()) -> bool {
        for (;;) {
            if (stopping() || Clock::now() >= deadline)
                return false;
            if (!WaitFor(s, false))
                continue;
            char buffer[16384];
            int n = ::recv(s, buffer, sizeof buffer, 0);
            if (n > 0) {
                connection->pending.append(buffer, static_cast<std::size_t>(n));
                return true;
            }
            if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            return false;
        }
    };
    auto sendAll = [&](const char* data, std::size_t size) -> bool {
        std::size_t sent = 0;
        while (sent < size) {
            if (stopping())
                return false;
            int n = ::send(s, data + sent,
                           static_cast<int>(std::min<std::size_t>(size - sent, 65536)), 0);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
                continue;
            }
            if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK) {
                WaitFor(s, true);
                continue;
            }
            return false;
        }
        return true;
    };
    auto pauseFor = [&](milliseconds pause) {
        const auto until = Clock::now() + pause;
        while (Clock::now() < until && !stopping())
            std::this_thread::sleep_for(std::min<milliseconds>(
                kPoll,
                std::chrono::duration_cast<milliseconds>(until - Clock::now()) + milliseconds(1)));
    };
    // The whole request: request line and headers up to the blank line, then the body by
    // Content-Length.
    auto readRequest = [&](RecordedRequest* request) -> bool {
        std::size_t end;
        while ((end = connection->pending.find("\r\n\r\n")) == std::string::npos) {
            if (!receiveMore())
                return false;
        }
        const std::string head = connection->pending.substr(0, end + 2);
        connection->pending.erase(0, end + 4);
        std::size_t lineEnd = head.find("\r\n");
        request->requestLine = head.substr(0, lineEnd);
        request->headerBlock = head.substr(lineEnd + 2);
        bool found = false;
        std::string length = HeaderValue(request->headerBlock, "Content-Length", &found);
        std::size_t want =
            found ? static_cast<std::size_t>(std::strtoul(length.c_str(), nullptr, 10)) : 0;
        while (connection->pending.size() < want) {
            if (!receiveMore())
                return false;
        }
        request->body = connection->pending.substr(0, want);
        connection->pending.erase(0, want);
        return true;
    };

    bool open = true;
    while (open && !stopping()) {
        RecordedRequest request;
        if (mode_ == Mode::ReadRequestFirst) {
            if (!readRequest(&request))
                break;
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
        }
        const ServerScript script = handler_(request);
        for (const ServerStep& step : script) {
            if (!open)
                break;
            switch (step.kind) {
            case ServerStep::Kind::Send: {
                const std::size_t piece = step.fragment ? step.fragment : step.bytes.size();
                for (std::size_t at = 0; open && at < step.bytes.size(); at += piece) {
                    if (at > 0)
                        pauseFor(step.pause);
                    open = sendAll(step.bytes.data() + at, std::min(piece, step.bytes.size() - at));
                }
                break;
            }
            case ServerStep::Kind::Sleep:
                pauseFor(step.pause);
                break;
            case ServerStep::Kind::Close: {
                // Half-close first so that what was sent arrives before the end, then let
                // the peer finish (bounded) before the socket goes.
                ::shutdown(s, SD_SEND);
                const auto until = Clock::now() + milliseconds(500);
                while (receiveMore(until))
                    connection->pending.clear();
                ::closesocket(s);
                connection->socket = INVALID_SOCKET;
                open = false;
                break;
            }
            case ServerStep::Kind::Reset: {
                linger l{1, 0};
                ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
                ::closesocket(s);
                connection->socket = INVALID_SOCKET;
                open = false;
                break;
            }
            case ServerStep::Kind::Stall:
                while (!stopping())
                    std::this_thread::sleep_for(kPoll);
                open = false;
                break;
            }
        }
        if (mode_ == Mode::ActOnAccept && open) {
            // Accept-mode scripts serve one go per connection; then the connection idles.
            while (!stopping())
                std::this_thread::sleep_for(kPoll);
            open = false;
        }
    }
    if (connection->socket != INVALID_SOCKET) {
        ::closesocket(connection->socket);
        connection->socket = INVALID_SOCKET;
    }
}

unsigned short UnusedPort() {
    unsigned short port = 0;
    SOCKET s = ListenOnLoopback(&port);
    if (s != INVALID_SOCKET)
        ::closesocket(s);
    return port;
}

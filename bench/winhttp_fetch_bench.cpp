// One WinHttpFetch of a 200 KB page from the local scripted server, beside a raw socket
// fetch of the same page from the same server in the same run. Prints the median of each
// and their ratio. Not a test.
#include "http/winhttp_fetch.h"

#include "tests/http/scripted_server.h"

#include <winsock2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// word: a caption in the page's own encoding.
std::string Page(std::size_t size, const std::string& head, const std::string& word) {
    std::string page = "<html><head>" + head + "<title>list</title></head><body>\n";
    const std::string row = "<li><a href=\"/face/123\">" + word + " row</a></li>\n";
    while (page.size() + row.size() < size - 15)
        page += row;
    page += "</body></html>\n";
    page.resize(size, ' ');
    return page;
}

// GET with Connection: close, read until the server closes. The byte count read.
std::size_t RawSocketFetch(unsigned short port) {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    std::size_t total = 0;
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET /page HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: "
                                    "close\r\n\r\n";
        ::send(s, request.data(), static_cast<int>(request.size()), 0);
        std::vector<char> buffer(65536);
        int n;
        while ((n = ::recv(s, buffer.data(), static_cast<int>(buffer.size()), 0)) > 0)
            total += static_cast<std::size_t>(n);
    }
    ::closesocket(s);
    return total;
}

double MedianMilliseconds(int runs, const std::function<void()>& fetch) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        fetch();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Compare(const char* label, const std::string& page, int runs) {
    const std::string response = HttpResponse("HTTP/1.1 200 OK", {}, page);
    ScriptedServer server(ServerScript{Send(response), Close()});
    std::size_t fetched = 0, raw = 0;
    const double fetchMs =
        MedianMilliseconds(runs, [&] { fetched = WinHttpFetch(server.url("/page")).size(); });
    const double rawMs = MedianMilliseconds(runs, [&] { raw = RawSocketFetch(server.port()); });
    std::printf("%-34s WinHttpFetch %8.2f ms (%zu bytes)   raw socket %8.2f ms (%zu bytes)   "
                "ratio %.1f\n",
                label, fetchMs, fetched, rawMs, raw, rawMs > 0 ? fetchMs / rawMs : 0.0);
}

} // namespace

int main() {
    const int runs = 21;
    std::printf("median of %d runs, 200 KB page from 127.0.0.1\n", runs);
    // "表情" in code page 936 and in UTF-8.
    Compare("no charset declared", Page(200 * 1024, "", "\xB1\xED\xC7\xE9"), runs);
    Compare("charset=utf-8 (converted)",
            Page(200 * 1024, "<meta charset=\"utf-8\">", "\xE8\xA1\xA8\xE6\x83\x85"), runs);
    return 0;
}

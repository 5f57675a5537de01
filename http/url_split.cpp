#include "http/url_split.h"

#include "http/cookie_text.h"
#include "text/text_ops.h"

#include <climits>
#include <vector>

namespace {

// Positions of every "." of text that begins on a character boundary, in order.
std::vector<int> DotPositions(const Text& text) {
    std::vector<int> dots;
    for (int at = Search(text, "."); at > 0; at = Search(text, ".", at + 1))
        dots.push_back(at);
    return dots;
}

// The host part of the labelCount mode: the last labels, counted by the dots from the right.
Text HostByLabels(const Text& url, bool rootOnly, int labelCount) {
    Text host = Replace(Replace(LowerAscii(url), "http://", ""), "https://", "");
    const int slash = Search(host, "/");
    if (slash > 0)
        host = Left(host, slash - 1);
    // Every search for a dot looks strictly before its starting position, which begins at
    // the length: a dot in the very last byte is never counted.
    std::vector<int> dots = DotPositions(host);
    if (!dots.empty() && dots.back() == static_cast<int>(host.size()))
        dots.pop_back();
    // After labelCount steps to the left, k is the dot before the one reached.
    const long long steps = labelCount > 0 ? labelCount : 0;
    const long long index = static_cast<long long>(dots.size()) - steps - 1;
    if (index < 0)
        return host;
    const int k = dots[static_cast<std::size_t>(index)];
    if (rootOnly)
        return host.substr(static_cast<std::size_t>(k));
    if (index == 0)
        return host;
    const int k2 = dots[static_cast<std::size_t>(index - 1)];
    return host.substr(static_cast<std::size_t>(k2));
}

// The host part when no labelCount is given: between the scheme and the next "/".
Text HostAfterScheme(const Text& url, bool rootOnly) {
    Text text = LowerAscii(url);
    if (!Equal(Right(text, 1), "/"))
        text += "/";
    Text host;
    if (Equal(Left(text, 8), "https://")) {
        host = TextBetween(text, "https://", "/");
    } else {
        if (Search(text, "http://") < 0)
            text = "http://" + text;
        host = TextBetween(text, "http://", "/");
    }
    if (rootOnly) {
        const std::vector<Text> labels = Split(host, ".");
        if (labels.size() > 1)
            host = labels[labels.size() - 2] + "." + labels[labels.size() - 1];
    }
    return host;
}

// 1-based position in url where the host part of HostAfterScheme begins: after a leading
// "https://", else after the first "http://", else at the first byte (the scheme was
// supplied).
int HostStart(const Text& url) {
    const Text text = LowerAscii(url);
    if (Equal(Left(text, 8), "https://"))
        return 9;
    const int scheme = Search(text, "http://");
    return scheme > 0 ? scheme + 7 : 1;
}

} // namespace

Text UrlHost(const Text& url, bool rootOnly, bool keepPort, std::optional<int> labelCount) {
    const Text host =
        labelCount ? HostByLabels(url, rootOnly, *labelCount) : HostAfterScheme(url, rootOnly);
    if (keepPort)
        return host;
    const int colon = Search(host, ":");
    return colon > 0 ? Left(host, colon - 1) : host;
}

int UrlPort(const Text& url) {
    const Text host = UrlHost(url, false, true);
    int lastColon = -1;
    for (int at = Search(host, ":"); at > 0; at = Search(host, ":", at + 1))
        lastColon = at;
    if (lastColon < 0)
        return Equal(Left(LowerAscii(url), 5), "https") ? 443 : 80;
    // The leading decimal digits after the colon; a number too large for an int stays at
    // the largest one instead of overflowing.
    int port = 0;
    for (std::size_t i = static_cast<std::size_t>(lastColon); i < host.size(); ++i) {
        const char c = host[i];
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        port = port > (INT_MAX - digit) / 10 ? INT_MAX : port * 10 + digit;
    }
    return port;
}

Text UrlPath(const Text& url) {
    const Text host = UrlHost(url);
    // The host is looked for from where UrlHost cut it out, just after the scheme: from the
    // first byte, a host such as "h" or "s" would be found inside the scheme itself and the
    // scheme's slashes would become part of the path.
    const int from = HostStart(url);
    const int found = host.empty() ? -1 : Search(url, host, from, true);
    const int at = found > 0 ? found : from;
    const int slash = Search(url, "/", at);
    return slash > 0 ? url.substr(static_cast<std::size_t>(slash) - 1) : Text("/");
}

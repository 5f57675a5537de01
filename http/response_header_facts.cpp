#include "http/response_header_facts.h"

#include "http/cookie_text.h"
#include "text/text_ops.h"

#include <vector>

namespace {

Text StatusTextOf(const Text& headers) {
    int p = Search(headers, "\r\n", 10);
    if (p == -1)
        return Text();
    return Substring(headers, 10, p - 9);
}

// The name=value part of a line that holds "Set-Cookie": up to the first ";" after
// "Set-Cookie:" when the line has a ";", otherwise the whole line without the marker.
Text CookieItemOf(const Text& line) {
    Text item;
    if (Search(line, ";") != -1)
        item = TextBetween(line, "Set-Cookie:", ";");
    else
        item = Replace(line, "Set-Cookie:", "", true);
    return Trim(item);
}

bool StartsWithLocation(const Text& line) {
    return LowerAscii(Left(line, 10)) == "location: ";
}

} // namespace

ResponseHeaderFacts ParseResponseHeaders(const Text& rawHeaders,
                                         const std::function<void()>& afterEachLine) {
    ResponseHeaderFacts facts;
    facts.statusText = StatusTextOf(rawHeaders);
    facts.headers = Replace(rawHeaders, "Set-Cookie", "Set-Cookie", true);

    const std::vector<Text> lines = Split(facts.headers, "\r\n");
    for (const Text& line : lines) {
        if (Search(line, "Set-Cookie") != -1) {
            facts.receivedCookies += CookieItemOf(line);
            facts.receivedCookies += "; ";
        }
        if (StartsWithLocation(line)) {
            facts.hasRedirectTarget = true;
            facts.redirectTarget = Substring(line, 11, static_cast<int>(line.size()) - 10);
        }
        if (afterEachLine)
            afterEachLine();
    }
    if (!facts.receivedCookies.empty())
        facts.receivedCookies.resize(facts.receivedCookies.size() - 2);
    return facts;
}

// What the WinHTTP request takes out of a raw response header block (CR LF line ends, status
// line first): the status text, the block with "Set-Cookie" spelt one way, the cookie items
// the response sets and the last redirect target. Portable.
#pragma once

#include "text/text.h"

#include <functional>

struct ResponseHeaderFacts {
    // The block with every "Set-Cookie", in any letter case, spelt "Set-Cookie".
    Text headers;
    // From the 10th byte of the block up to and including the CR that ends the status line
    // ("200 OK\r" for "HTTP/1.1 200 OK"); empty when no CR LF follows byte 10.
    Text statusText;
    // The name=value part of every cookie-setting line, trimmed, joined by "; ".
    Text receivedCookies;
    // The rest of the last line that starts with "Location: " (any letter case).
    bool hasRedirectTarget = false;
    Text redirectTarget;
};

// afterEachLine, when set, runs once after each line of the block has been looked at.
ResponseHeaderFacts ParseResponseHeaders(const Text& rawHeaders,
                                         const std::function<void()>& afterEachLine = {});

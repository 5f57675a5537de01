#include "http/request_header_block.h"

#include "text/text_ops.h"

namespace {

struct DefaultLine {
    const char* marker;
    bool ignoreCase;
    const char* line;
};

// The marker is looked for anywhere in the block built so far, so a caller's line that
// merely contains it (a Set-Cookie line contains "Cookie: ") also suppresses the default.
// Content-Type is matched exactly and without the blank, so "content-type: x" in lower
// case does not suppress it but "Content-Type:x" does.
constexpr DefaultLine kDefaultLines[] = {
    {"User-Agent: ", true,
     "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
    {"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*"},
    {"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312"},
    {"Accept-Language: ", true, "Accept-Language: zh-cn"},
    {"Content-Type:", false, "Content-Type: application/x-www-form-urlencoded"},
    {"Cache-Control: ", true, "Cache-Control: no-cache"},
};

bool Holds(const Text& block, const char* marker, bool ignoreCase) {
    return Search(block, marker, 1, ignoreCase) != -1;
}

} // namespace

Text BuildRequestHeaderBlock(const Text& extraHeaders, const Text* cookies) {
    Text block;
    if (!extraHeaders.empty())
        block = extraHeaders + "\r\n";
    for (const DefaultLine& d : kDefaultLines) {
        if (!Holds(block, d.marker, d.ignoreCase)) {
            block += d.line;
            block += "\r\n";
        }
    }
    if (cookies && !cookies->empty() && !Holds(block, "Cookie: ", true))
        block += "Cookie: " + *cookies + "\r\n";
    return block;
}
